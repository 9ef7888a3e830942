// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keyboard and assistive-technology support that no single window owns:
// - every TClickLabel (the main window's menu labels, the close and minimise
//   pictures) presents itself as a button named by its accessible name or its
//   caption, with a press action that clicks it;
// - each chart presents itself as a chart whose description is the one its
//   window gave it followed by the ranges of the points it holds now;
// - Shift+F10 and the Menu key open the context menu of the widget in focus, as
//   a right click does, for every widget that has one (the real-trajectory
//   table and chart). The platform's own keyboard context-menu event, which
//   some window systems send after the Menu key, is dropped so that the menu
//   does not open twice.
//
// InstallKeyboardSupport() installs all of it once for the application; the
// main window calls it when it is made, so every window of the program has it.
#include <QString>

class QChartView;

namespace korvo {

void InstallKeyboardSupport();

// What a chart tells assistive technology, for example "Trayectoria real: ...
// X de 0 a 91.2 m; Y de -0.26 a 374.2 m (3481 puntos)." or, with no points,
// the window's description followed by "Sin puntos todavía.".
QString ChartDescription(const QChartView* chart);

} // namespace korvo
