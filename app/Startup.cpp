// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Startup.h"

#include "app/Unit1.h"
#include "app/Unit8.h"
#include "ballistics/CaseAnalysisWindow.h"
#include "ballistics/Unit2.h"
#include "ballistics/Unit3.h"
#include "ballistics/Unit4.h"
#include "ballistics/Unit5.h"
#include "ballistics/Unit6.h"
#include "ballistics/Unit7.h"
#include "base/RegionalSettings.h"
#include "chrome/Chrome.h"
#include "chrome/Messages.h"

#include <QLocale>

namespace korvo {
namespace {

// A separator the number texts can use: one ASCII character, else the default.
char SingleCharacter(const QString& text, char fallback) {
    if (text.size() == 1 && text.front().unicode() > 0x20 && text.front().unicode() < 0x7f)
        return static_cast<char>(text.front().unicode());
    return fallback;
}

// The first character of a date or time pattern that is not part of a field.
char PatternSeparator(const QString& pattern, char fallback) {
    for (const QChar c : pattern)
        if (!c.isLetter() && !c.isSpace() && c != u'\'')
            return SingleCharacter(QString(c), fallback);
    return fallback;
}

} // namespace

TKorvoApplication::TKorvoApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(kApplicationTitle);
    // The program ends when its main window closes, not when the last window
    // goes away (the other windows only ever hide).
    setQuitOnLastWindowClosed(false);
}

bool TKorvoApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportError(nullptr, error);
    } catch (...) {
        ReportError(nullptr, QStringLiteral("Unexpected error"));
    }
    return false;
}

void ReadRegionalSettings() {
    const QLocale locale = QLocale::system();
    RegionalSettings& settings = CurrentRegionalSettings();
    settings.DecimalSeparator = SingleCharacter(locale.decimalPoint(), settings.DecimalSeparator);
    settings.ThousandSeparator = SingleCharacter(locale.groupSeparator(), settings.ThousandSeparator);
    // A grouping blank (U+202F under fr_FR) keeps the default ",", which would
    // then also be the decimal separator, and "1,000" would read as one.
    if (settings.ThousandSeparator == settings.DecimalSeparator)
        settings.ThousandSeparator = settings.DecimalSeparator == ',' ? '.' : ',';
    settings.DateSeparator =
        PatternSeparator(locale.dateFormat(QLocale::ShortFormat), settings.DateSeparator);
    settings.TimeSeparator =
        PatternSeparator(locale.timeFormat(QLocale::ShortFormat), settings.TimeSeparator);
}

void CreateWindows() {
    Form1 = new TForm1();
    Form2 = new TForm2();
    Form3 = new TForm3();
    Form4 = new TForm4();
    Form5 = new TForm5();
    Form6 = new TForm6();
    Form7 = new TForm7();
    Form8 = new TForm8();
    FormCaso = new TCaseAnalysisWindow();
}

namespace {

template <class Window> void Destroy(Window*& window) {
    delete window;
    window = nullptr;
}

} // namespace

void DestroyWindows() {
    Destroy(FormCaso);
    Destroy(Form8);
    Destroy(Form7);
    Destroy(Form6);
    Destroy(Form5);
    Destroy(Form4);
    Destroy(Form3);
    Destroy(Form2);
    Destroy(Form1);
}

} // namespace korvo
