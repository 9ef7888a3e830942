// SPDX-License-Identifier: GPL-3.0-or-later

#include "SeparatorGuard.h"
#include "ballistics/core/Calculators.h"
#include "ballistics/core/IdealPlot.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>
#include <vector>

namespace korvo {
namespace {

using F = IdealField;
using Row = std::array<std::string, 3>;

// The ideal-trajectory window's texts, table and chart kept in memory, with the
// texts of its first showing.
class MemoryIdealView : public IdealView {
public:
    MemoryIdealView() {
        texts = {{F::VelocidadInicial, "340"},
                 {F::Angulo, "78"},
                 {F::AlturaDisparo, "0"},
                 {F::DistanciaDisparo, "0"},
                 {F::IntervaloIteraciones, "50"}};
        for (F field : {F::TAlturaMaxima, F::TCaida, F::TTVuelo, F::AlturaMax, F::AlcanceMax,
                        F::VFinalImpacto, F::Items, F::TiempoTranscurrido, F::ResultadoX, F::ResultadoY})
            texts.emplace(field, "0");
        texts.emplace(F::CalcularX, "");
        texts.emplace(F::CalcularY, "");
    }
    std::string Text(F field) const override { return texts.at(field); }
    void SetText(F field, const std::string& text) override {
        texts[field] = text;
        writes.push_back(field);
    }
    void ClearTable() override { rows.clear(); }
    void AppendRow(const std::string& x, const std::string& y, const std::string& t) override {
        rows.push_back({x, y, t});
    }
    void RemoveLastRow() override {
        if (!rows.empty())
            rows.pop_back();
    }
    void AddChartPoint(double x, double y) override { points.emplace_back(x, y); }
    void ClearChart() override { points.clear(); }

    std::map<F, std::string> texts;
    std::vector<F> writes;
    std::vector<Row> rows;
    std::vector<std::pair<double, double>> points;
};

// Computes a formula of brackets, "+", "-", "*" and numbers by hand, as the
// window's evaluator does for the texts the plot builds. Numbers are read with
// ParseReal, so they follow the separator in force.
class StubEvaluator {
public:
    double operator()(const std::string& text) {
        ++calls;
        text_ = text;
        pos_ = 0;
        const long double value = Sum();
        if (pos_ != text_.size())
            throw std::runtime_error("unexpected text after a formula");
        return static_cast<double>(value);
    }
    int calls = 0;

private:
    long double Sum() {
        long double value = Product();
        while (pos_ < text_.size() && (text_[pos_] == '+' || text_[pos_] == '-')) {
            const char op = text_[pos_++];
            const long double rhs = Product();
            value = op == '+' ? value + rhs : value - rhs;
        }
        return value;
    }
    long double Product() {
        long double value = Factor();
        while (pos_ < text_.size() && text_[pos_] == '*') {
            ++pos_;
            value *= Factor();
        }
        return value;
    }
    long double Factor() {
        if (pos_ < text_.size() && text_[pos_] == '-') {
            ++pos_;
            return -Factor();
        }
        if (pos_ < text_.size() && text_[pos_] == '(') {
            ++pos_;
            const long double value = Sum();
            if (pos_ >= text_.size() || text_[pos_] != ')')
                throw std::runtime_error("missing ')'");
            ++pos_;
            return value;
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ')' && text_[pos_] != '*' && text_[pos_] != '+' &&
               text_[pos_] != '-')
            ++pos_;
        return ParseReal(text_.substr(start, pos_ - start));
    }
    std::string text_;
    std::size_t pos_ = 0;
};

class IdealTest : public ::testing::TestWithParam<char> {
protected:
    test::SeparatorGuard separator{GetParam()};
    static std::string T(const std::string& text) { return BuiltInNumberText(text); }

    // "&Calcular", then "&Generar Grafica" and its ticks until the plot ends;
    // returns the number of ticks.
    int PlotToEnd(int tickLimit = 100000) {
        calculator.CalcularResultados(view);
        plot.GraficarClick(view);
        int ticks = 1;
        while (plot.Timer1Timer(view, calculator.State()) && ticks < tickLimit)
            ++ticks;
        return ticks;
    }

