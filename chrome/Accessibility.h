// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Keyboard and assistive-technology support that no single window owns:
// - every TClickLabel (the main window's menu labels, the close and minimise
//   pictures) presents itself as a button named by its accessible name or its
//   caption, with a press action that clicks it;
// - each chart presents itself as a chart whose description is the one its
//   window gave it followed by the ranges of the points it holds now;
// - each window of the program is presented as a window named by its title
//   strip, with its decorations (pictures without a name, bare frames) left
//   out, as they are from every plain page of controls;
// - a value panel (a framed label) is read as its caption and its value;
// - Shift+F10 and the Menu key open the context menu of the widget in focus, as
//   a right click does, for every widget that has one (the real-trajectory
//   table and chart). The platform's own keyboard context-menu event, which
//   some window systems send after the Menu key, is dropped so that the menu
//   does not open twice.
//
// InstallKeyboardSupport() installs all of it once for the application; every
// window of the program calls it first when it is made, so that no part of a
// window is presented before it is in place.
#include <QString>

class QChartView;
class QWidget;

namespace korvo {

void InstallKeyboardSupport();

// Names every field of `window` (a line edit, a drop-down list, a spin box, a
// value panel) that has no name of its own by its caption, and describes it by
// its unit; names each table by the caption of the frame or the tab it stands
// in. Captions are found by where they stand, so a field added to a window is
// named without more ado:
//   "Vo:" [field] "m/s"           -> name "Vo:", description "m/s"
//   "P" "(Densidad ...):" [list]  -> name "P (Densidad ...):"
//   "Vx:" [field] "m/s" "Vy:" [field]  -> "m/s" is Vx's unit, not part of Vy's name
// The captions also become the fields' buddies, which gives a screen reader the
// "labelled by" relation (a drop-down list is announced by that relation, its
// name being its current item). A name or description that the window set
// itself is kept; one that came from a caption follows the caption when the
// window is shown again. TChromeWindow runs it at every showing.
void NameFieldsByTheirCaptions(QWidget* window);

// Whether a screen reader is spared `widget`: a picture without a name, the
// title strip's picture, or a bare frame (an outline, a panel under the
// controls, a separating line).
bool IsDecoration(const QWidget* widget);

// What a chart tells assistive technology, for example "Trayectoria real: ...
// X de 0 a 91,2 m; Y de -0,26 a 374,2 m (3481 puntos)." under a decimal comma
// or, with no points, the window's description followed by "Sin puntos todavía.".
QString ChartDescription(const QChartView* chart);

} // namespace korvo
