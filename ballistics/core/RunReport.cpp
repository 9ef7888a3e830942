// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/RunReport.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/Calculators.h"
#include "ballistics/core/Gravity.h"
#include "ballistics/core/GroundImpact.h"
#include "ballistics/core/ReferenceTrajectory.h"
#include "ballistics/core/StepKernel.h"

#include "ballistics/core/RunChecks.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvo {

namespace {

constexpr Real kNaN = std::numeric_limits<Real>::quiet_NaN();
constexpr Real kEpsilon = std::numeric_limits<Real>::epsilon();

// Below this argument the two differences below are summed as their series:
// computed directly they lose as many digits as the argument is small, since
// both terms are nearly equal. At 0.5 the series needs some 60 terms.
constexpr Real kSeriesBelow = 0.5L;

// The most terms of a series and the most steps of the root's search. The
// series need some 60 terms below kSeriesBelow and the bracketed search at most
// one bisection per bit of the 64-bit significand after its Newton steps, so
// the bound is never reached by a finite argument; it ends a NaN one, which no
// stop test ever meets.
constexpr int kMostIterations = 400;

// Sum of sign x term(n) for n = 2, 3, ... until the terms no longer count.
template <class Term> Real AlternatingSeries(Term term) {
    Real sum = 0;
    for (int n = 2; n < kMostIterations; ++n) {
        const Real t = term(n);
        sum += (n % 2 == 0) ? t : -t;
        if (t <= kEpsilon * sum)
            break;
    }
    return sum;
}

// u - ln(1 + u), for u > 0: u^2/2 - u^3/3 + u^4/4 - ...
Real UMinusLog1p(Real u) {
    if (u >= kSeriesBelow)
        return u - std::log1p(u);
    Real power = u;
    return AlternatingSeries([&](int n) {
        power *= u;
        return power / n;
    });
}

// 1 - e^-s without the cancellation of small s.
Real OneMinusExp(Real s) {
    return -std::expm1(-s);
}

// s - (1 - e^-s), for s > 0: s^2/2! - s^3/3! + s^4/4! - ...
Real Phi(Real s) {
    if (s >= kSeriesBelow)
        return s - OneMinusExp(s);
    Real term = s;
    return AlternatingSeries([&](int n) {
        term *= s / n;
        return term;
    });
}

// The positive root s of (1 + u) E(s) = s, written u E(s) - Phi(s) = 0 so that
// no term cancels for a small u. G is concave, positive up to the root and
// negative after; G' vanishes at ln(1 + u) and G(1 + u) = -(1 + u) e^-(1 + u).
// Newton from the right end stays right of the root and converges; a step that
// leaves the bracket is replaced by a bisection. The right end is the nearer of
// 1 + u and 2u, both past the root for every u > 0 (G(2u) = -(2/3)u^3 + ... for
// a small u): from 1 + u alone, a tiny u would leave the root near 2u hundreds
// of halvings away, more than the iterations allowed.
Real FlightRoot(Real u) {
    const auto g = [u](Real s) { return u * OneMinusExp(s) - Phi(s); };
    Real lo = std::log1p(u);
    Real hi = std::min(1 + u, 2 * u);
    Real s = hi;
    for (int i = 0; i < kMostIterations; ++i) {
        const Real value = g(s);
        if (value == 0)
            return s;
        (value > 0 ? lo : hi) = s;
        const Real slope = (1 + u) * std::exp(-s) - 1;
        Real next = s - value / slope;
        if (!(next > lo && next < hi))
            next = lo + (hi - lo) / 2;
        if (next == s || hi - lo <= 4 * kEpsilon * hi)
            break;
        s = next;
    }
    return s;
}

Real ParseOrNaN(const std::string& text) {
    if (text.empty())
        return kNaN;
    try {
        return ParseReal(text);
    } catch (const EConvertError&) {
        return kNaN;
    }
}

} // namespace

Real DragRate(Real d, Real m, Real vo) {
    return (d / m) * vo;
}

TrajectoryFigures VacuumFigures(Real vo, std::int32_t anguloGrados) {
    const Real seno = std::sin(DegreesToRadians(anguloGrados));
    return {TiempoAlturaMaximaIdeal(vo, seno), AlturaMaximaIdeal(vo, seno), TiempoTotalVueloIdeal(vo, seno),
            AlcanceMaximoIdeal(vo, anguloGrados)};
}

TrajectoryFigures ExactLinearDrag(Real k, Real vo, std::int32_t anguloGrados) {
    const Real radianes = DegreesToRadians(anguloGrados);
    const Real vx0 = vo * std::cos(radianes);
    const Real vy0 = vo * std::sin(radianes);
    // A negative k pushes instead of braking; the closed form above does not
    // cover it, nor an infinite k (a zero mass).
    if (!(k >= 0) || !std::isfinite(k) || !std::isfinite(vx0) || !std::isfinite(vy0))
        return {kNaN, kNaN, kNaN, kNaN};
    // A launch that does not rise is back at its height at once.
    if (!(vy0 > 0))
        return {};
    if (k == 0)
        return VacuumFigures(vo, anguloGrados);
    const Real u = (k * vy0) / kGravity;
    const Real s = FlightRoot(u);
    return {std::log1p(u) / k, (kGravity / (k * k)) * UMinusLog1p(u), s / k, (vx0 * OneMinusExp(s)) / k};
}

