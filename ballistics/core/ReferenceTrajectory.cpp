// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/ReferenceTrajectory.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/StepKernel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace korvo {
namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();

// The state (x, y, vx, vy) and its derivative.
using State = std::array<Real, 4>;
enum Component { kX, kY, kVx, kVy };

struct Equations {
    Real q, vo, g;
    DragLaw ley;
    State operator()(const State& s) const {
        const Real speed = ley == DragLaw::Quadratic ? std::sqrt(s[kVx] * s[kVx] + s[kVy] * s[kVy]) : vo;
        return {s[kVx], s[kVy], -q * speed * s[kVx], -g - q * speed * s[kVy]};
    }
};

// The Dormand-Prince 5(4) coefficients (the equations do not depend on the
// time, so the nodes c are not needed): the stages' weights a,
// the fifth-order weights (the last row of a), the error weights (fifth minus
// fourth order) and the continuous extension's weights d.
constexpr Real a21 = 1.0L / 5;
constexpr Real a31 = 3.0L / 40, a32 = 9.0L / 40;
constexpr Real a41 = 44.0L / 45, a42 = -56.0L / 15, a43 = 32.0L / 9;
constexpr Real a51 = 19372.0L / 6561, a52 = -25360.0L / 2187, a53 = 64448.0L / 6561, a54 = -212.0L / 729;
constexpr Real a61 = 9017.0L / 3168, a62 = -355.0L / 33, a63 = 46732.0L / 5247, a64 = 49.0L / 176,
               a65 = -5103.0L / 18656;
constexpr Real a71 = 35.0L / 384, a73 = 500.0L / 1113, a74 = 125.0L / 192, a75 = -2187.0L / 6784,
               a76 = 11.0L / 84;
constexpr Real e1 = 71.0L / 57600, e3 = -71.0L / 16695, e4 = 71.0L / 1920, e5 = -17253.0L / 339200,
               e6 = 22.0L / 525, e7 = -1.0L / 40;
constexpr Real d1 = -12715105075.0L / 11282082432, d3 = 87487479700.0L / 32700410799,
               d4 = -10690763975.0L / 1880347072, d5 = 701980252875.0L / 199316789632,
               d6 = -1453857185.0L / 822651844, d7 = 69997945.0L / 29380423;

// y + h x sum of w_i k_i over the given stages.
template <std::size_t N>
State Combine(const State& y, Real h, const std::array<Real, N>& w, const std::array<const State*, N>& k) {
    State out = y;
    for (std::size_t c = 0; c < 4; ++c) {
        Real sum = 0;
        for (std::size_t i = 0; i < N; ++i)
            sum += w[i] * (*k[i])[c];
        out[c] += h * sum;
    }
    return out;
}

// One step from y over h: the fifth-order end, its derivative, the error
// estimate and what the continuous extension needs.
struct Step {
    State end, endSlope, error;
    std::array<State, 5> dense; // the extension's coefficients, per component
};

Step TakeStep(const Equations& f, const State& y, const State& k1, Real h) {
    const State k2 = f(Combine<1>(y, h, {a21}, {&k1}));
    const State k3 = f(Combine<2>(y, h, {a31, a32}, {&k1, &k2}));
    const State k4 = f(Combine<3>(y, h, {a41, a42, a43}, {&k1, &k2, &k3}));
    const State k5 = f(Combine<4>(y, h, {a51, a52, a53, a54}, {&k1, &k2, &k3, &k4}));
    const State k6 = f(Combine<5>(y, h, {a61, a62, a63, a64, a65}, {&k1, &k2, &k3, &k4, &k5}));
    Step s;
    s.end = Combine<5>(y, h, {a71, a73, a74, a75, a76}, {&k1, &k3, &k4, &k5, &k6});
    s.endSlope = f(s.end);
    const State& k7 = s.endSlope;
    s.error = Combine<6>(State{}, h, {e1, e3, e4, e5, e6, e7}, {&k1, &k3, &k4, &k5, &k6, &k7});
    for (std::size_t c = 0; c < 4; ++c) {
        const Real difference = s.end[c] - y[c];
        const Real slopeStart = h * k1[c] - difference;
        s.dense[0][c] = y[c];
        s.dense[1][c] = difference;
        s.dense[2][c] = slopeStart;
        s.dense[3][c] = difference - h * k7[c] - slopeStart;
        s.dense[4][c] = h * (d1 * k1[c] + d3 * k3[c] + d4 * k4[c] + d5 * k5[c] + d6 * k6[c] + d7 * k7[c]);
    }
    return s;
}

