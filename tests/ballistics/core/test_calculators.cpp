// SPDX-License-Identifier: GPL-3.0-or-later

#include "MemoryTrajectoryView.h"
#include "SeparatorGuard.h"
#include "ballistics/core/Calculators.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace korvo {
namespace {

// Runs a test body under a given decimal separator.
class SideSeparatorTest : public ::testing::TestWithParam<char> {
protected:
    test::SeparatorGuard separator{GetParam()};
    // A number text written with "." in the test, in the separator in force.
    static std::string T(const std::string& text) { return BuiltInNumberText(text); }
};

INSTANTIATE_TEST_SUITE_P(BothSeparators, SideSeparatorTest, ::testing::Values('.', ','));

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Runs the integrator to its end on the view's texts and reads the results
// captions back as the results window does when it is shown.
ResultadosTexts ResultsAfterRun(test::MemoryTrajectoryView& view) {
    RealTrajectory run;
    run.RunToEnd(view);
    return ResultadosTrayectoriaReal(view.texts.at(TrajectoryField::X), run.State().Iteraciones,
                                     view.texts.at(TrajectoryField::TiempoTotal), run.State().Hmax);
}

TEST_P(SideSeparatorTest, ResultsAfterARunWithTheWindowDefaults) {
    test::MemoryTrajectoryView view;
    view.texts[TrajectoryField::D] = T("0.000016788592601");
    view.texts[TrajectoryField::T] = T("0.01");
    view.texts[TrajectoryField::M] = T("0.00745");
    view.texts[TrajectoryField::TiempoTotal] = T("0.0");
    const ResultadosTexts texts = ResultsAfterRun(view);
    EXPECT_EQ(texts.TotalIteraciones, "3481");
    EXPECT_EQ(texts.TTotalVuelo, T("34.81") + " seg.");
    EXPECT_EQ(texts.HMax, T("374.220") + " m.");
    EXPECT_EQ(texts.DistanciaMax, T("91.201") + " m.");
}

TEST(Resultados, AngleZeroRunKeepsTheHeightAtZero) {
    test::MemoryTrajectoryView view;
    view.texts[TrajectoryField::Angulo] = "0";
    EXPECT_EQ(ResultsAfterRun(view).HMax, "0.000 m.");
}

TEST(Resultados, ARunWhoseMassWasEditedToZeroIsRefusedOnItsXText) {
    // A start refuses M = 0; an edit during the run reaches the next step.
    test::MemoryTrajectoryView view;
    RealTrajectory run;
    run.Start(view);
    view.texts[TrajectoryField::M] = "0";
    while (run.GoesOn())
        run.Calcular(view);
    try {
        ResultadosTrayectoriaReal(view.texts.at(TrajectoryField::X), run.State().Iteraciones,
                                  view.texts.at(TrajectoryField::TiempoTotal), run.State().Hmax);
        FAIL() << "an infinite range was read back";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'-INF' is not a valid floating point value");
    }
    EXPECT_EQ(view.texts.at(TrajectoryField::X), "-INF");
    EXPECT_THROW(ResultadosTrayectoriaReal("-INF", 10, "0.1", 1), EConvertError);
}

TEST_P(SideSeparatorTest, DragConstantWorkedValues) {
    const struct {
        const char *densidad, *coeficiente, *diametro, *fixed, *general;
    } rows[] = {
        {"1.0556", "0.5", "9", "0.000016788592601", "1.67885926009675E-5"},
        {"1.0556", "0.5", "-9", "0.000016788592601", "1.67885926009675E-5"}, // the radius is squared
        {"1.0556", "0.5", "0", "0.000000000000000", "0"},
        {"1.2254", "1.0", "100", "0.004812134547136", "0.00481213454713617"},
    };
    for (const auto& row : rows) {
        const ConstanteProporcionalidad d = CalcularConstanteProporcionalidad(
            T(row.densidad), T(row.coeficiente), PiDefaultText(), T(row.diametro));
        EXPECT_EQ(d.VConstanteProporcionalidad, T(row.fixed)) << row.diametro;
        EXPECT_EQ(d.VConstanteProporcionalidadSignificativa, T(row.general)) << row.diametro;
    }
}

TEST_P(SideSeparatorTest, DragConstantListsAreReadBackUnderTheSeparatorInForce) {
    const std::vector<std::string> densidades = DensidadAireItems();
    const std::vector<std::string> coeficientes = CoeficienteArrastreItems();
    ASSERT_EQ(densidades.size(), 14u);
    ASSERT_EQ(coeficientes.size(), 10u);
    EXPECT_EQ(densidades[kDensidadAireDefaultIndex], T("1.0556"));
    EXPECT_EQ(coeficientes[kCoeficienteArrastreDefaultIndex], T("0.5"));
    EXPECT_EQ(densidades.front(), T("1.2254"));
    EXPECT_EQ(densidades.back(), T("0.9082"));
    EXPECT_EQ(coeficientes.back(), T("1.0"));
    EXPECT_EQ(PiDefaultText(), T("3.14159265358979323846"));
    for (const std::string& item : densidades)
        EXPECT_NO_THROW(CalcularConstanteProporcionalidad(item, coeficientes.front(), PiDefaultText(), "9"));
}

TEST(DragConstant, TheFirstTextThatIsNotANumberIsTheOneReported) {
    const struct {
        const char *densidad, *coeficiente, *pi, *diametro, *message;
    } rows[] = {
        {"1,0556", "x", "y", "z", "'1,0556' is not a valid floating point value"},
        {"1.0556", "", "y", "z", "'' is not a valid floating point value"},
        {"1.0556", "0.5", "pi", "z", "'pi' is not a valid floating point value"},
        {"1.0556", "0.5", "3.14", "9mm", "'9mm' is not a valid floating point value"},
    };
    for (const auto& row : rows) {
        try {
            CalcularConstanteProporcionalidad(row.densidad, row.coeficiente, row.pi, row.diametro);
            ADD_FAILURE() << row.message;
        } catch (const EConvertError& e) {
            EXPECT_STREQ(e.what(), row.message);
        }
    }
}

// Under a decimal comma the helps write their numbers as the fields read them.
TEST(DragConstant, HelpNumbersFollowTheSeparators) {
    test::SeparatorGuard comma(',');
    const std::vector<std::string> lines = Lines(AyudaDensidadAire());
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[4], "0m" + std::string(24, ' ') + "1,2254");
    EXPECT_EQ(lines[8], "1.000m" + std::string(17, ' ') + "1,1101");
    EXPECT_NO_THROW(ParseReal(lines[8].substr(lines[8].rfind(' ') + 1)));
    EXPECT_EQ(Lines(AyudaValorPi()).back(), "Ejemplo: Pi = 3,14159265358979323846");
    EXPECT_EQ(Lines(AyudaRadioProyectil())[5], "Ejemplo: Diámetro del proyectil 9mm = 0,009m");
    EXPECT_EQ(Lines(AyudaCoeficienteArrastre()).front(),
              "Valores asignados para el Coeficiente de Arrastre.");
}

