// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CommandRuns.h"

#include "app/CommandArguments.h"

#include "ballistics/core/IdealPlot.h"
#include "ballistics/core/RunReport.h"
#include "base/ErrorText.h"
#include "base/ParallelFor.h"
#include "base/RegionalSettings.h"
#include "parser/MathParser.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <thread>

namespace korvo {
namespace {

using F = TrajectoryField;

constexpr int kTrajectoryFieldCount = static_cast<int>(F::TiempoTotal) + 1;

// The real-trajectory window's fields, table and chart, kept in memory. Rows and
// points are kept only when the caller writes them out; a sweep keeps neither.
class FieldTexts : public TrajectoryView {
public:
    FieldTexts(RealRun& run, RealRunKeep keep) : run_(run), keep_(keep) {
        if (keep_.Rows)
            run_.Rows = std::make_shared<TrajectoryRows>();
        for (auto& [field, text] : DefaultTrajectoryTexts())
            texts_[Index(field)] = text;
    }
    std::string Text(F field) const override { return texts_[Index(field)]; }
    void SetText(F field, const std::string& text) override {
        if (field == F::TiempoTotal)
            timeBefore_ = texts_[Index(field)];
        texts_[Index(field)] = text;
    }
    void AppendRow(const std::array<std::string, 10>& row) override {
        if (keep_.Rows)
            run_.Rows->AppendRow(row);
    }
    void AddChartPoint(double x, double y) override {
        if (keep_.Points)
            run_.Points.emplace_back(x, y);
    }
    // The time display before the last step set it, for the ground crossing.
    const std::string& TimeBefore() const { return timeBefore_; }

private:
    static std::size_t Index(F field) { return static_cast<std::size_t>(field); }

    RealRun& run_;
    RealRunKeep keep_;
    std::array<std::string, kTrajectoryFieldCount> texts_;
    std::string timeBefore_;
};

} // namespace

std::string FieldText(std::string_view typed) {
    // Only "." and the separator in force: under a "." setting "1,000" stays
    // refused rather than read as 1.
    std::string text(typed);
    for (char& c : text)
        if (c == '.')
            c = DecimalSeparator();
    try {
        ParseReal(text);
        return text;
    } catch (const EConvertError&) {
        return std::string(typed);
    }
}

RealRun RunRealTrajectory(const RealInputs& inputs, RealRunKeep keep) {
    RealRun run;
    FieldTexts view(run, keep);
    view.SetText(F::D, inputs.D);
    view.SetText(F::T, inputs.T);
    view.SetText(F::M, inputs.M);
    view.SetText(F::Angulo, inputs.Angulo);
    view.SetText(F::Vo, inputs.Vo);

    RealTrajectory trajectory;
    trajectory.RunToEnd(view, inputs.Ley);

    run.Estado = trajectory.State();
    run.Landed = trajectory.Landed();
    run.ValorX = view.Text(F::X);
    run.TiempoTotal = view.Text(F::TiempoTotal);
    run.Cruce =
        InterpolateGroundCrossing(ParseReal(view.TimeBefore()), run.Estado.XAnterior, run.Estado.YAnterior,
                                  ParseReal(run.TiempoTotal), run.Estado.X, run.Estado.Y);
    run.Impacto = ImpactOfRun(run.Estado);
    return run;
}

std::vector<std::string> SweepValues(Real from, Real to, Real step, std::size_t most) {
    if (!std::isfinite(from) || !std::isfinite(to) || !std::isfinite(step) || step == 0)
        throw std::invalid_argument("El PASO de --vary debe ser un número distinto de 0");
    const Real steps = (to - from) / step;
    if (steps < -1e-6L)
        throw std::invalid_argument("El PASO de --vary debe llevar de DESDE hacia HASTA");
    const Real count = std::floor(steps + 1e-6L) + 1;
    if (!(count <= static_cast<Real>(most)))
        throw std::invalid_argument("Un barrido tiene a lo sumo " + std::to_string(most) + " valores");
    std::vector<std::string> values;
    values.reserve(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
        // The last value may overshoot TO by the millionth of a step allowed
        // above: it is TO then, never a value past it.
        const Real value = from + static_cast<Real>(i) * step;
        values.push_back(NumberToGeneralText((step > 0 ? value > to : value < to) ? to : value));
        if (i > 0 && values[i] == values[i - 1])
            throw std::invalid_argument("El PASO de --vary es menor de lo que distinguen 15 cifras: " +
                                        values[i] + " saldría repetido");
    }
    return values;
}

namespace {

SweepRow SweepOne(RealInputs inputs, RealInput varied, const std::string& value) {
    SweepRow row;
    row.Valor = value;
    InputText(inputs, varied) = value;
    try {
        const RealRun run = RunRealTrajectory(inputs, {});
        row.Iteraciones = run.Estado.Iteraciones;
        row.TiempoVuelo = run.TiempoTotal;
        row.AlturaMaxima = NumberToGeneralText(run.Estado.Hmax);
        row.Alcance = run.ValorX;
        if (run.Cruce) {
            row.CruceTiempo = NumberToGeneralText(run.Cruce->Tiempo);
            row.CruceX = NumberToGeneralText(run.Cruce->X);
        }
        if (run.Impacto) {
            row.VelocidadImpacto = NumberToGeneralText(run.Impacto->Velocidad);
            row.AnguloImpacto = NumberToGeneralText(run.Impacto->Angulo);
        }
        if (!run.Landed)
            row.Mensaje = kTrayectoriaSinFin;
    } catch (const std::exception& error) {
        row.Mensaje = ErrorReportText(error.what());
    }
    return row;
}

} // namespace

std::vector<SweepRow> RunSweep(const RealInputs& inputs, RealInput varied,
                               const std::vector<std::string>& values, unsigned jobs) {
    std::vector<SweepRow> rows(values.size());
    ParallelFor(values.size(), jobs, [&](std::size_t i) { rows[i] = SweepOne(inputs, varied, values[i]); });
    return rows;
}

namespace {

using I = IdealField;

constexpr int kIdealFieldCount = static_cast<int>(I::ResultadoY) + 1;

// The ideal-trajectory window's fields and point table, kept in memory.
class IdealTexts : public IdealView {
public:
    explicit IdealTexts(IdealRun& run) : run_(run) { texts_.fill("0"); }
    std::string Text(I field) const override { return texts_[Index(field)]; }
    void SetText(I field, const std::string& text) override { texts_[Index(field)] = text; }
    void ClearTable() override { run_.Rows.clear(); }
    void AppendRow(const std::string& x, const std::string& y, const std::string& t) override {
        run_.Rows.push_back({x, y, t});
    }
    void RemoveLastRow() override {
        if (!run_.Rows.empty())
            run_.Rows.pop_back();
    }
    void AddChartPoint(double, double) override {}
    void ClearChart() override {}

private:
    static std::size_t Index(I field) { return static_cast<std::size_t>(field); }

