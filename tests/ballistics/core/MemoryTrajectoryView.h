// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real-trajectory window's fields, table and chart kept in memory, so that
// the integrator runs without any window.
#include "ballistics/core/RealTrajectory.h"

#include <map>
#include <utility>
#include <vector>

namespace korvo::test {

class MemoryTrajectoryView : public TrajectoryView {
public:
    // The window's texts at its first showing.
    MemoryTrajectoryView() {
        for (auto& [field, text] : DefaultTrajectoryTexts())
            texts[field] = text;
    }
    std::string Text(TrajectoryField field) const override { return texts.at(field); }
    void SetText(TrajectoryField field, const std::string& text) override { texts[field] = text; }
    void AppendRow(const std::array<std::string, 10>& row) override { rows.push_back(row); }
    void AddChartPoint(double x, double y) override { points.emplace_back(x, y); }

    std::map<TrajectoryField, std::string> texts;
    std::vector<std::array<std::string, 10>> rows;
    std::vector<std::pair<double, double>> points;
};

// Keeps only the latest row and no chart point, so that memory stays flat
// however many steps run.
class LatestRowView : public MemoryTrajectoryView {
public:
    void AppendRow(const std::array<std::string, 10>& row) override { latest = row; }
    void AddChartPoint(double, double) override {}
    std::array<std::string, 10> latest;
};

} // namespace korvo::test
