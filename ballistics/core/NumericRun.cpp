// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/NumericRun.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/RunChecks.h"
#include "ballistics/core/StepKernel.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace korvo {
namespace {

// The values the time display reads back after steps n - 1 and n of T from 0,
// each the sum before it plus T cut to 15 significant digits. When T reads
// back as its own decimal delta of at most 15 digits (0.01, 0.005, 1E-9),
// the display after m steps reads exactly m x delta while that has at most 15
// digits: the sum of the two values errs by at most 1.5 units in the last
// place of the extended format, below half a unit of the 18th decimal digit,
// so the 18-digit reduction gives m x delta itself. Any other T is summed and
// cut step by step.
std::pair<Real, Real> DisplayedTimes(Real t, std::int32_t n) {
    GeneralTextCutter cut;
    if (const auto delta = cut.ShortDecimalOf(t)) {
        const Real units = static_cast<Real>(delta->Units);
        if (static_cast<Real>(n) * units < 1e15L)
            return {(static_cast<Real>(n - 1) * units) / delta->Scale,
                    (static_cast<Real>(n) * units) / delta->Scale};
    }
    Real before = 0, after = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        before = after;
        after = cut(after + t);
    }
    return {before, after};
}

} // namespace

NumericRunResult RunNumeric(const NumericRunInputs& in, std::int32_t mostSteps) {
    if (in.D < 0)
        throw std::runtime_error(kDNegativo);
    if (in.M < 0)
        throw std::runtime_error(kMNegativo);
    CheckRunInputs(in.D, in.T, in.M, in.Vo);
    const Real radianes = DegreesToRadians(in.AnguloGrados);
    const StepInputs inputs{in.D, in.M, kGravity, in.Vo, in.T, in.Ley};
    const Real level = -in.AlturaLanzamiento;

    Motion motion{in.Vo * std::cos(radianes), in.Vo * std::sin(radianes), 0, 0};
    Motion before;
    Real hmax = 0;
    std::int32_t steps = 0;
    const auto step = [&] {
        before = motion;
        AdvanceStep(inputs, motion);
        if (motion.Y > hmax)
            hmax = motion.Y;
        ++steps;
    };
    // A shot uphill starts below the level: it can come down to it only once
    // it has been above.
    bool climbed = !(level > 0);
    // Whether the run is down: no longer a finite height above the level (for
    // a shot uphill that has never been above it, once it no longer rises).
    constexpr Real kInfinity = std::numeric_limits<Real>::infinity();
    const auto down = [&] {
        if (motion.Y > level && motion.Y < kInfinity) {
            climbed = true;
            return false;
        }
        return climbed || !(motion.Vy > 0);
    };
    step();
    climbed = climbed || motion.Y > level;
    bool landed = false;
    do {
        step();
        landed = down();
    } while (!landed && steps < mostSteps);

    NumericRunResult r;
    r.Iteraciones = steps;
    r.Hmax = hmax;
    const auto [tBefore, tLast] = DisplayedTimes(in.T, steps);
    r.Anterior = {tBefore, before.X, before.Y, before.Vx, before.Vy};
    r.Ultimo = {tLast, motion.X, motion.Y, motion.Vx, motion.Vy};
    r.Landed = landed;
    r.Cruce = InterpolateImpact(r.Anterior, r.Ultimo, level);
    return r;
}

} // namespace korvo
