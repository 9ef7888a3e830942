#include "app/Startup.h"

#include "app/Chrome.h"
#include "app/Messages.h"
#include "app/Unit1.h"
#include "app/Unit8.h"
#include "ballistics/Unit2.h"
#include "export/RegionalSettings.h"

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
    settings.DateSeparator =
        PatternSeparator(locale.dateFormat(QLocale::ShortFormat), settings.DateSeparator);
    settings.TimeSeparator =
        PatternSeparator(locale.timeFormat(QLocale::ShortFormat), settings.TimeSeparator);
}

void CreateWindows() {
    Form1 = new TForm1();
    Form2 = new TForm2();
    Form8 = new TForm8();
}

void DestroyWindows() {
    delete Form8;
    Form8 = nullptr;
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
}

} // namespace korvo
