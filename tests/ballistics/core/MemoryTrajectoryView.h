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

} // namespace korvo::test
