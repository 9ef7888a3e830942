// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Start-up of the program: the application object, the regional settings and
// the program-wide windows.
#include <QApplication>

namespace korvo {

// The application object. Every handler already reports its own failures;
// this is the last net for an exception that escapes one anyway, so that none
// crosses the event loop.
class TKorvoApplication : public QApplication {
    Q_OBJECT
public:
    TKorvoApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Stores the desktop's decimal, thousands, date and time separators in
// CurrentRegionalSettings(), the one place every number text takes them from:
// the windows, the formula texts, the evaluator and the export. The program
// calls it once, before any window. A separator that is not one printable
// ASCII character keeps its default, and a thousands separator that would
// equal the decimal one becomes the other of "." and ",".
void ReadRegionalSettings();

// Creates the windows in their order (main window, real trajectory, drag
// constant, mass converter, velocity converter, results, ideal trajectory,
// about, and the case analysis opened from the real trajectory) and sets
// Form1 .. Form8 and FormCaso. The main window places itself full screen.
void CreateWindows();
// Destroys them in the reverse order and clears the pointers.
void DestroyWindows();

} // namespace korvo
