// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The product's logo and the icon drawn from it, so that the main window's
// picture and the desktop's icon never drift apart.
#include <QPixmap>

class QPainter;

namespace korvo {

// The logo's mark, in the logo's own 440 x 260 frame: a fading dashed arc, the
// flight of a projectile from the muzzle to the ground, a sight ring where it
// lands and the ground line. `strokes` multiplies the widths of its lines
// (1 in the logo).
void PaintFlightMark(QPainter& painter, double strokes);

// The product logo shown in the middle of the main window: the mark, the name
// and the subject, on white, 440 x 260 pixels.
QPixmap LogoPicture();

// The program's icon: the logo's mark on a white rounded square whose side is
// `side` units of the painter, drawn the same at any size (48, 128 and 256
// pixels, and as a scalable picture).
void PaintIcon(QPainter& painter, double side);

} // namespace korvo
