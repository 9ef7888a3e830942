#pragma once
// A trajectory stepped the way the real-trajectory run steps it (linear drag
// with the launch speed as its factor, velocities then displacements with the
// end-of-step velocities, the first step always taken), straight from numbers,
// to plug into the case analysis where a test or a benchmark needs the
// stepped run's small ripples and cost. It ends where the height falls to
// minus the launch height H, the crossing interpolated between the last two
// steps; the impact speed and angle are those of the last step's velocity.
#include "ballistics/core/CaseAnalysis.h"

#include <algorithm>
#include <cmath>

namespace korvo::test {

inline CaseFigures SteppedLinearDrag(const CaseInputs& in) {
    const Real g = 9.81L, half = 0.5L, dt = in.T;
    const Real rate = (in.D / in.M) * in.Vo;
    const Real radians = (in.Angulo * 3.1415926535897932384626L) / 180;
    Real vx = in.Vo * std::cos(radians), vy = in.Vo * std::sin(radians);
    Real x = 0, y = 0, xPrev = 0, yPrev = 0, hmax = 0;
    long steps = 0;
    do {
        const Real ax = -rate * vx, ay = -g - rate * vy;
        vx += ax * dt;
        vy += ay * dt;
        xPrev = x;
        yPrev = y;
        x += dt * dt * (half * ax) + vx * dt;
        y += dt * dt * (half * ay) + vy * dt;
        hmax = std::max(hmax, y);
        ++steps;
    } while (y > -in.H && steps < 2000000);
    const Real share = (yPrev + in.H) / (yPrev - y);
    CaseFigures f;
    f.TiempoVuelo = (steps - 1 + share) * dt;
    f.AlturaMaxima = hmax;
    f.Alcance = xPrev + share * (x - xPrev);
    f.VelocidadImpacto = std::sqrt(vx * vx + vy * vy);
    f.AnguloImpacto = std::atan2(-vy, vx) * 180 / 3.1415926535897932384626L;
    return f;
}

} // namespace korvo::test
