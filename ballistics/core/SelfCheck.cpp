// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/SelfCheck.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/Calculators.h"
#include "ballistics/core/Gravity.h"
#include "ballistics/core/ReferenceTrajectory.h"
#include "ballistics/core/RunReport.h"

#include <cmath>
#include <map>

namespace korvo {
namespace {

constexpr Real kGravedad = 9.81L;

// W0(x) for -1/e < x < 0 by Halley's iteration, started from the branch-point
// series near -1/e and from x itself near 0; stopped when a step no longer
// changes the value (at most 100 steps; it takes fewer than ten).
Real LambertW0(Real x) {
    Real w = x > -0.25L ? x : -1 + std::sqrt(2 * (1 + std::exp(Real(1)) * x));
    for (int i = 0; i < 100; ++i) {
        const Real e = std::exp(w);
        const Real f = w * e - x;
        const Real next = w - f / (e * (w + 1) - (w + 2) * f / (2 * w + 2));
        if (next == w)
            break;
        w = next;
    }
    return w;
}

// A real-trajectory run in memory, from the window's first-showing texts.
class MemoryRun : public TrajectoryView {
public:
    MemoryRun() {
        for (auto& [field, text] : DefaultTrajectoryTexts())
            texts_[field] = text;
    }
    std::string Text(TrajectoryField field) const override { return texts_.at(field); }
    void SetText(TrajectoryField field, const std::string& text) override { texts_[field] = text; }
    void AppendRow(const std::array<std::string, 10>& row) override {
        timePrev_ = timeLast_;
        timeLast_ = row[1];
    }
    void AddChartPoint(double, double) override {}

