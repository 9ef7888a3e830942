#include "ballistics/core/StandInFigures.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/RealTrajectory.h"

#include <algorithm>
#include <cmath>

namespace korvo {

CaseFigures LinearStandInFigures(const CaseInputs& in) {
    const Real g = 9.81L, half = 0.5L, dt = in.T;
    const Real rate = (in.D / in.M) * in.Vo;
    const Real radians = DegreesToRadians(in.Angulo);
    Real vx = in.Vo * std::cos(radians), vy = in.Vo * std::sin(radians);
    Real x = 0, y = 0, xPrev = 0, yPrev = 0, hmax = 0;
    std::int32_t steps = 0;
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
    } while (y > -in.H && steps < kMostTrajectorySteps);
    const Real share = (yPrev + in.H) / (yPrev - y);
    return {(steps - 1 + share) * dt, hmax, xPrev + share * (x - xPrev), std::sqrt(vx * vx + vy * vy),
            std::atan2(-vy, vx) * 180 / kPi};
}

} // namespace korvo
