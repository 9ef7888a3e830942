// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A list view held in memory for the export tests, and the real-trajectory table's columns.
#include "base/RegionalSettings.h"
#include "export/ListViewSource.h"

#include <string>
#include <utility>
#include <vector>

namespace korvo::test {

class TFakeListView : public IListViewSource {
public:
    struct Column {
        std::string Caption;
        int Width;
    };
    std::vector<Column> Columns;
    std::vector<std::vector<std::string>> Items; // caption first, then the sub-items
    int Selected = -1;
    int UpdateDepth = 0;
    int BeginCalls = 0;

    int ColumnCount() const override { return static_cast<int>(Columns.size()); }
    std::string ColumnCaption(int c) const override { return Columns[static_cast<std::size_t>(c)].Caption; }
    int ColumnWidth(int c) const override { return Columns[static_cast<std::size_t>(c)].Width; }
    TListColumnAlign ColumnAlignment(int) const override { return TListColumnAlign::Left; }
    int ItemCount() const override { return static_cast<int>(Items.size()); }
    std::string ItemCaption(int i) const override { return Items[static_cast<std::size_t>(i)].at(0); }
    int SubItemCount(int i) const override {
        return static_cast<int>(Items[static_cast<std::size_t>(i)].size()) - 1;
    }
    std::string SubItem(int i, int k) const override {
        return Items[static_cast<std::size_t>(i)].at(static_cast<std::size_t>(k) + 1);
    }
    void SelectItem(int i) override { Selected = i; }
    void BeginUpdate() override {
        ++UpdateDepth;
        ++BeginCalls;
    }
    void EndUpdate() override { --UpdateDepth; }
};

// The ten columns of the real-trajectory table at their design widths.
inline TFakeListView TrajectoryTable(int rows = 0) {
    TFakeListView list;
    list.Columns = {{"Iteración:", 56},  {"T (seg)", 65},      {"X (m)", 65},     {"Y (m)", 65},
                    {"Ax (m/s)", 65},    {"Ay (m/s)", 65},     {"Vfx (m/s)", 65}, {"Vfy (m/s)", 65},
                    {"Ec (Joules)", 80}, {"Ec (kg·m2/s2)", 80}};
    for (int r = 0; r < rows; ++r) {
        std::vector<std::string> item{std::to_string(r + 1)};
        for (int k = 1; k < 10; ++k)
            item.push_back(std::to_string(r) + "." + std::to_string(k * 7 % 10) + std::to_string(k));
        list.Items.push_back(std::move(item));
    }
    return list;
}

// Fixed regional settings for one test, the earlier ones put back afterwards.
class TFixedSettings {
public:
    explicit TFixedSettings(RegionalSettings s = RegionalSettings{}) : saved_(CurrentRegionalSettings()) {
        CurrentRegionalSettings() = std::move(s);
    }
    ~TFixedSettings() { CurrentRegionalSettings() = saved_; }

private:
    RegionalSettings saved_;
};

} // namespace korvo::test
