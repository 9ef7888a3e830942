// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The least and greatest values of some figures over a box of inputs, for
// figures that need not be monotone inside it.
//
// Method, in rounds whose points are evaluated together (so that a caller can
// spread each round over threads):
//   1. the caller's seed points, every corner of the box and `SamplesPerEdge`
//      evenly spaced points inside every edge (an edge: one axis varies, the
//      others sit at an end of theirs);
//   2. for each wanted extreme, a coordinate search from the best of those
//      points: a step of half the sample spacing is tried both ways along
//      every axis that varies (clipped to the box); the search moves to the
//      best trial that beats the current point and keeps its step, or else
//      halves every step, until every step is below `SmallestStep` of its axis.
// What it guarantees: the value returned was computed at the point returned,
// and is at least as good as every seed, corner and edge sample. A figure
// that is monotone along every axis has its extreme at a corner and gets it
// exactly; one that turns inside the box (a range over the launch angle around
// the farthest-reaching angle) is found to within the smallest step when it
// has one turn per axis near the best sample. Two separate peaks closer than
// the sample spacing can hide one another.
//
// A NaN figure never counts as an extreme; an extreme whose every value was
// NaN stays NaN, and the search says that some value was NaN.
#include "ballistics/core/Real.h"

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

namespace korvo {

inline constexpr std::size_t kBoxAxes = 4;
using BoxPoint = std::array<Real, kBoxAxes>;

// An axis varies from Lo to Hi; one with Hi == Lo does not vary.
struct Box {
    BoxPoint Lo{}, Hi{};
};

struct BoxGoal {
    std::size_t Figure = 0;
    bool Maximum = false;
};

struct BoxExtreme {
    BoxPoint Point{};
    Real Value = 0;
};

struct BoxSearchSettings {
    int SamplesPerEdge = 3;
    Real SmallestStep = 1.0L / 65536; // of each axis's width
};

struct BoxSearchResult {
    std::vector<BoxExtreme> Extremes;          // one per goal, in the goals' order
    std::vector<std::vector<Real>> SeedValues; // the figures at each seed
    bool SomeUndefined = false;                // some figure somewhere was NaN
};

// Evaluates a round's points, returning each point's figures (as many for every
// point). It must give the same figures for the same point every time.
using BoxRound = std::function<std::vector<std::vector<Real>>(const std::vector<BoxPoint>&)>;
// Told after every round how far the search has come, from 0 to 1.
using BoxProgress = std::function<void(Real fraction)>;

BoxSearchResult SearchBox(const Box& box, const std::vector<BoxPoint>& seeds,
                          const std::vector<BoxGoal>& goals, const BoxSearchSettings& settings,
                          const BoxRound& evaluate, const BoxProgress& progress);

// Whether `value` beats `than` towards the maximum (or the minimum): a NaN never
// beats, and anything else beats a NaN.
bool Beats(Real value, Real than, bool maximum);

} // namespace korvo
