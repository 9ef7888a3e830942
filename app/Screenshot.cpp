// A helper for the documentation, not part of the program: starts the windows
// as the program does, runs the real-trajectory window with its default inputs
// to the end and saves a picture of that window to the file named by the first
// argument (docs/real-trajectory.png by default).
#include "app/Chrome.h"
#include "app/Messages.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "ballistics/Unit2.h"

#include <QEventLoop>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    korvo::TKorvoApplication application(argc, argv);
    korvo::InstallFontSubstitutions();
    korvo::ReadRegionalSettings();
    korvo::CreateWindows();
    korvo::Form1->show();

    QEventLoop loop;
    korvo::SetMessagePresenter([&loop](const korvo::MessageRequest&) { loop.quit(); });
    korvo::Form2->ShowModal();
    QTimer::singleShot(200, korvo::Form2, [] { korvo::Form2->IniciarCalculos->click(); });
    loop.exec();
    // Let the last paced repaint and chart refresh land before the picture.
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();

    const QString path =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/real-trajectory.png");
    const bool saved = korvo::Form2->grab().save(path, "PNG");
    korvo::DestroyWindows();
    if (!saved) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
