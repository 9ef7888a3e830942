// SPDX-License-Identifier: GPL-3.0-or-later

// Every number display of the calculator windows at the widest texts a run can
// write (1E+4000, -1E-4000 and their fixed-decimal forms, INF, NAN): what it
// shows fits, and is either the whole text or one of its shorter writings,
// never a text cut at the edge.
#include "GuiTest.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit3.h"
#include "ballistics/Unit4.h"
#include "ballistics/Unit5.h"
#include "ballistics/Unit6.h"
#include "ballistics/Unit7.h"
#include "ballistics/core/NumberText.h"
#include "chrome/Controls.h"
#include "chrome/ShortNumberText.h"

#include <QLabel>
#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace korvo {
namespace {

std::vector<QString> WidestTexts() {
    const Real values[] = {1E4000L,
                           -1E-4000L,
                           -1.23456789012345678E4000L,
                           -1.23456789012345678E-4000L,
                           std::numeric_limits<Real>::infinity(),
                           std::numeric_limits<Real>::quiet_NaN()};
    std::vector<QString> texts;
    for (const Real value : values)
        for (const std::string& text : {NumberToGeneralText(value), NumberToPatternText("0.000", value),
                                        NumberToPatternText("0.000000000000000", value)})
            texts.push_back(ToQString(text));
    return texts;
}

::testing::AssertionResult ShowsAWholeWriting(const QString& text, const QString& shown, int width,
                                              const QFontMetrics& metrics) {
    const std::vector<std::string> shorter = ShorterNumberTexts(ToStdString(text));
    if (shown != text && std::find(shorter.begin(), shorter.end(), ToStdString(shown)) == shorter.end())
        return ::testing::AssertionFailure()
               << "shows " << shown.toStdString() << " for " << text.left(40).toStdString();
    if (metrics.horizontalAdvance(shown) > width)
        return ::testing::AssertionFailure() << shown.toStdString() << " is wider than " << width;
    return ::testing::AssertionSuccess();
}

TEST(Displays, EveryDisplayShowsTheWidestTextsWhole) {
    test::Application();
    TForm2 real;
    TForm3 drag;
    TForm4 mass;
    TForm5 speed;
    TForm6 results;
    TForm7 ideal;
    int displays = 0;
    for (QWidget* window : std::initializer_list<QWidget*>{&real, &drag, &mass, &speed, &results, &ideal}) {
        for (TDisplayField* field : window->findChildren<TDisplayField*>()) {
            ++displays;
            for (const QString& text : WidestTexts()) {
                ShowText(field, text);
                EXPECT_TRUE(
                    ShowsAWholeWriting(text, field->ShownText(), field->width() - 4, field->fontMetrics()))
                    << field->objectName().toStdString();
            }
        }
    }
    EXPECT_GE(displays, 9 + 2 + 12); // the real, drag-constant and ideal windows
    for (QLabel* panel :
         {results.TotalIteraciones, results.TTotalVuelo, results.HMax, results.DistanciaMax}) {
        for (const QString& text : WidestTexts()) {
            ShowFittedText(panel, text + QStringLiteral(" m."));
            EXPECT_TRUE(ShowsAWholeWriting(text + QStringLiteral(" m."), panel->text(),
                                           panel->contentsRect().width(), panel->fontMetrics()))
                << panel->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace korvo
