// KORVO: start-up. The windows are created once, the main window is shown and
// the event loop runs until the main window closes.
#include "app/Chrome.h"
#include "app/Startup.h"
#include "app/Unit1.h"

int main(int argc, char** argv) {
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
