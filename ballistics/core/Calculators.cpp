// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/Calculators.h"

#include "ballistics/core/Angles.h"
#include "ballistics/core/Gravity.h"
#include "base/RegionalSettings.h"

#include <cmath>
#include <initializer_list>
#include <iterator>

namespace korvo {

namespace {

// Gravitational acceleration and its double, m/s^2. Doubling is exact, so the
// double is the nearest extended value of 19.62 as well.
constexpr Real kDobleGravedad = 2 * kGravity;

// A help text with its numbers in the separators in force: a "." between two
// digits becomes the decimal separator and a "," between two digits the
// thousands separator, so that a value read off a help box can be typed into
// its field as it stands.
std::string NumbersInForce(std::string text) {
    const RegionalSettings& settings = CurrentRegionalSettings();
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (!digit(text[i - 1]) || !digit(text[i + 1]))
            continue;
        if (text[i] == '.')
            text[i] = settings.DecimalSeparator;
        else if (text[i] == ',')
            text[i] = settings.ThousandSeparator;
    }
    return text;
}

std::string JoinLines(std::initializer_list<const char*> lines) {
    std::string text;
    bool first = true;
    for (const char* line : lines) {
        if (!first)
            text += '\n';
        text += line;
        first = false;
    }
    return text;
}

// Mean air densities, kg/m^3, at the altitudes of the density help table.
constexpr const char* kDensidades[] = {"1.2254", "1.1886", "1.1533", "1.1197", "1.1101", "1.0861", "1.0556",
                                       "1.0236", "1.0076", "0.9931", "0.9643", "0.9355", "0.9115", "0.9082"};
constexpr const char* kAltitudes[] = {"0m",     "305m",   "610m",   "914m",   "1,000m", "1,219m", "1,524m",
                                      "1,829m", "2,000m", "2,134m", "2,438m", "2,743m", "3,000m", "3,048m"};
static_assert(std::size(kDensidades) == std::size(kAltitudes));

template <std::size_t N> std::vector<std::string> BuiltInTexts(const char* const (&dotTexts)[N]) {
    std::vector<std::string> texts;
    texts.reserve(N);
    for (const char* text : dotTexts)
        texts.push_back(BuiltInNumberText(text));
    return texts;
}

} // namespace

ResultadosTexts ResultadosTrayectoriaReal(const std::string& valorX, std::int32_t iteraciones,
                                          const std::string& tiempoTotal, Real hmax) {
    // The range is the X of the last step, read back from its display before any
    // caption changes.
    const Real amax = ParseReal(valorX);
    ResultadosTexts texts;
    texts.TotalIteraciones = NumberToGeneralText(iteraciones);
    texts.TTotalVuelo = tiempoTotal + " seg.";
    texts.DistanciaMax = NumberToPatternText("0.000", amax) + " m.";
    texts.HMax = NumberToPatternText("0.000", hmax) + " m.";
    return texts;
}

ConstanteProporcionalidad CalcularConstanteProporcionalidad(const std::string& densidad,
                                                            const std::string& coeficiente,
                                                            const std::string& pi,
                                                            const std::string& diametro) {
    const Real rho = ParseReal(densidad);
    const Real c = ParseReal(coeficiente);
    const Real piValue = ParseReal(pi);
    const Real d = ParseReal(diametro);
    const Real r = (d * 0.001L) / 2; // millimetres of diameter to metres of radius
    const Real dragConstant = ((rho * c) * ((r * r) * piValue)) / 2;
    return {NumberToPatternText("0.000000000000000", dragConstant), NumberToGeneralText(dragConstant)};
}

std::vector<std::string> DensidadAireItems() {
    return BuiltInTexts(kDensidades);
}

std::vector<std::string> CoeficienteArrastreItems() {
    static constexpr const char* kCoeficientes[] = {"0.1", "0.2", "0.3", "0.4", "0.5",
                                                    "0.6", "0.7", "0.8", "0.9", "1.0"};
    return BuiltInTexts(kCoeficientes);
}

std::string PiDefaultText() {
    return BuiltInNumberText("3.14159265358979323846");
}

std::string AyudaDensidadAire() {
    std::string text =
        JoinLines({"Valores de Densidad del Aire (Promedio)", "", "Altitud (Metros) - Densidad (Kg/m3)"});
    text += '\n' + std::string(43, '-');
    // The blanks are those the table has always had: 24 after "0m", 20 after the
    // other altitudes below a thousand metres, 17 after the thousands.
    for (std::size_t i = 0; i < std::size(kAltitudes); ++i) {
        const std::string altitud = kAltitudes[i];
        const std::size_t blanks = altitud.size() == 2 ? 24 : altitud.size() == 4 ? 20 : 17;
        text += '\n' + altitud + std::string(blanks, ' ') + kDensidades[i];
    }
    return NumbersInForce(text);
}

std::string AyudaCoeficienteArrastre() {
    return JoinLines({"Valores asignados para el Coeficiente de Arrastre.",
                      "Mientras Menor sea su valor, menor fricción entre",
                      "el objeto y el medio fluido (aire) habra."});
}

std::string AyudaRadioProyectil() {
    return NumbersInForce(JoinLines({"Valor obtenido de la medicion de la base del proyectil.",
                                     "\"El valor debe ser introducido en Milímetros\", el programa",
                                     "automáticamente lo convertirá a Metros, para conservar",
                                     "la proporcionalidad de unidades utilizadas.", "",
                                     "Ejemplo: Diámetro del proyectil 9mm = 0.009m", "",
                                     "Nota: El programa automáticamente calculara el radio",
                                     "Radio calculado del proyectil 4.5mm = 0.0045m"}));
}