    MemoryIdealView view;
    IdealCalculator calculator;
    StubEvaluator evaluator;
    IdealPlot plot{[this](const std::string& text) { return evaluator(text); }};
};

INSTANTIATE_TEST_SUITE_P(BothSeparators, IdealTest, ::testing::Values('.', ','));

TEST_P(IdealTest, ClosedFormValues) {
    const struct {
        const char *speed, *angle, *t1, *h, *t2, *flight, *range, *impact;
    } rows[] = {
        {"340", "78", "33.90", "5637.25", "33.90", "67.80", "4792.94", "339.99"},
        {"340", "45", "24.51", "2945.97", "24.51", "49.01", "11783.89", "340.02"},
        {"340", "0", "0.00", "0.00", "0.00", "0.00", "0.00", "340.00"},
        {"340", "78.5", "33.96", "5657.76", "33.96", "67.93", "4604.33", "339.97"},
        {"0", "78", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00"},
    };
    for (const auto& row : rows) {
        view.texts[F::VelocidadInicial] = T(row.speed);
        view.texts[F::Angulo] = T(row.angle);
        calculator.CalcularResultados(view);
        EXPECT_EQ(view.texts[F::TAlturaMaxima], T(row.t1)) << row.angle;
        EXPECT_EQ(view.texts[F::AlturaMax], T(row.h)) << row.angle;
        EXPECT_EQ(view.texts[F::TCaida], T(row.t2)) << row.angle;
        EXPECT_EQ(view.texts[F::TTVuelo], T(row.flight)) << row.angle;
        EXPECT_EQ(view.texts[F::AlcanceMax], T(row.range)) << row.angle;
        EXPECT_EQ(view.texts[F::VFinalImpacto], T(row.impact)) << row.angle;
    }
}

TEST(IdealCalculator, WritesInOrderAndResetsTheCounters) {
    MemoryIdealView view;
    view.texts[F::Items] = "950";
    view.texts[F::TiempoTranscurrido] = "00.95";
    view.rows.push_back({"1", "2", "3"});
    IdealCalculator calculator;
    calculator.CalcularResultados(view);
    const std::vector<F> order = {
        F::Items,   F::TiempoTranscurrido, F::TAlturaMaxima, F::AlturaMax, F::TCaida,
        F::TTVuelo, F::AlcanceMax,         F::VFinalImpacto};
    EXPECT_EQ(view.writes, order);
    EXPECT_EQ(view.texts[F::Items], "0");
    EXPECT_EQ(view.texts[F::TiempoTranscurrido], "0");
    EXPECT_TRUE(view.rows.empty());
    EXPECT_NEAR(static_cast<double>(calculator.State().Seno), 0.978147600733806, 1e-15);
    EXPECT_NEAR(static_cast<double>(calculator.State().Coseno), 0.207911690817759, 1e-15);
}

TEST(IdealCalculator, FallTimeComesFromTheDisplayedHeight) {
    MemoryIdealView view;
    view.texts[F::AlturaMax] = "5637.25";
    IdealCalculator calculator;
    calculator.TiempoCaidaAlturaMaxima(view);
    EXPECT_EQ(view.texts[F::TCaida], "33.90");
    view.texts[F::AlturaMax] = "5637.254999";
    calculator.TiempoCaidaAlturaMaxima(view);
    EXPECT_EQ(view.texts[F::TCaida], "33.90");
}

TEST(IdealCalculator, ABadInputStopsWhereItIsRead) {
    // A bad speed: the counters are reset and the table emptied, the results
    // keep their texts.
    MemoryIdealView view;
    view.texts[F::VelocidadInicial] = "34O";
    view.texts[F::Items] = "100";
    view.rows.push_back({"1", "2", "3"});
    IdealCalculator calculator;
    try {
        calculator.CalcularResultados(view);
        FAIL() << "a bad speed was accepted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'34O' is not a valid floating point value");
    }
    EXPECT_EQ(view.texts[F::Items], "0");
    EXPECT_TRUE(view.rows.empty());
    for (F field : {F::TAlturaMaxima, F::AlturaMax, F::TCaida, F::TTVuelo, F::AlcanceMax, F::VFinalImpacto})
        EXPECT_EQ(view.texts[field], "0");

    // A bad angle stops before anything is written.
    MemoryIdealView angleView;
    angleView.texts[F::Angulo] = "";
    angleView.rows.push_back({"1", "2", "3"});
    EXPECT_THROW(calculator.CalcularResultados(angleView), EConvertError);
    EXPECT_TRUE(angleView.writes.empty());
    EXPECT_EQ(angleView.rows.size(), 1u);
}

TEST_P(IdealTest, FirstTickOfTheDefaultPlot) {
    calculator.CalcularResultados(view);
    plot.GraficarClick(view);
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0], (Row{T("0.00"), T("0.00"), "0"}));
    EXPECT_TRUE(view.points.empty());

