// SPDX-License-Identifier: GPL-3.0-or-later

// KORVO: start-up. With a command as its first argument the program runs it
// from the command line and opens no window. Otherwise the windows are created
// once, the main window is shown and the event loop runs until the main window
// closes.
#include "app/CommandLine.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "chrome/Chrome.h"

int main(int argc, char** argv) {
    if (korvo::IsCommandLine(argc, argv))
        return korvo::RunCommandLine(argc, argv);
    korvo::TKorvoApplication application(argc, argv);
    korvo::InstallFontSubstitutions();
    korvo::ReadRegionalSettings();
    korvo::CreateWindows();
    QObject::connect(korvo::Form1, &korvo::TForm1::closed, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    korvo::Form1->show();
    const int result = application.exec();
    korvo::DestroyWindows();
    return result;
}
