// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The arithmetic of the side windows: the results summary of a real-trajectory
// run, the drag constant, the two unit converters and the closed-form values of
// the ideal trajectory. Each function takes the field texts a window holds and
// returns the texts it shows; a text that is not a number raises EConvertError
// with that text before anything is returned, so the window keeps its old texts.
//
// Symbols and units:
//   rho  air density, kg/m^3          C  drag coefficient (no unit)
//   d    projectile base diameter, mm r  its radius, m
//   D    drag proportionality constant = 1/2 x rho x C x pi r^2, kg/m
//   V    initial speed, m/s           a  firing angle, degrees
//   t1   time to the highest point, s H  greatest height, m
//   t2   fall time from the highest point, s
//   T    flight time, s               R  range, m
//
//   auto d = CalcularConstanteProporcionalidad("1.0556", "0.5", PiDefaultText(), "9");
//   d.VConstanteProporcionalidad              -> "0.000016788592601"
//   d.VConstanteProporcionalidadSignificativa -> "1.67885926009675E-5"
#include "ballistics/core/NumberText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvo {

// The results window's four panel captions.
struct ResultadosTexts {
    std::string TotalIteraciones; // "3481"
    std::string TTotalVuelo;      // "34.81 seg."
    std::string DistanciaMax;     // "91.201 m."
    std::string HMax;             // "374.220 m."
};

// The captions after a real-trajectory run, from the text of its X display, its
// step count, the text of its elapsed-time display and its greatest height.
// The X text is read first: after a run gone infinite or undefined it reads
// "NAN" or "-INF", and that raises EConvertError with the text.
ResultadosTexts ResultadosTrayectoriaReal(const std::string& valorX, std::int32_t iteraciones,
                                          const std::string& tiempoTotal, Real hmax);

// The drag-constant window's two result texts.
struct ConstanteProporcionalidad {
    std::string VConstanteProporcionalidad;              // fifteen decimals, the text carried into "D:"
    std::string VConstanteProporcionalidadSignificativa; // fifteen significant digits
};

// D from the density, coefficient, pi and diameter texts, read in that order; the
// first that is not a number raises EConvertError. Any diameter is accepted: the
// radius is squared, so a negative one gives the D of its absolute value.
ConstanteProporcionalidad CalcularConstanteProporcionalidad(const std::string& densidad,
                                                            const std::string& coeficiente,
                                                            const std::string& pi,
                                                            const std::string& diametro);

// The items of the density and coefficient lists and the pi field's default, in
// the decimal separator in force so that the window reads them back.
std::vector<std::string> DensidadAireItems();
std::vector<std::string> CoeficienteArrastreItems();
std::string PiDefaultText();
// The items selected at every showing (from 0): "1.0556" and "0.5".
inline constexpr int kDensidadAireDefaultIndex = 6;
inline constexpr int kCoeficienteArrastreDefaultIndex = 4;

// The four help messages of the drag-constant window, lines joined with "\n".
std::string AyudaDensidadAire();
std::string AyudaCoeficienteArrastre();
std::string AyudaRadioProyectil();
std::string AyudaValorPi();

// The mass converter's units, in the order of its list.
inline constexpr const char* kUnidadGrains = "Grains";
inline constexpr const char* kUnidadGramos = "Gramos";

// A mass in grains or grams as the text of kilograms for "M:". A unit other
// than the two gives std::nullopt without reading the value (nothing happens);
// a value that is not a number raises EConvertError.
std::optional<std::string> ConvertirAKilos(const std::string& valor, const std::string& unidad);

// A speed in feet per second as the text of metres per second for "Vo:".
std::string ConvertirAMetrosSegundos(const std::string& valorFts);

// The mass converter's help message (lines joined with "\n") and its caption.
std::string AyudaConvertirPeso();
inline constexpr const char* kAyudaConvertirPesoCaption = "Convertir Unidades de Peso";

// The ideal-trajectory window's texts as its calculator and plotter see them.
enum class IdealField {
    VelocidadInicial,
    Angulo,
    AlturaDisparo,
    DistanciaDisparo,
    IntervaloIteraciones,
    TAlturaMaxima,
    TCaida,
    TTVuelo,
    AlturaMax,
    AlcanceMax,
    VFinalImpacto,
    Items,
    TiempoTranscurrido,
    CalcularX,
    ResultadoX,
    CalcularY,
    ResultadoY,
};

// The ideal-trajectory window's fields, point table and chart. The calculator
// and the plotter read and write through it in the order the user sees the
// texts change, so that a failure part-way leaves the earlier writes shown.
class IdealView {
public:
    virtual ~IdealView() = default;
    virtual std::string Text(IdealField field) const = 0;
    virtual void SetText(IdealField field, const std::string& text) = 0;
    // The point table: remove all rows; append a row (X, Y, time); remove the
    // last row, if there is one.
    virtual void ClearTable() = 0;
    virtual void AppendRow(const std::string& x, const std::string& y, const std::string& t) = 0;
    virtual void RemoveLastRow() = 0;
    virtual void AddChartPoint(double x, double y) = 0;
    virtual void ClearChart() = 0;
};

// The closed forms of the ideal trajectory, in vacuum with launch and impact at
// the same height, for the speed V (m/s) and the sine of the firing angle (the
// range takes the angle itself, in degrees). The ideal-trajectory window and
// the run report's vacuum comparison both compute them here, in this grouping.
//   t1 = (V x sin a) / 9.81          H = ((V x V) x (sin a x sin a)) / 19.62
//   T  = ((V x 2) x sin a) / 9.81    R = (sin(2a) x (V x V)) / 9.81
Real TiempoAlturaMaximaIdeal(Real v, Real seno);
Real AlturaMaximaIdeal(Real v, Real seno);
Real TiempoTotalVueloIdeal(Real v, Real seno);
Real AlcanceMaximoIdeal(Real v, Real anguloGrados);

// Sine and cosine of the firing angle, fixed by "&Calcular" and read by every
// plotted point.
struct EstadoIdeal {
    Real Seno = 0, Coseno = 0;
};

// The closed-form values of the ideal trajectory (in vacuum, launch and impact at
// the same height). The window runs CalcularResultados on "&Calcular" and then,
// if nothing was raised, switches its buttons.
class IdealCalculator {
public:
    // The eight operations in order, with the counters set to "0" and the point
    // table emptied after the sine and cosine. Defaults (340, 78) give 33.90,
    // 5637.25, 33.90, 67.80, 4792.94 and 339.99.
    void CalcularResultados(IdealView& view);

    void SenoGrados4Radianes(const IdealView& view);
    void CosenoGrados4Radianes(const IdealView& view);
    void TiempoAlturaMaxima(IdealView& view) const;
    void AlturaMaxima(IdealView& view) const;
    void TiempoCaidaAlturaMaxima(IdealView& view) const;
    void TiempoTotalVuelo(IdealView& view) const;
    void AlcanceMaximo(IdealView& view) const;
    void VelocidadFinalImpacto(IdealView& view) const;

    const EstadoIdeal& State() const { return state_; }

private:
    EstadoIdeal state_;
};

} // namespace korvo
