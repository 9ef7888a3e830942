#include "chrome/HelpWindow.h"

#include <QPointer>
#include <QTextBrowser>

namespace korvo {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

} // namespace

QString ManualSection(const QWidget* window) {
    struct Section {
        const char* objectName;
        const char* anchor;
    };
    static const Section sections[] = {
        {"Form1", "ventana-principal"},   {"Form2", "trayectoria-real"},
        {"Form3", "constante-d"},         {"Form4", "convertir-masa"},
        {"Form5", "convertir-velocidad"}, {"Form6", "resultados"},
        {"Form7", "trayectoria-ideal"},   {"Form8", "acerca"},
    };
    if (window) {
        const QString name = window->window()->objectName();
        for (const Section& section : sections)
            if (name == QLatin1String(section.objectName))
                return QString::fromLatin1(section.anchor);
    }
    return QStringLiteral("inicio");
}

THelpWindow::THelpWindow(QWidget* parent)
    : TChromeWindow({.windowTitle = QStringLiteral("Manual de KORVO"),
                     .stripText = QStringLiteral("Manual de KORVO"),
                     .clientSize = {kWidth, kHeight},
                     .stripTextWidth = kWidth - 30,
                     .cerrarLeft = kWidth - 22},
                    parent) {
    setObjectName(QStringLiteral("FormManual"));
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setGeometry(1, 22, kWidth - 2, kHeight - 23);
    Browser->setFrameShape(QFrame::NoFrame);
    Browser->setOpenExternalLinks(false);
    // The text wraps at the window's width and the pictures are sized to fit;
    // a table a pixel wider than the page must not bring a scroll bar.
    Browser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Browser->setAccessibleName(QStringLiteral("Manual de KORVO"));
    Browser->setSource(kManualUrl);
}

void THelpWindow::ShowSection(const QString& anchor) {
    QUrl url = kManualUrl;
    url.setFragment(anchor);
    Browser->setSource(url);
    ShowModal();
    Browser->setFocus();
}

THelpWindow* ManualWindow() {
    static QPointer<THelpWindow> window;
    if (!window)
        window = new THelpWindow();
    return window;
}

void ShowManual(QWidget* from) {
    // F1 inside the manual leaves it where the reader is.
    if (from && qobject_cast<const THelpWindow*>(from->window()))
        return;
    ManualWindow()->ShowSection(ManualSection(from));
}

} // namespace korvo
