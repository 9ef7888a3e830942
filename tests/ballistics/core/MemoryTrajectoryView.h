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
        using F = TrajectoryField;
        texts = {{F::D, "0.000016788592601"},
                 {F::T, "0.01"},
                 {F::M, "0.00745"},
                 {F::Vo, "340"},
                 {F::Angulo, "78"},
                 {F::X, "0"},
                 {F::Y, "0"},
                 {F::Vx, "0"},
                 {F::Vy, "0"},
                 {F::Ax, "0"},
                 {F::Ay, "0"},
                 {F::VFx, "0"},
                 {F::VFy, "0"},
                 {F::TiempoTotal, "0.0"}};
    }
    std::string Text(TrajectoryField field) const override { return texts.at(field); }
    void SetText(TrajectoryField field, const std::string& text) override { texts[field] = text; }
    void AppendRow(const std::array<std::string, 10>& row) override { rows.push_back(row); }
    void AddChartPoint(double x, double y) override { points.emplace_back(x, y); }

    std::map<TrajectoryField, std::string> texts;
    std::vector<std::array<std::string, 10>> rows;
    std::vector<std::pair<double, double>> points;
};

// Starts a run and steps it to its end, as the window's timer does.
inline void RunToEnd(RealTrajectory& run, TrajectoryView& view) {
    run.Start(view);
    do
        run.Calcular(view);
    while (run.GoesOn());
}

} // namespace korvo::test
