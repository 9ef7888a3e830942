// SPDX-License-Identifier: GPL-3.0-or-later

// The real-trajectory table's export from Execute to the finished file: the default run's 3,481 rows and
// the largest sheet, 65,535 rows of ten short, mostly distinct texts. Peak memory is reported as the
// process's resident high-water mark (run one size per process to read it for that size alone).
#include "export/TableExportXLS.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

class TTable : public korvo::IListViewSource {
public:
    explicit TTable(int rows) {
        for (int r = 0; r < rows; ++r) {
            std::vector<std::string> item{std::to_string(r + 1)};
            const double t = (r + 1) * 0.01;
            for (int k = 1; k < 10; ++k)
                item.push_back(std::to_string(t * k * 7.31).substr(0, 8));
            items_.push_back(std::move(item));
        }
    }
    int ColumnCount() const override { return 10; }
    std::string ColumnCaption(int c) const override {
        static const char* names[] = {"Iteración:", "T (seg)",   "X (m)",     "Y (m)",       "Ax (m/s)",
                                      "Ay (m/s)",   "Vfx (m/s)", "Vfy (m/s)", "Ec (Joules)", "Ec (kg·m2/s2)"};
        return names[c];
    }
    int ColumnWidth(int c) const override { return c == 0 ? 56 : c < 8 ? 65 : 80; }
    korvo::TListColumnAlign ColumnAlignment(int) const override { return korvo::TListColumnAlign::Left; }
    int ItemCount() const override { return static_cast<int>(items_.size()); }
    std::string ItemCaption(int i) const override { return items_[static_cast<std::size_t>(i)][0]; }
    int SubItemCount(int) const override { return 9; }
    std::string SubItem(int i, int k) const override {
        return items_[static_cast<std::size_t>(i)][static_cast<std::size_t>(k) + 1];
    }
    void SelectItem(int) override {}
    void BeginUpdate() override {}
    void EndUpdate() override {}

private:
    std::vector<std::vector<std::string>> items_;
};

void BM_ExportTable(benchmark::State& state) {
    TTable table(static_cast<int>(state.range(0)));
    const std::string file = (std::filesystem::temp_directory_path() / "korvo-bench-export.xls").string();
    korvo::TTableExportXLS x;
    x.ExportSource = korvo::esListView;
    x.ListView = &table;
    x.FileName = file;
    x.Options.SetSheetTitle("Trayectoria");
    for (auto _ : state)
        x.Execute();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(file)) / (1024.0 * 1024.0);
    std::filesystem::remove(file);
}
BENCHMARK(BM_ExportTable)->Arg(3481)->Arg(65535)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
