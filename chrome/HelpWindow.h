#pragma once
// The manual, built into the program, in a read-only window. F1 from any window
// opens it at the section about that window.
//
//   ShowManual(Form2);   // the manual, scrolled to "trayectoria-real"
//
// The manual is docs/manual.html with its pictures, compiled in as the resource
// ":/docs/manual.html". Each window is known by its object name (Form1 .. Form8);
// a window without a section of its own opens the manual at its beginning.
#include "chrome/Chrome.h"

#include <QString>
#include <QUrl>

class QTextBrowser;

namespace korvo {

// Where the manual lives inside the program.
inline const QUrl kManualUrl = QUrl(QStringLiteral("qrc:/docs/manual.html"));

// The anchor of the section that explains `window` ("ventana-principal" for the
// main window, "trayectoria-real" for the real-trajectory window, ...), or "inicio".
QString ManualSection(const QWidget* window);

class THelpWindow : public TChromeWindow {
    Q_OBJECT
public:
    explicit THelpWindow(QWidget* parent = nullptr);

    // Shows the manual scrolled to the section with the given anchor.
    void ShowSection(const QString& anchor);

    QTextBrowser* Browser;
};

// The one help window, made on first use.
THelpWindow* ManualWindow();

// Opens the manual, on top of the window `from` belongs to, at that window's section.
void ShowManual(QWidget* from);

} // namespace korvo
