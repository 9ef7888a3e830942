// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/BoxSearch.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace korvo {
namespace {

// A search that has not settled after this many rounds stops where it is: a
// strict improvement at every move cannot cycle, so only a figure that keeps
// improving by ever smaller amounts would get here.
constexpr int kMostRounds = 2000;

// The figures of every point evaluated so far, so that a point two searches
// share, or a search comes back to, is computed once.
class PointValues {
public:
    PointValues(const BoxRound& evaluate, bool& someUndefined)
        : evaluate_(evaluate), undefined_(someUndefined) {}

    void Ensure(const std::vector<BoxPoint>& points) {
        std::vector<BoxPoint> missing;
        std::set<BoxPoint> asked;
        for (const BoxPoint& point : points)
            if (!values_.contains(point) && asked.insert(point).second)
                missing.push_back(point);
        if (missing.empty())
            return;
        const std::vector<std::vector<Real>> figures = evaluate_(missing);
        for (std::size_t i = 0; i < missing.size(); ++i) {
            for (Real value : figures[i])
                undefined_ = undefined_ || std::isnan(value);
            values_.emplace(missing[i], figures[i]);
        }
    }

    Real At(const BoxPoint& point, std::size_t figure) const { return values_.at(point)[figure]; }
    const std::vector<Real>& At(const BoxPoint& point) const { return values_.at(point); }

private:
    const BoxRound& evaluate_;
    bool& undefined_;
    std::map<BoxPoint, std::vector<Real>> values_;
};

std::vector<std::size_t> VaryingAxes(const Box& box) {
    std::vector<std::size_t> axes;
    for (std::size_t a = 0; a < kBoxAxes; ++a)
        if (box.Hi[a] > box.Lo[a])
            axes.push_back(a);
    return axes;
}

// The corners, then the samples inside every edge, axis by axis.
std::vector<BoxPoint> SamplePoints(const Box& box, const std::vector<std::size_t>& axes, int samplesPerEdge) {
    std::vector<BoxPoint> points;
    const std::size_t corners = std::size_t{1} << axes.size();
    const auto corner = [&](std::size_t mask) {
        BoxPoint point = box.Lo;
        for (std::size_t i = 0; i < axes.size(); ++i)
            point[axes[i]] = (mask >> i) & 1 ? box.Hi[axes[i]] : box.Lo[axes[i]];
        return point;
    };
    for (std::size_t mask = 0; mask < corners; ++mask)
        points.push_back(corner(mask));
    for (std::size_t i = 0; i < axes.size(); ++i) {
        const std::size_t a = axes[i];
        for (std::size_t mask = 0; mask < corners; ++mask) {
            if ((mask >> i) & 1)
                continue;
            for (int j = 1; j <= samplesPerEdge; ++j) {
                BoxPoint point = corner(mask);
                point[a] = box.Lo[a] + (box.Hi[a] - box.Lo[a]) * j / (samplesPerEdge + 1);
                points.push_back(point);
            }
        }
    }
    return points;
}

struct Walk {
    BoxPoint At{};
    Real Value = 0;
    BoxPoint Step{};
    int Halvings = 0;
    bool Settled = false;
};

} // namespace

bool Beats(Real value, Real than, bool maximum) {
    if (std::isnan(value))
        return false;
    if (std::isnan(than))
        return true;
    return maximum ? value > than : value < than;
}

BoxSearchResult SearchBox(const Box& box, const std::vector<BoxPoint>& seeds,
                          const std::vector<BoxGoal>& goals, const BoxSearchSettings& settings,
                          const BoxRound& evaluate, const BoxProgress& progress) {
    BoxSearchResult result;
    PointValues values(evaluate, result.SomeUndefined);
    const std::vector<std::size_t> axes = VaryingAxes(box);

    std::vector<BoxPoint> samples = seeds;
    const std::vector<BoxPoint> grid = SamplePoints(box, axes, settings.SamplesPerEdge);
    samples.insert(samples.end(), grid.begin(), grid.end());
    values.Ensure(samples);
    for (const BoxPoint& seed : seeds)
        result.SeedValues.push_back(values.At(seed));

    // Every halving from the first step to the smallest, the same for every axis.
    const int halvings = std::max(1, static_cast<int>(std::ceil(std::log2(
                                         1 / (2 * (settings.SamplesPerEdge + 1) * settings.SmallestStep)))));
    std::vector<Walk> walks;
    for (const BoxGoal& goal : goals) {
        Walk walk;
        walk.At = samples.front();
        walk.Value = values.At(walk.At, goal.Figure);
        for (const BoxPoint& point : samples)
            if (Beats(values.At(point, goal.Figure), walk.Value, goal.Maximum)) {
                walk.At = point;
                walk.Value = values.At(point, goal.Figure);
            }
        for (std::size_t a : axes)
            walk.Step[a] = (box.Hi[a] - box.Lo[a]) / (2 * (settings.SamplesPerEdge + 1));
        walk.Settled = axes.empty() || std::isnan(walk.Value);
        walks.push_back(walk);
    }
    const auto report = [&] {
        if (!progress)
            return;
        int least = halvings;
        for (const Walk& walk : walks)
            least = std::min(least, walk.Settled ? halvings : walk.Halvings);
        progress(static_cast<Real>(least) / halvings);
    };
    report();

    for (int round = 0; round < kMostRounds; ++round) {
        std::vector<std::vector<BoxPoint>> trials(walks.size());
        std::vector<BoxPoint> all;
        for (std::size_t w = 0; w < walks.size(); ++w) {
            if (walks[w].Settled)
                continue;
            for (std::size_t a : axes)
                for (Real sign : {-1.0L, 1.0L}) {
                    BoxPoint trial = walks[w].At;
                    trial[a] = std::clamp(trial[a] + sign * walks[w].Step[a], box.Lo[a], box.Hi[a]);
                    if (trial != walks[w].At) {
                        trials[w].push_back(trial);
                        all.push_back(trial);
                    }
                }
        }
        if (all.empty())
            break;
        values.Ensure(all);
        for (std::size_t w = 0; w < walks.size(); ++w) {
            Walk& walk = walks[w];
            if (walk.Settled)
                continue;
            const BoxGoal& goal = goals[w];
            bool moved = false;
            for (const BoxPoint& trial : trials[w])
                if (Beats(values.At(trial, goal.Figure), walk.Value, goal.Maximum)) {
                    walk.At = trial;
                    walk.Value = values.At(trial, goal.Figure);
                    moved = true;
                }
            if (moved)
                continue;
            ++walk.Halvings;
            walk.Settled = true;
            for (std::size_t a : axes) {
                walk.Step[a] /= 2;
                walk.Settled = walk.Settled && walk.Step[a] < (box.Hi[a] - box.Lo[a]) * settings.SmallestStep;
            }
        }
        report();
    }
    for (const Walk& walk : walks)
        result.Extremes.push_back({walk.At, walk.Value});
    if (progress)
        progress(1);
    return result;
}

} // namespace korvo