    // The interpolated flight time of the run with step `t`, s.
    Real FlightTime(const std::string& t) {
        texts_[TrajectoryField::T] = BuiltInNumberText(t.c_str());
        RealTrajectory run;
        run.Start(*this);
        while (run.GoesOn())
            run.Calcular(*this);
        const EstadoTrayectoria& e = run.State();
        const auto crossing = InterpolateGroundCrossing(ParseReal(timePrev_), e.XAnterior, e.YAnterior,
                                                        ParseReal(timeLast_), e.X, e.Y);
        return crossing ? crossing->Tiempo : std::nan("");
    }

private:
    std::map<TrajectoryField, std::string> texts_;
    std::string timePrev_ = "0", timeLast_ = "0";
};

void Vacuum(std::vector<SelfCheckCase>& cases, const std::string& name, Real vo, int grados, Real t1, Real h,
            Real t, Real r) {
    const Real seno = std::sin(DegreesToRadians(grados));
    constexpr Real tol = 1e-15L;
    cases.push_back({name + ": tiempo del ápice (s)", t1, TiempoAlturaMaximaIdeal(vo, seno), tol});
    cases.push_back({name + ": altura máxima (m)", h, AlturaMaximaIdeal(vo, seno), tol});
    cases.push_back({name + ": tiempo de vuelo (s)", t, TiempoTotalVueloIdeal(vo, seno), tol});
    if (r != 0)
        cases.push_back({name + ": alcance (m)", r, AlcanceMaximoIdeal(vo, grados), tol});
}

void LinearDrag(std::vector<SelfCheckCase>& cases, const std::string& name, Real k, Real vo, int grados) {
    const Real radianes = DegreesToRadians(grados);
    const Real vy0 = vo * std::sin(radianes);
    const Real u = k * vy0 / kGravedad;
    const Real s = (1 + u) + LambertW0(-(1 + u) * std::exp(-(1 + u)));
    const TrajectoryFigures exact = ExactLinearDrag(k, vo, grados);
    constexpr Real tol = 1e-14L;
    cases.push_back({name + ": tiempo de vuelo exacto (s)", s / k, exact.TiempoVuelo, tol});
    cases.push_back(
        {name + ": alcance exacto (m)", vo * std::cos(radianes) * -std::expm1(-s) / k, exact.Alcance, tol});
}

} // namespace

bool SelfCheckCase::Correcto() const {
    return std::fabs(Obtenido - Esperado) <= ToleranciaRelativa * std::fabs(Esperado);
}

std::vector<SelfCheckCase> RunSelfCheck() {
    std::vector<SelfCheckCase> cases;
    Vacuum(cases, "Vacío, 100 m/s a 30°", 100, 30, 5.096839959225280326197757390417940876656L,
           127.4209989806320081549439347604485219164L, 10.19367991845056065239551478083588175331L,
           882.7985767425470405338666368531459566478L);
    Vacuum(cases, "Vacío, 200 m/s a 90°", 200, 90, 20.38735983690112130479102956167176350663L,
           2038.735983690112130479102956167176350663L, 40.77471967380224260958205912334352701325L, 0);

    // The default run's drag rate, and rates for which u is about 1 and 100.
    LinearDrag(cases, "Arrastre lineal, datos por omisión", DragRate(0.000016788592601L, 0.00745L, 340), 340,
               78);
    LinearDrag(cases, "Arrastre lineal, k = 3/100 1/s", 0.03L, 340, 78);
    LinearDrag(cases, "Arrastre lineal, k = 3 1/s", 3, 340, 78);

    const Real exact = ExactLinearDrag(DragRate(0.000016788592601L, 0.00745L, 340), 340, 78).TiempoVuelo;
    Real errors[3];
    const char* steps[] = {"0.01", "0.005", "0.0025"};
    for (int i = 0; i < 3; ++i)
        errors[i] = MemoryRun().FlightTime(steps[i]) - exact;
    for (int i = 0; i < 2; ++i)
        cases.push_back({std::string("Paso a paso, datos por omisión: error con T = ") + steps[i] +
                             " s ÷ error con T = " + steps[i + 1] + " s",
                         2, errors[i] / errors[i + 1], 0.05L});

    // The quadratic law shot straight up: its apex is known in closed form,
    // height (M / 2D) ln(1 + D Vo^2 / (M G)) and time sqrt(M / (D G)) atan(Vo sqrt(D / (M G))).
    const Real d = 0.000016788592601L, m = 0.00745L, vo = 340;
    const ReferenceFigures vertical = ReferenceSolution({d, m, vo, 90, DragLaw::Quadratic, 0});
    cases.push_back({"Arrastre cuadrático, disparo vertical: altura del ápice (m)",
                     (m / (2 * d)) * std::log1p((d * vo * vo) / (m * kGravity)), vertical.AlturaMaxima,
                     1e-9L});
    cases.push_back({"Arrastre cuadrático, disparo vertical: tiempo del ápice (s)",
                     std::sqrt(m / (d * kGravity)) * std::atan(vo * std::sqrt(d / (m * kGravity))),
                     vertical.TiempoApice, 1e-9L});
    return cases;
}

bool SelfCheckPassed(const std::vector<SelfCheckCase>& cases) {
    for (const SelfCheckCase& c : cases)
        if (!c.Correcto())
            return false;
    return true;
}

std::string SelfCheckVerdict(const std::vector<SelfCheckCase>& cases) {
    for (const SelfCheckCase& c : cases)
        if (!c.Correcto())
            return "falla: " + c.Nombre;
    return "correcto (" + std::to_string(cases.size()) + " casos)";
}

std::string SelfCheckText(const std::vector<SelfCheckCase>& cases) {
    std::string text;
    for (const SelfCheckCase& c : cases)
        text += c.Nombre + ": esperado " + NumberToGeneralText(c.Esperado) + ", KORVO " +
                NumberToGeneralText(c.Obtenido) + ", diferencia " +
                NumberToGeneralText(c.Obtenido - c.Esperado) + (c.Correcto() ? "" : "  FALLA") + "\n";
    return text + "Autocomprobación: " + SelfCheckVerdict(cases) + "\n";
}

} // namespace korvo
