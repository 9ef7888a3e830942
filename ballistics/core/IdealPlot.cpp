// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/IdealPlot.h"

#include <charconv>
#include <initializer_list>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace korvo {

namespace {

using F = IdealField;

// A general text "[-]d[<sep>ddd]E-n" rewritten as "[-]0<sep>000ddd": the same
// digits, n - 1 zeros between the separator and the first of them.
std::string PlainFromScientific(const std::string& text, std::size_t ePosition) {
    const bool negative = text.front() == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePosition; ++i)
        if (text[i] >= '0' && text[i] <= '9')
            digits += text[i];
    int exponent = 0;
    std::from_chars(text.data() + ePosition + 2, text.data() + text.size(), exponent);
    const std::string zeroText = BuiltInNumberText("0.0"); // "0" + separator + "0"
    std::string plain = negative ? "-" : "";
    plain += zeroText.substr(0, zeroText.size() - 1);
    plain += std::string(static_cast<std::size_t>(exponent - 1), '0');
    plain += digits;
    return plain;
}

// The interval is read again at every tick, so an edit during a plot is
// checked as at "&Generar Grafica": an interval of 0 never advances the clock
// and a negative one runs it backwards, and either plot would add rows
// without end.
std::int32_t ReadIntervalo(const IdealView& view) {
    std::int32_t intervalo = 0;
    try {
        intervalo = ParseWhole(view.Text(F::IntervaloIteraciones));
    } catch (const EConvertError&) {
        throw std::runtime_error(kIntervaloInvalido);
    }
    if (intervalo <= 0)
        throw std::runtime_error(kIntervaloInvalido);
    return intervalo;
}

std::string Concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (std::string_view part : parts)
        text += part;
    return text;
}

} // namespace

IdealPlot::IdealPlot(FormulaEvaluator evaluate) : evaluate_(std::move(evaluate)) {}

std::string IdealPlot::FactorText(Real value) {
    std::string text = NumberToGeneralText(value);
    const std::size_t e = text.find('E');
    if (e != std::string::npos && e + 1 < text.size() && text[e + 1] == '-')
        return PlainFromScientific(text, e);
    return text;
}

void IdealPlot::GraficarClick(IdealView& view) const {
    ReadIntervalo(view);
    const double x0 = static_cast<double>(ParseReal(view.Text(F::DistanciaDisparo)));
    const double y0 = static_cast<double>(ParseReal(view.Text(F::AlturaDisparo)));
    view.AppendRow(NumberToPatternText("0.00", x0), NumberToPatternText("0.00", y0),
                   view.Text(F::TiempoTranscurrido));
}

bool IdealPlot::Timer1Timer(IdealView& view, const EstadoIdeal& estado) const {
    const Real elapsed = ParseReal(view.Text(F::TiempoTranscurrido));
    const Real flightTime = ParseReal(view.Text(F::TTVuelo));
    const bool goesOn = elapsed < flightTime;
    if (goesOn)
        IncrementaTiempo(view);
    else
        BorrarUltimo(view);
    // Also on the final tick: the clock stood still, so the point of the row
    // just removed is computed and appended again.
    Iteraciones2Segundos(view);
    Calcular(view, estado);
    return goesOn;
}

void IdealPlot::IncrementaTiempo(IdealView& view) const {
    const std::int32_t intervalo = ReadIntervalo(view);
    const double clock = static_cast<double>(ParseReal(view.Text(F::Items)) + intervalo);
    view.SetText(F::Items, NumberToGeneralText(clock));
}

void IdealPlot::Iteraciones2Segundos(IdealView& view) const {
    view.SetText(F::TiempoTranscurrido, NumberToPatternText("00.00", ParseReal(view.Text(F::Items)) / 1000));
}

void IdealPlot::Calcular(IdealView& view, const EstadoIdeal& estado) const {
    const std::string s = FactorText(estado.Seno);
    const std::string c = FactorText(estado.Coseno);
    const std::string t = view.Text(F::TiempoTranscurrido);
    const std::string v = view.Text(F::VelocidadInicial);
    // Half of the gravitational acceleration the plot uses (9.80, while the
    // flight time uses 9.81), as the evaluator reads them.
    const std::string half = BuiltInNumberText("0.5");
    const std::string gravity = BuiltInNumberText("9.80");

    view.SetText(F::CalcularX,
                 Concat({"(", view.Text(F::DistanciaDisparo), ")+(", v, ")*(", c, ")*(", t, ")"}));
    const double x = evaluate_(view.Text(F::CalcularX));
    view.SetText(F::ResultadoX, NumberToPatternText("0.00", x));

    view.SetText(F::CalcularY, Concat({"(", view.Text(F::AlturaDisparo), ")+(", v, ")*(", s, ")*(", t, ")-(",
                                       half, ")*(", gravity, ")*((", t, ")*(", t, "))"}));
    const double y = evaluate_(view.Text(F::CalcularY));
    view.SetText(F::ResultadoY, NumberToPatternText("0.00", y));

    view.AddChartPoint(x, y);
    GuardarDatos(view);
}

void IdealPlot::GuardarDatos(IdealView& view) const {
    view.AppendRow(NumberToPatternText("0.00", ParseReal(view.Text(F::ResultadoX))),
                   NumberToPatternText("0.00", ParseReal(view.Text(F::ResultadoY))),
                   view.Text(F::TiempoTranscurrido));
}

void IdealPlot::BorrarUltimo(IdealView& view) const {
    view.RemoveLastRow();
}

void IdealPlot::ReiniciarValores(IdealView& view) const {
    view.ClearChart();
    const std::string zero = BuiltInNumberText("0");
    view.SetText(F::Items, zero);
    for (F field : {F::VelocidadInicial, F::Angulo, F::AlturaDisparo, F::DistanciaDisparo})
        view.SetText(field, zero);
    view.SetText(F::IntervaloIteraciones, BuiltInNumberText("50"));
    for (F field : {F::TAlturaMaxima, F::TCaida, F::TTVuelo, F::AlturaMax, F::AlcanceMax, F::VFinalImpacto})
        view.SetText(field, zero);
    for (F field : {F::CalcularX, F::ResultadoX, F::CalcularY, F::ResultadoY, F::TiempoTranscurrido})
        view.SetText(field, zero);
    view.ClearTable();
}

} // namespace korvo
