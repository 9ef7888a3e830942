// SPDX-License-Identifier: GPL-3.0-or-later

// The program's start-up under the desktop's regional settings and a user's
// road through the windows with them. ctest runs this program under
// LC_ALL=es_ES.UTF-8 (a decimal comma), fr_FR.UTF-8 (a comma with a grouping
// blank) and C.UTF-8: the same road must show the same texts, in the
// locale's separator, and the same message boxes.
#include "GuiTest.h"
#include "SeparatorGuard.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit3.h"
#include "ballistics/Unit6.h"
#include "ballistics/Unit7.h"
#include "ballistics/core/NumberText.h"
#include "parser/MathParser.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace korvo {
namespace {

class RegionalStartup : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        test::Application();
        saved.emplace();
        ReadRegionalSettings();
        CreateWindows();
    }
    static void TearDownTestSuite() {
        DestroyWindows();
        saved.reset();
    }
    void SetUp() override {
        if (std::getenv("LC_ALL") == nullptr)
            GTEST_SKIP() << "run by ctest under a given LC_ALL";
    }

    // The separator of the locale ctest names, told by a locale of that name
    // rather than by the start-up's own reading.
    static QChar Expected() {
        return QLocale(QString::fromLatin1(std::getenv("LC_ALL")).section(u'.', 0, 0)).decimalPoint().front();
    }
    // A text written with "." in the test, in the separator of the run.
    static QString T(const char* dotText) { return QString::fromUtf8(dotText).replace(u'.', Expected()); }

    static inline std::optional<test::SeparatorGuard> saved;
    test::RecordedMessages messages;
};

TEST_F(RegionalStartup, EvaluatorAndWindowsShareTheDesktopsSeparator) {
    EXPECT_EQ(QChar(CurrentRegionalSettings().DecimalSeparator), Expected());
    EXPECT_EQ(QChar(DecimalSeparator()), Expected());
    EXPECT_NE(CurrentRegionalSettings().ThousandSeparator, CurrentRegionalSettings().DecimalSeparator);
    // What the windows write, the evaluator reads.
    TMathParser parser;
    std::string formula = NumberToGeneralText(0.5L);
    formula.append("*4");
    parser.Parse(formula);
    EXPECT_EQ(parser.Evaluate(), 2.0);
}

TEST_F(RegionalStartup, IdealPlotDrawsToItsEnd) {
    Form1->show();
    QTest::mouseClick(Form1->Label2, Qt::LeftButton);
    ASSERT_TRUE(Form7->isVisible());
    QTest::mouseClick(Form7->CalcularResultados, Qt::LeftButton);
    EXPECT_EQ(Form7->AlcanceMax->text(), T("4792.94"));
    QTest::mouseClick(Form7->Graficar, Qt::LeftButton);
    for (int ticks = 0; Form7->Timer1->isActive() && ticks < 2000; ++ticks)
        Form7->Timer1Timer();
    EXPECT_TRUE(messages.list.empty());
    ASSERT_EQ(Form7->ListModel->rowCount(), 1357);
    const TIdealTableModel::Row& last = Form7->ListModel->At(1356);
    EXPECT_EQ((QStringList{last[0], last[1], last[2]}), (QStringList{T("4792.78"), T("23.74"), T("67.80")}));
    Form7->close();
    Form1->hide();
}

TEST_F(RegionalStartup, RealRunResultsAndExport) {
    test::TemporaryCurrentDirectory directory;
    Form1->show();
    QTest::mouseClick(Form1->Label3, Qt::LeftButton);
    ASSERT_TRUE(Form2->isVisible());
    QTest::mouseClick(Form2->CalcularD, Qt::LeftButton);
    ASSERT_TRUE(Form3->isVisible());
    Form3->VRadioProyectil->setText(QStringLiteral("9"));
    QTest::mouseClick(Form3->CalularConstante, Qt::LeftButton);
    Form3->close();
    EXPECT_EQ(Form2->ValorConstanteProporcionalidad->text(), T("0.000016788592601"));

    QTest::mouseClick(Form2->IniciarCalculos, Qt::LeftButton);
    for (int ticks = 0; Form2->Timer1->isActive() && ticks < 10000; ++ticks)
        Form2->Timer1Timer();
    QTest::mouseClick(Form2->Resultados, Qt::LeftButton);
    EXPECT_EQ(Form6->HMax->text(), T("374.220") + QStringLiteral(" m."));
    Form6->close();
    Form2->ExportarExcel->trigger();
    QStringList texts;
    for (const MessageRequest& message : messages.list)
        texts << message.text;
    EXPECT_EQ(texts, (QStringList{"Proceso Finalizado.", "Archivo Generado Exitosamente"}));
    Form2->LimpiarDatosClick();
    Form2->close();
    Form1->hide();
}

} // namespace
} // namespace korvo