std::optional<GroundCrossing> InterpolateGroundCrossing(Real tPrev, Real xPrev, Real yPrev, Real tLast,
                                                        Real xLast, Real yLast) {
    const std::optional<Impact> impact = InterpolateImpact({tPrev, xPrev, yPrev}, {tLast, xLast, yLast});
    if (!impact)
        return std::nullopt;
    return GroundCrossing{impact->Tiempo, impact->Alcance};
}

RunReportFigures ComputeRunReportFigures(const RunInputTexts& inputs, const FinishedRun& run) {
    const EstadoTrayectoria& e = run.Estado;
    const Real d = ParseReal(inputs.D);
    const Real dt = ParseReal(inputs.T);
    const Real m = ParseReal(inputs.M);
    const std::int32_t angulo = ParseWhole(inputs.Angulo);
    const Real vo = ParseReal(inputs.Vo);

    RunReportFigures f;
    try {
        f.Resultados = ResultadosTrayectoriaReal(run.ValorX, e.Iteraciones, run.TiempoTotal, e.Hmax);
    } catch (const EConvertError&) {
        // The results window cannot open on such a run; the report still
        // states what the last step left.
        f.Resultados = {NumberToGeneralText(e.Iteraciones), run.TiempoTotal + " seg.",
                        NumberToPatternText("0.000", e.X) + " m.",
                        NumberToPatternText("0.000", e.Hmax) + " m."};
    }
    f.Ley = e.Ley;
    f.K = DragRate(d, m, vo);
    const Real tLast = ParseOrNaN(run.TiempoTotal);
    f.Integrado = {e.IteracionHmax > 0 ? ParseOrNaN(run.TiempoHmax) : 0, e.Hmax, tLast, e.X};
    if (f.Ley == DragLaw::Linear) {
        f.Exacto = ExactLinearDrag(f.K, vo, angulo);
    } else {
        const ReferenceFigures r = ReferenceSolution({d, m, vo, static_cast<Real>(angulo), f.Ley});
        f.Exacto = {r.TiempoApice, r.AlturaMaxima, r.TiempoVuelo, r.Alcance};
    }
    f.Vacio = VacuumFigures(vo, angulo);
    f.Leyes = BothLawsFigures(d, m, vo, angulo);
    f.VacioVelocidadImpacto = vo;
    f.VacioAnguloImpacto = angulo;
    if (!run.TiempoAnterior.empty()) {
        const Real tPrev = ParseOrNaN(run.TiempoAnterior);
        f.Cruce = InterpolateGroundCrossing(tPrev, e.XAnterior, e.YAnterior, tLast, e.X, e.Y);
        f.Impacto = InterpolateImpact({tPrev, e.XAnterior, e.YAnterior, e.VxAnterior, e.VyAnterior},
                                      {tLast, e.X, e.Y, e.Vx, e.Vy});
    }
    f.DatosCambiados = e.D != d || e.M != m || e.Vo != vo || e.DeltaT != dt;
    f.Aterrizo = !(std::isfinite(e.Y) && e.Y > 0);
    f.KT = StepDragProduct(d, m, vo, dt);
    f.PasoGrande = StepIsLarge(f.KT);
    return f;
}

void AppendDigestText(std::string& out, std::string_view text) {
    out += std::to_string(text.size());
    out += ':';
    out.append(text);
    out += ',';
}

void EndDigestRecord(std::string& out) {
    out += '\n';
}

std::string ShellQuoted(const std::string& text) {
    if (text.find_first_of("\"$`\\!") == std::string::npos)
        return '"' + text + '"';
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReproduceCommand(const RunInputTexts& inputs) {
    std::string command = "KORVO real";
    for (const RunInputInfo& input : RunInputTable())
        command += std::string(" --") + input.Option + " " + ShellQuoted(inputs.*input.Text);
    if (inputs.Ley != DragLaw::Linear)
        command += std::string(" --drag ") + DragLawOptionName(inputs.Ley);
    return command;
}

std::string NotLandedText(std::int32_t steps) {
    return "no aterrizó en " + std::to_string(steps) + " pasos";
}

void DigestRecords(const RunInputTexts& inputs, const TPackedRows& rows,
                   const std::function<void(std::string_view record, int row)>& record) {
    std::string text;
    for (const RunInputInfo& input : RunInputTable())
        AppendDigestText(text, inputs.*input.Text);
    EndDigestRecord(text);
    record(text, 0);
    text.clear();
    for (const TrajectoryColumn& column : TrajectoryColumns())
        AppendDigestText(text, column.Caption);
    EndDigestRecord(text);
    record(text, 0);
    for (int r = 0; r < rows.Count(); ++r) {
        text.clear();
        for (int c = 0; c < kTrajectoryColumnCount; ++c)
            AppendDigestText(text, rows.Cell(r, c));
        EndDigestRecord(text);
        record(text, r + 1);
    }
}

FinishedRun FinishedRunOf(const EstadoTrayectoria& state, const std::string& valorX,
                          const std::string& tiempoTotal, const TPackedRows& rows) {
    FinishedRun run{state, valorX, tiempoTotal, {}, {}};
    const int count = rows.Count();
    if (count >= 2)
        run.TiempoAnterior = std::string(rows.Cell(count - 2, 1));
    if (state.IteracionHmax >= 1 && state.IteracionHmax <= count)
        run.TiempoHmax = std::string(rows.Cell(state.IteracionHmax - 1, 1));
    return run;
}

} // namespace korvo