    EXPECT_TRUE(plot.Timer1Timer(view, calculator.State()));
    EXPECT_EQ(view.texts[F::CalcularX], T("(0)+(340)*(0.207911690817759)*(00.05)"));
    EXPECT_EQ(view.texts[F::CalcularY],
              T("(0)+(340)*(0.978147600733806)*(00.05)-(0.5)*(9.80)*((00.05)*(00.05))"));
    EXPECT_EQ(view.texts[F::ResultadoX], T("3.53"));
    EXPECT_EQ(view.texts[F::ResultadoY], T("16.62"));
    EXPECT_EQ(view.texts[F::Items], "50");
    EXPECT_EQ(view.texts[F::TiempoTranscurrido], T("00.05"));
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[1], (Row{T("3.53"), T("16.62"), T("00.05")}));
    ASSERT_EQ(view.points.size(), 1u);
    EXPECT_EQ(evaluator.calls, 2);
}

TEST_P(IdealTest, DefaultPlotEndsAtTheFlightTime) {
    const int ticks = PlotToEnd();
    EXPECT_EQ(ticks, 1357);
    ASSERT_EQ(view.rows.size(), 1357u); // the launch row and 1356 points
    EXPECT_EQ(view.rows.back(), (Row{T("4792.78"), T("23.74"), T("67.80")}));
    EXPECT_EQ(view.rows[view.rows.size() - 2][2], T("67.75"));
    // The final tick charts the last point a second time.
    ASSERT_EQ(view.points.size(), 1357u);
    EXPECT_EQ(view.points[1355], view.points[1356]);
    EXPECT_EQ(view.texts[F::Items], "67800");
}

TEST_P(IdealTest, AngleZeroEndsAfterOneTickWithTheLaunchPoint) {
    view.texts[F::Angulo] = "0";
    EXPECT_EQ(PlotToEnd(), 1);
    ASSERT_EQ(view.rows.size(), 1u);
    EXPECT_EQ(view.rows[0], (Row{T("0.00"), T("0.00"), T("00.00")}));
    EXPECT_EQ(view.texts[F::Items], "0");
}

TEST_P(IdealTest, ShownTimesAreTheClockRoundedToHundredths) {
    view.texts[F::IntervaloIteraciones] = "33";
    calculator.CalcularResultados(view);
    plot.GraficarClick(view);
    for (int i = 0; i < 3; ++i)
        plot.Timer1Timer(view, calculator.State());
    ASSERT_EQ(view.rows.size(), 4u);
    EXPECT_EQ(view.rows[1][2], T("00.03"));
    EXPECT_EQ(view.rows[2][2], T("00.07"));
    EXPECT_EQ(view.rows[3][2], T("00.10"));
    EXPECT_EQ(view.texts[F::Items], "99");
}

TEST_P(IdealTest, LaunchPositionShiftsEveryPointButNotTheEnd) {
    view.texts[F::DistanciaDisparo] = "100";
    view.texts[F::AlturaDisparo] = "10";
    const int ticks = PlotToEnd();
    EXPECT_EQ(ticks, 1357);
    EXPECT_EQ(view.rows.front(), (Row{T("100.00"), T("10.00"), "0"}));
    EXPECT_EQ(view.rows[1], (Row{T("103.53"), T("26.62"), T("00.05")}));
    EXPECT_EQ(view.rows.back(), (Row{T("4892.78"), T("33.74"), T("67.80")}));
}

TEST_P(IdealTest, NinetyDegreesKeepsXAtTheLaunchDistance) {
    view.texts[F::Angulo] = "90";
    view.texts[F::DistanciaDisparo] = "100";
    calculator.CalcularResultados(view);
    plot.GraficarClick(view);
    plot.Timer1Timer(view, calculator.State());
    EXPECT_EQ(view.texts[F::CalcularX], T("(100)+(340)*(-0.0000000000000000000250827880633417)*(00.05)"));
    EXPECT_EQ(view.texts[F::CalcularY], T("(0)+(340)*(1)*(00.05)-(0.5)*(9.80)*((00.05)*(00.05))"));
    EXPECT_EQ(view.texts[F::ResultadoX], T("100.00"));
    EXPECT_EQ(view.rows.back()[0], T("100.00"));
}