std::string AyudaValorPi() {
    return NumbersInForce(
        JoinLines({"\"Pi\" es la relación entre la longitud de una circunferencia y su diametro.",
                   "Frecuentemente se refiere a su valor como 3.1416",
                   "El programa utiliza su valor con 20 decimales para realizar los calculos,",
                   "para incluir las pequeñas variaciones derivadas de ello.",
                   "Ejemplo: Pi = 3.14159265358979323846"}));
}

std::optional<std::string> ConvertirAKilos(const std::string& valor, const std::string& unidad) {
    // Kilograms per grain as the program has always used it (the exact factor is
    // 0.00006479891), and per gram.
    constexpr Real kKilosPorGrain = 0.0000647989L;
    constexpr Real kKilosPorGramo = 0.001L;
    if (unidad == kUnidadGrains)
        return NumberToGeneralText(ParseReal(valor) * kKilosPorGrain);
    if (unidad == kUnidadGramos)
        return NumberToGeneralText(ParseReal(valor) * kKilosPorGramo);
    return std::nullopt;
}

std::string ConvertirAMetrosSegundos(const std::string& valorFts) {
    constexpr Real kMetrosPorPie = 0.3048L; // exact by definition of the foot
    return NumberToGeneralText(ParseReal(valorFts) * kMetrosPorPie);
}

std::string AyudaConvertirPeso() {
    return JoinLines({"Para poder realizar el porceso, es necesario que las unidades a utilizar",
                      "sean las correspondientes a la ecuación, en este caso el valor \"m\" es",
                      "el peso del proyectil, usualmente obtenido en Grains o en Gramos el",
                      "cual debe ser convertido a Kilos."});
}

Real TiempoAlturaMaximaIdeal(Real v, Real seno) {
    return (v * seno) / kGravity;
}

Real AlturaMaximaIdeal(Real v, Real seno) {
    return ((v * v) * (seno * seno)) / kDobleGravedad;
}

Real TiempoTotalVueloIdeal(Real v, Real seno) {
    return ((v * 2) * seno) / kGravity;
}

Real AlcanceMaximoIdeal(Real v, Real anguloGrados) {
    return (std::sin(DegreesToRadians(anguloGrados * 2)) * (v * v)) / kGravity;
}

void IdealCalculator::CalcularResultados(IdealView& view) {
    SenoGrados4Radianes(view);
    CosenoGrados4Radianes(view);
    view.SetText(IdealField::Items, "0");
    view.SetText(IdealField::TiempoTranscurrido, "0");
    view.ClearTable();
    TiempoAlturaMaxima(view);
    AlturaMaxima(view);
    TiempoCaidaAlturaMaxima(view);
    TiempoTotalVuelo(view);
    AlcanceMaximo(view);
    VelocidadFinalImpacto(view);
}

void IdealCalculator::SenoGrados4Radianes(const IdealView& view) {
    state_.Seno = std::sin(DegreesToRadians(ParseReal(view.Text(IdealField::Angulo))));
}

void IdealCalculator::CosenoGrados4Radianes(const IdealView& view) {
    state_.Coseno = std::cos(DegreesToRadians(ParseReal(view.Text(IdealField::Angulo))));
}

void IdealCalculator::TiempoAlturaMaxima(IdealView& view) const {
    const Real v = ParseReal(view.Text(IdealField::VelocidadInicial));
    const Real t1 = TiempoAlturaMaximaIdeal(v, state_.Seno);
    view.SetText(IdealField::TAlturaMaxima, NumberToPatternText("0.00", t1));
}

void IdealCalculator::AlturaMaxima(IdealView& view) const {
    const Real v = ParseReal(view.Text(IdealField::VelocidadInicial));
    const Real h = AlturaMaximaIdeal(v, state_.Seno);
    view.SetText(IdealField::AlturaMax, NumberToPatternText("0.00", h));
}

void IdealCalculator::TiempoCaidaAlturaMaxima(IdealView& view) const {
    // From the height as displayed, rounded to hundredths.
    const Real h = ParseReal(view.Text(IdealField::AlturaMax));
    const Real t2 = std::sqrt((h * 2) / kGravity);
    view.SetText(IdealField::TCaida, NumberToPatternText("0.00", t2));
}

void IdealCalculator::TiempoTotalVuelo(IdealView& view) const {
    const Real v = ParseReal(view.Text(IdealField::VelocidadInicial));
    const Real t = TiempoTotalVueloIdeal(v, state_.Seno);
    view.SetText(IdealField::TTVuelo, NumberToPatternText("0.00", t));
}

void IdealCalculator::AlcanceMaximo(IdealView& view) const {
    const Real a = ParseReal(view.Text(IdealField::Angulo));
    const Real v = ParseReal(view.Text(IdealField::VelocidadInicial));
    const Real r = AlcanceMaximoIdeal(v, a);
    view.SetText(IdealField::AlcanceMax, NumberToPatternText("0.00", r));
}

void IdealCalculator::VelocidadFinalImpacto(IdealView& view) const {
    // The horizontal component keeps its launch value; the vertical one is what
    // a fall of t2 seconds from rest gives.
    const Real v = ParseReal(view.Text(IdealField::VelocidadInicial));
    const Real t2 = ParseReal(view.Text(IdealField::TCaida));
    const Real horizontal = v * state_.Coseno;
    const Real vertical = kGravity * t2;
    const Real speed = std::sqrt(horizontal * horizontal + vertical * vertical);
    view.SetText(IdealField::VFinalImpacto, NumberToPatternText("0.00", speed));
}

} // namespace korvo