TEST(DragConstant, DensityHelpTableLinesUpAsGiven) {
    const std::vector<std::string> lines = Lines(AyudaDensidadAire());
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[0], "Valores de Densidad del Aire (Promedio)");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Altitud (Metros) - Densidad (Kg/m3)");
    EXPECT_EQ(lines[3], std::string(43, '-'));
    EXPECT_EQ(lines[4], "0m" + std::string(24, ' ') + "1.2254");
    EXPECT_EQ(lines[5], "305m" + std::string(20, ' ') + "1.1886");
    EXPECT_EQ(lines[7], "914m" + std::string(20, ' ') + "1.1197");
    EXPECT_EQ(lines[8], "1,000m" + std::string(17, ' ') + "1.1101");
    EXPECT_EQ(lines[17], "3,048m" + std::string(17, ' ') + "0.9082");
}

TEST(DragConstant, OtherHelpTexts) {
    EXPECT_EQ(AyudaCoeficienteArrastre(), "Valores asignados para el Coeficiente de Arrastre.\n"
                                          "Mientras Menor sea su valor, menor fricción entre\n"
                                          "el objeto y el medio fluido (aire) habra.");
    EXPECT_EQ(AyudaRadioProyectil(), "Valor obtenido de la medicion de la base del proyectil.\n"
                                     "\"El valor debe ser introducido en Milímetros\", el programa\n"
                                     "automáticamente lo convertirá a Metros, para conservar\n"
                                     "la proporcionalidad de unidades utilizadas.\n"
                                     "\n"
                                     "Ejemplo: Diámetro del proyectil 9mm = 0.009m\n"
                                     "\n"
                                     "Nota: El programa automáticamente calculara el radio\n"
                                     "Radio calculado del proyectil 4.5mm = 0.0045m");
    EXPECT_EQ(AyudaValorPi(), "\"Pi\" es la relación entre la longitud de una circunferencia y su diametro.\n"
                              "Frecuentemente se refiere a su valor como 3.1416\n"
                              "El programa utiliza su valor con 20 decimales para realizar los calculos,\n"
                              "para incluir las pequeñas variaciones derivadas de ello.\n"
                              "Ejemplo: Pi = 3.14159265358979323846");
    EXPECT_EQ(AyudaConvertirPeso(),
              "Para poder realizar el porceso, es necesario que las unidades a utilizar\n"
              "sean las correspondientes a la ecuación, en este caso el valor \"m\" es\n"
              "el peso del proyectil, usualmente obtenido en Grains o en Gramos el\n"
              "cual debe ser convertido a Kilos.");
}

TEST_P(SideSeparatorTest, MassConversions) {
    const struct {
        const char *valor, *unidad, *kilos;
    } rows[] = {
        {"115", "Grains", "0.0074518735"},
        {"7.45", "Gramos", "0.00745"},
        {"1", "Grains", "6.47989E-5"},
        {"0", "Grains", "0"},
        {"0", "Gramos", "0"},
        {"-10", "Gramos", "-0.01"},
    };
    for (const auto& row : rows) {
        const std::optional<std::string> kilos = ConvertirAKilos(T(row.valor), row.unidad);
        ASSERT_TRUE(kilos.has_value()) << row.valor;
        EXPECT_EQ(*kilos, T(row.kilos)) << row.valor << " " << row.unidad;
    }
}

TEST(MassConversion, UnknownUnitDoesNothingAndABadValueIsReported) {
    EXPECT_EQ(ConvertirAKilos("not read", "Libras"), std::nullopt);
    EXPECT_EQ(ConvertirAKilos("1", "grains"), std::nullopt);
    try {
        ConvertirAKilos("12a", kUnidadGramos);
        FAIL() << "a bad mass was converted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid floating point value");
    }
}

TEST_P(SideSeparatorTest, SpeedConversions) {
    const struct {
        const char *fts, *ms;
    } rows[] = {{"1000", "304.8"}, {"1115.49", "340.001352"}, {"0", "0"}, {"1", "0.3048"}};
    for (const auto& row : rows)
        EXPECT_EQ(ConvertirAMetrosSegundos(T(row.fts)), T(row.ms)) << row.fts;
    EXPECT_THROW(ConvertirAMetrosSegundos(""), EConvertError);
}

TEST(SpeedConversion, ACommaIsRefusedUnderADot) {
    EXPECT_THROW(ConvertirAMetrosSegundos("1115,49"), EConvertError);
}

} // namespace
} // namespace korvo
