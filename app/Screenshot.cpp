// SPDX-License-Identifier: GPL-3.0-or-later

// A helper for the documentation, not part of the program: starts the windows
// as the program does and draws each of them into the folder named by the first
// argument (docs by default), as the manual shows them: the main window, the
// real-trajectory window after a run with its default inputs and that run's
// results, the drag-constant and converter windows as they open, the case
// analysis of those inputs with the angle to 1 degree and Vo to 5 m/s, the
// ideal-trajectory window after its default plot, and the about window.
// scripts/manual-pictures builds it and runs it on the offscreen platform.
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
#include "chrome/Chrome.h"
#include "chrome/Messages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

// Lets the event loop run until `done` holds (checked every 10 ms) and then a
// little longer, so that the last paced repaint and chart refresh land.
void RunUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(10);
    loop.exec();
    poll.stop();
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

bool SavePicture(const QPixmap& picture, const QString& path) {
    if (picture.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "could not write %s\n", qPrintable(path));
    return false;
}

// The window at its own size, and drawn again at twice it ("name@2x.png") for
// screens that double their pixels, which the manual's viewer picks by name.
bool Save(QWidget* window, const QDir& folder, const char* name) {
    const QString file = QString::fromLatin1(name);
    QPixmap doubled(window->size() * 2);
    doubled.setDevicePixelRatio(2);
    window->render(&doubled);
    return SavePicture(window->grab(), folder.filePath(file)) &
           SavePicture(doubled, folder.filePath(QString(file).replace(QStringLiteral(".png"),
                                                                      QStringLiteral("@2x.png"))));
}

bool SaveShown(korvo::TChromeWindow* window, const QDir& folder, const char* name) {
    window->ShowModal();
    RunUntil([] { return true; });
    const bool saved = Save(window, folder, name);
    window->close();
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    korvo::TKorvoApplication application(argc, argv);
    korvo::InstallFontSubstitutions();
    korvo::ReadRegionalSettings();
    korvo::CreateWindows();
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    int messages = 0;
    korvo::SetMessagePresenter([&messages](const korvo::MessageRequest&) { ++messages; });

    bool saved = true;
    korvo::Form1->show();
    RunUntil([] { return true; });
    saved &= Save(korvo::Form1, folder, "main-window.png");

    korvo::Form2->ShowModal();
    korvo::Form2->IniciarCalculos->click();
    RunUntil([&] { return messages > 0; }); // "Proceso Finalizado."
    saved &= Save(korvo::Form2, folder, "real-trajectory.png");
    saved &= SaveShown(korvo::Form6, folder, "results.png");
    saved &= SaveShown(korvo::Form3, folder, "drag-constant.png");
    saved &= SaveShown(korvo::Form4, folder, "mass-converter.png");
    saved &= SaveShown(korvo::Form5, folder, "velocity-converter.png");
    korvo::FormCaso->ShowModal();
    korvo::FormCaso->TolAngulo->setText(QStringLiteral("1"));
    korvo::FormCaso->TolVo->setText(QStringLiteral("5"));
    korvo::FormCaso->Calcular->click();
    RunUntil([] { return !korvo::FormCaso->Running(); });
    saved &= Save(korvo::FormCaso, folder, "case-analysis.png");
    korvo::FormCaso->close();
    korvo::Form2->close();

    korvo::Form7->ShowModal();
    korvo::Form7->CalcularResultados->click();
    korvo::Form7->Graficar->click();
    RunUntil([] { return !korvo::Form7->Timer1->isActive(); });
    saved &= Save(korvo::Form7, folder, "ideal-trajectory.png");
    korvo::Form7->close();

    saved &= SaveShown(korvo::Form8, folder, "about.png");
    korvo::DestroyWindows();
    return saved ? 0 : 1;
}