TEST_P(IdealTest, FactorTexts) {
    const struct {
        long double value;
        const char* text;
    } rows[] = {
        {0.207911690817759L, "0.207911690817759"},
        {-0.5L, "-0.5"},
        {1, "1"},
        {0, "0"},
        {0.0001L, "0.0001"}, // plain already
        {0.00005L, "0.00005"},
        {-0.0000123456789012345L, "-0.0000123456789012345"},
        {6.1e-17L, "0.000000000000000061"},
        {1e20L, "1E20"}, // a positive exponent stays as it is
    };
    for (const auto& row : rows)
        EXPECT_EQ(IdealPlot::FactorText(row.value), T(row.text)) << row.text;
}

TEST_P(IdealTest, AnIntervalThatIsNotAWholeNumberAboveZeroIsRefusedFirst) {
    calculator.CalcularResultados(view);
    for (const char* intervalo : {"0", "-5", "7.5", "", "abc", "99999999999"}) {
        view.texts[F::IntervaloIteraciones] = T(intervalo);
        view.texts[F::DistanciaDisparo] = "not read";
        try {
            plot.GraficarClick(view);
            ADD_FAILURE() << "interval '" << intervalo << "' accepted";
        } catch (const EConvertError&) {
            ADD_FAILURE() << "interval '" << intervalo << "' reported as a conversion error";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), kIntervaloInvalido) << intervalo;
        }
        EXPECT_TRUE(view.rows.empty()) << intervalo;
    }
    view.texts[F::IntervaloIteraciones] = " +1";
    view.texts[F::DistanciaDisparo] = "0";
    EXPECT_NO_THROW(plot.GraficarClick(view));
}

TEST(IdealPlot, ABadLaunchFieldStopsBeforeTheLaunchRow) {
    MemoryIdealView view;
    view.texts[F::AlturaDisparo] = "1O";
    IdealPlot plot([](const std::string&) { return 0.0; });
    try {
        plot.GraficarClick(view);
        FAIL() << "a bad height was accepted";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'1O' is not a valid floating point value");
    }
    EXPECT_TRUE(view.rows.empty());
}

TEST(IdealPlot, AFailingTickKeepsWhatItWroteBeforeTheFailure) {
    MemoryIdealView view;
    IdealCalculator calculator;
    calculator.CalcularResultados(view);
    StubEvaluator evaluator;
    IdealPlot plot([&evaluator](const std::string& text) { return evaluator(text); });
    plot.GraficarClick(view);
    plot.Timer1Timer(view, calculator.State());

    // The speed edited to a non-number during the plot: the clock and the X
    // formula are written, then the evaluator refuses it.
    view.texts[F::VelocidadInicial] = "34x0";
    EXPECT_THROW(plot.Timer1Timer(view, calculator.State()), std::runtime_error);
    EXPECT_EQ(view.texts[F::Items], "100");
    EXPECT_EQ(view.texts[F::CalcularX], "(0)+(34x0)*(0.207911690817759)*(00.10)");
    EXPECT_EQ(view.rows.size(), 2u);

    // An interval edited to a fraction, to 0 (the clock would stand still) or
    // below (it would run backwards): refused as at "&Generar Grafica", and
    // nothing moves.
    view.texts[F::VelocidadInicial] = "340";
    for (const char* intervalo : {"2.5", "0", "-1"}) {
        view.texts[F::IntervaloIteraciones] = intervalo;
        try {
            plot.Timer1Timer(view, calculator.State());
            ADD_FAILURE() << "interval '" << intervalo << "' accepted at a tick";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), kIntervaloInvalido) << intervalo;
        }
        EXPECT_EQ(view.texts[F::Items], "100") << intervalo;
        EXPECT_EQ(view.rows.size(), 2u) << intervalo;
    }
}

TEST_P(IdealTest, ReiniciarValoresClearsEverything) {
    PlotToEnd(10);
    plot.ReiniciarValores(view);
    EXPECT_TRUE(view.rows.empty());
    EXPECT_TRUE(view.points.empty());
    EXPECT_EQ(view.texts[F::IntervaloIteraciones], "50");
    for (const auto& [field, text] : view.texts)
        if (field != F::IntervaloIteraciones) {
            EXPECT_EQ(text, "0") << static_cast<int>(field);
        }

    // The cleared fields are read back by the next calculation and plot.
    view.texts[F::VelocidadInicial] = "340";
    view.texts[F::Angulo] = "78";
    EXPECT_EQ(PlotToEnd(), 1357);
}

} // namespace
} // namespace korvo
