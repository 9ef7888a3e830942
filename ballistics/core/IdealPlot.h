// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The ideal trajectory plotted over time. A simulated clock, kept only as the
// texts of Items (milliseconds) and TiempoTranscurrido (seconds, two decimals),
// advances by the iteration interval at every tick; each tick writes the
// position formulas
//   x(t) = x0 + V cos(a) t          y(t) = y0 + V sin(a) t - 1/2 9.80 t^2
// as texts with the current numbers in them, has the window's expression
// evaluator compute both, and adds one chart point and one table row. The plot
// ends at the first shown time not below the flight time of "&Calcular".
//
//   IdealPlot plot(evaluate);        // evaluate: formula text -> value
//   plot.GraficarClick(view);        // refuses a bad interval, appends the launch row
//   while (plot.Timer1Timer(view, calculator.State())) {}
//
// With the defaults (340, 78, 0, 0, 50) the first tick writes
// «(0)+(340)*(0.207911690817759)*(00.05)» and
// «(0)+(340)*(0.978147600733806)*(00.05)-(0.5)*(9.80)*((00.05)*(00.05))»,
// and the table ends with the launch row and 1356 point rows.
#include "ballistics/core/Calculators.h"

#include <functional>
#include <string>

namespace korvo {

// Compiles one formula text and evaluates it; raises what the evaluator raises.
using FormulaEvaluator = std::function<double(const std::string&)>;

// The message with which "&Generar Grafica", and every tick that advances the
// clock, refuse an interval that is not a whole number above 0 (such an
// interval would never bring the clock to the flight time). Raised as a plain
// std::runtime_error.
inline constexpr const char* kIntervaloInvalido =
    "El intervalo de iteraciones debe ser un número entero mayor que 0";

// The message with which "&Generar Grafica" refuses to plot after the launch
// speed or angle changed since "&Calcular": the plot would not be the flight
// whose values the window shows.
inline constexpr const char* kDatosCambiados =
    "La velocidad inicial o el ángulo cambiaron desde el último cálculo: pulse \"Calcular\" de nuevo "
    "antes de generar la gráfica.";

class IdealPlot {
public:
    explicit IdealPlot(FormulaEvaluator evaluate);

    // "&Generar Grafica" before its timer starts: refuses an interval that is not
    // a whole number above 0 before anything else, then reads the launch distance
    // and height and appends the launch row (not charted). A launch field that is
    // not a number raises EConvertError and the timer must not start.
    void GraficarClick(IdealView& view) const;

    // One tick. Returns whether the plot goes on; the final tick (the shown time
    // has reached the flight time) removes the last row and appends the point of
    // that time again, and returns false. A tick that raises leaves what it wrote
    // so far; the window stops its timer then, so the plot ends there.
    bool Timer1Timer(IdealView& view, const EstadoIdeal& estado) const;

    // The steps of a tick, in the order Timer1Timer runs them.
    void IncrementaTiempo(IdealView& view) const;
    void Iteraciones2Segundos(IdealView& view) const;
    void Calcular(IdealView& view, const EstadoIdeal& estado) const;
    void GuardarDatos(IdealView& view) const;
    void BorrarUltimo(IdealView& view) const;

    // "&Limpiar Datos": the chart and table emptied and every field back to its
    // cleared text (the inputs "0", the interval "50", the results "0").
    void ReiniciarValores(IdealView& view) const;

    // The text of a sine or cosine inside a formula: its general text, except that
    // a scientific text with a negative exponent is written in plain decimal with
    // the same digits, because the evaluator would read «6.1E-17» as 6.1 - 17.
    static std::string FactorText(Real value);

private:
    FormulaEvaluator evaluate_;
};

} // namespace korvo
