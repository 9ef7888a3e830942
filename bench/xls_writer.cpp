// SPDX-License-Identifier: GPL-3.0-or-later

// Benchmarks of the workbook writer. Peak memory is the resident high-water mark of an iteration (reset
// through /proc/self/clear_refs before it) above the resident size before the first iteration, reported
// beside the stream size.
#include "xls/SstStrings.h"
#include "xls/WorkbookGlobals.h"
#include "xls/WorksheetRecords.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// kB from a line of /proc/self/status such as "VmHWM:   1234 kB".
double StatusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(field, 0) == 0) {
            return std::stod(line.substr(line.find(':') + 1));
        }
    }
    return 0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

class TNoStyles : public korvo::TxlsStyleRecordSource {
    void SaveFontRecords(korvo::TByteStream&) const override {}
    void SaveFormatRecords(korvo::TByteStream&) const override {}
    void SaveCellFormatRecords(korvo::TByteStream&) const override {}
};

// A whole workbook of number cells (18 bytes each) up to 20 MB of stream, from opening to the renamed
// file: records written, DIMENSIONS patched, the globals block inserted, the compound file written.
void BM_TwentyMegabyteStreamToFile(benchmark::State& state) {
    const auto target = std::filesystem::temp_directory_path() / "korvo-bench-20mb.xls";
    constexpr std::size_t kStreamSize = 20'000'000;
    constexpr int kColumns = 18;
    double peakMb = 0;
    double streamMb = 0;
    const double before = StatusKb("VmRSS");
    for (auto _ : state) {
        ResetPeak();
        korvo::TWorkbookWriter w;
        w.OpenWorkbookFile(target.string());
        korvo::BeginWorkbook(w);
        korvo::TxlsSheetSetup sheet;
        sheet.ColumnWidths.assign(kColumns, 10);
        korvo::BeginSheet(w, sheet);
        for (std::int32_t row = 0; w.Position() < kStreamSize; ++row) {
            for (std::int32_t col = 0; col < kColumns; ++col) {
                korvo::UpdateUsedRange(w, row, col);
                korvo::WriteNumberCell(w, row, col, row * 0.01 + col, 15);
            }
        }
        korvo::EndSheet(w);
        korvo::EndWorkbook(w, TNoStyles(), korvo::kDefaultPalette);
        streamMb = static_cast<double>(w.Stream().Size()) / 1e6;
        w.CloseWorkbookFile();
        peakMb = (StatusKb("VmHWM") - before) / 1e3;
    }
    state.counters["stream_MB"] = streamMb;
    state.counters["peak_MB"] = peakMb;
    state.counters["peak_per_stream"] = peakMb / streamMb;
    std::filesystem::remove(target);
}
BENCHMARK(BM_TwentyMegabyteStreamToFile)->Unit(benchmark::kMillisecond);

// 650,000 distinct short texts, like the cells of a 65,535-row trajectory table, added and written.
void BM_SharedStrings650k(benchmark::State& state) {
    std::vector<std::string> texts;
    texts.reserve(650'000);
    for (int i = 0; i < 650'000; ++i) {
        texts.push_back(std::to_string(i / 10) + "." + std::to_string(1000 + i % 1000));
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        korvo::TsstStrings sst;
        for (const std::string& t : texts) {
            benchmark::DoNotOptimize(sst.AddString(t));
        }
        korvo::TByteStream out;
        sst.SaveToStream(out);
        bytes = out.Size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["sst_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SharedStrings650k)->Unit(benchmark::kMillisecond);

// The writer's share of the largest export: 65,535 rows of ten short, mostly distinct texts (about
// 650,000 shared strings) and a caption row, from opening to the renamed file. The texts are made
// beforehand; the export engine's own work is not included.
void BM_TrajectoryWorkbook65535Rows(benchmark::State& state) {
    const auto target = std::filesystem::temp_directory_path() / "korvo-bench-trajectory.xls";
    constexpr int kRows = 65535;
    constexpr int kColumns = 10;
    std::vector<std::string> texts;
    texts.reserve(std::size_t{kRows} * kColumns);
    for (int r = 1; r <= kRows; ++r) {
        texts.push_back(std::to_string(r));
        for (int c = 1; c < kColumns; ++c) {
            texts.push_back(std::to_string(r * (c + 3) / 7) + "." +
                            std::to_string(100 + (r * 37 + c * 11) % 900));
        }
    }
    double peakMb = 0;
    const double before = StatusKb("VmRSS");
    for (auto _ : state) {
        ResetPeak();
        korvo::TWorkbookWriter w;
        w.OpenWorkbookFile(target.string());
        korvo::BeginWorkbook(w);
        korvo::TxlsSheetSetup sheet;
        sheet.Title = "Trayectoria";
        sheet.ColumnWidths.assign(kColumns, 10);
        korvo::BeginSheet(w, sheet);
        for (int c = 0; c < kColumns; ++c) {
            korvo::UpdateUsedRange(w, 0, c);
            korvo::WriteTextCell(w, 0, c, "Caption " + std::to_string(c), 22);
        }
        std::size_t k = 0;
        for (int r = 1; r <= kRows; ++r) {
            for (int c = 0; c < kColumns; ++c) {
                korvo::UpdateUsedRange(w, r, c);
                korvo::WriteTextCell(w, r, c, texts[k++], 21);
            }
        }
        korvo::EndSheet(w);
        korvo::EndWorkbook(w, TNoStyles(), korvo::kDefaultPalette);
        w.CloseWorkbookFile();
        peakMb = (StatusKb("VmHWM") - before) / 1e3;
    }
    state.counters["peak_MB"] = peakMb;
    state.counters["file_MB"] = static_cast<double>(std::filesystem::file_size(target)) / 1e6;
    std::filesystem::remove(target);
}
BENCHMARK(BM_TrajectoryWorkbook65535Rows)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