    IdealRun& run_;
    std::array<std::string, kIdealFieldCount> texts_;
};

} // namespace

IdealRun RunIdealTrajectory(const IdealInputs& inputs, bool plot) {
    IdealRun run;
    IdealTexts view(run);
    view.SetText(I::VelocidadInicial, inputs.VelocidadInicial);
    view.SetText(I::Angulo, inputs.Angulo);
    view.SetText(I::AlturaDisparo, inputs.AlturaDisparo);
    view.SetText(I::DistanciaDisparo, inputs.DistanciaDisparo);
    view.SetText(I::IntervaloIteraciones, inputs.IntervaloIteraciones);

    IdealCalculator calculator;
    calculator.CalcularResultados(view);
    run.TAlturaMaxima = view.Text(I::TAlturaMaxima);
    run.TCaida = view.Text(I::TCaida);
    run.TTVuelo = view.Text(I::TTVuelo);
    run.AlturaMax = view.Text(I::AlturaMax);
    run.AlcanceMax = view.Text(I::AlcanceMax);
    run.VFinalImpacto = view.Text(I::VFinalImpacto);
    if (!plot)
        return run;

    TMathParser parser;
    const IdealPlot ideal([&parser](const std::string& formula) {
        parser.Parse(formula);
        return parser.Evaluate();
    });
    ideal.GraficarClick(view);
    for (std::int32_t points = 0; ideal.Timer1Timer(view, calculator.State()); ++points)
        if (points >= kMostPlotPoints)
            throw std::runtime_error("La gráfica no terminó en " + std::to_string(kMostPlotPoints) +
                                     " puntos; el proceso se detuvo.");
    return run;
}

unsigned JobsOption(const CommandArguments& arguments) {
    unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
    if (const auto text = arguments.Value("jobs")) {
        std::int32_t n = 0;
        try {
            n = ParseWhole(*text);
        } catch (const std::exception& error) {
            throw ERefused(error.what());
        }
        if (n < 1 || static_cast<std::size_t>(n) > kMostSweepJobs)
            throw ERefused("--jobs espera un número entero de 1 a " + std::to_string(kMostSweepJobs) + ": " +
                           *text);
        jobs = static_cast<unsigned>(n);
    }
    return jobs;
}

DragLaw DragOption(const CommandArguments& arguments) {
    const auto typed = arguments.Value("drag");
    if (!typed)
        return DragLaw::Linear;
    const std::optional<DragLaw> law = DragLawNamed(*typed);
    if (!law)
        throw ERefused("--drag admite linear o quadratic: " + *typed);
    return *law;
}

} // namespace korvo