// The continuous extension of component c at the fraction theta of the step.
Real Dense(const Step& s, std::size_t c, Real theta) {
    const Real rest = 1 - theta;
    return s.dense[0][c] +
           theta * (s.dense[1][c] + rest * (s.dense[2][c] + theta * (s.dense[3][c] + rest * s.dense[4][c])));
}

// The fraction, from `from` on, where component c comes down to `target`
// within the step, given that it is above at `from` and at or below at the
// end: bisection, until the fraction no longer changes.
Real FractionWhereFallsTo(const Step& s, std::size_t c, Real target, Real from) {
    Real lo = from, hi = 1;
    for (int i = 0; i < 100; ++i) {
        const Real mid = lo + (hi - lo) / 2;
        if (mid == lo || mid == hi)
            break;
        (Dense(s, c, mid) > target ? lo : hi) = mid;
    }
    return lo + (hi - lo) / 2;
}

Real ErrorNorm(const Step& s, const State& y) {
    Real sum = 0;
    for (std::size_t c = 0; c < 4; ++c) {
        const Real scale = kReferenceTolerance * (1 + std::max(std::fabs(y[c]), std::fabs(s.end[c])));
        const Real ratio = s.error[c] / scale;
        sum += ratio * ratio;
    }
    return std::sqrt(sum / 4);
}

Real AngleBelowHorizontal(Real vx, Real vy) {
    return (std::atan2(-vy, std::fabs(vx)) * 180) / kPi;
}

ReferenceFigures NotANumber(std::int32_t pasos) {
    return {kNaN, kNaN, kNaN, kNaN, kNaN, kNaN, pasos};
}

} // namespace

ReferenceFigures ReferenceSolution(const ReferenceInputs& in) {
    if (!(in.D >= 0 && in.M > 0 && std::isfinite(in.D) && std::isfinite(in.M) && std::isfinite(in.Vo) &&
          std::isfinite(in.AnguloGrados) && std::isfinite(in.AlturaLanzamiento)))
        return NotANumber(0);
    const Equations f{in.D / in.M, in.Vo, kGravity, in.Ley};
    const Real radianes = DegreesToRadians(in.AnguloGrados);
    State y{0, 0, in.Vo * std::cos(radianes), in.Vo * std::sin(radianes)};
    const Real level = -in.AlturaLanzamiento;

    ReferenceFigures r;
    // A launch from the landing ground that does not rise lands at once.
    if (level == 0 && !(y[kVy] > 0))
        return {
            0, 0, 0, 0, std::sqrt(y[kVx] * y[kVx] + y[kVy] * y[kVy]), AngleBelowHorizontal(y[kVx], y[kVy]),
            0};
    // The height rises to the apex and then only falls (a falling speed above
    // the terminal one slows, but stays downward), so the crossing is the one
    // point after the apex where it comes down to the level.
    bool apexFound = !(y[kVy] > 0);

    State k1 = f(y);
    Real t = 0;
    // A first step of a millisecond: the control corrects it within a few steps.
    Real h = 1e-3L;
    while (r.Pasos < kMostReferenceSteps) {
        const Step s = TakeStep(f, y, k1, h);
        const Real err = ErrorNorm(s, y);
        if (!std::isfinite(err))
            return NotANumber(r.Pasos);
        const Real factor = err == 0 ? 5 : std::clamp(0.9L * std::pow(err, -0.2L), 0.2L, 5.0L);
        if (err > 1) {
            h *= std::min(factor, 1.0L);
            if (!(h > 1e-15L * (1 + t)))
                return NotANumber(r.Pasos);
            continue;
        }
        ++r.Pasos;
        Real from = 0;
        Real heightFrom = y[kY];
        if (!apexFound && !(s.end[kVy] > 0)) {
            from = FractionWhereFallsTo(s, kVy, 0, 0);
            r.TiempoApice = t + from * h;
            r.AlturaMaxima = heightFrom = Dense(s, kY, from);
            apexFound = true;
        }
        if (apexFound) {
            if (!(heightFrom > level))
                return {r.TiempoApice, r.AlturaMaxima, kNaN, kNaN, kNaN, kNaN, r.Pasos};
            if (s.end[kY] <= level) {
                const Real theta = FractionWhereFallsTo(s, kY, level, from);
                const Real vx = Dense(s, kVx, theta);
                const Real vy = Dense(s, kVy, theta);
                r.TiempoVuelo = t + theta * h;
                r.Alcance = Dense(s, kX, theta);
                r.VelocidadImpacto = std::sqrt(vx * vx + vy * vy);
                r.AnguloImpacto = AngleBelowHorizontal(vx, vy);
                return r;
            }
        }
        t += h;
        y = s.end;
        k1 = s.endSlope;
        h *= factor;
    }
    return NotANumber(r.Pasos);
}

} // namespace korvo
