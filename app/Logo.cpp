// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace korvo {

namespace {

const QColor kDarkRed(0x4b, 0x07, 0x06);
const QColor kFlightRed(0x9c, 0x06, 0x07);

} // namespace

void PaintFlightMark(QPainter& painter, double strokes) {
    QPainterPath flight;
    flight.moveTo(40, 180);
    flight.cubicTo(140, -20, 300, -20, 400, 180);
    QLinearGradient fade(40, 0, 400, 0);
    fade.setColorAt(0.0, kFlightRed);
    fade.setColorAt(1.0, QColor(kFlightRed.red(), kFlightRed.green(), kFlightRed.blue(), 60));
    painter.setPen(QPen(QBrush(fade), 3 * strokes, Qt::DashLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(flight);

    painter.setPen(QPen(kDarkRed, std::min(2 * strokes, 5.0)));
    painter.drawEllipse(QPointF(400, 180), 14, 14);
    painter.drawLine(QPointF(380, 180), QPointF(420, 180));
    painter.drawLine(QPointF(400, 160), QPointF(400, 200));
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), strokes));
    painter.drawLine(30, 181, 430, 181);
}

QPixmap LogoPicture() {
    QPixmap picture(440, 260);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintFlightMark(painter, 1);

    QFont name(QStringLiteral("Arial"), 40, QFont::Bold);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 6);
    painter.setFont(name);
    painter.setPen(kDarkRed);
    painter.drawText(QRect(0, 92, 440, 70), Qt::AlignCenter, QStringLiteral("KORVO"));

    painter.setFont(QFont(QStringLiteral("Arial"), 10));
    painter.setPen(QColor(0x40, 0x40, 0x40));
    painter.drawText(QRect(0, 200, 440, 24), Qt::AlignCenter, QStringLiteral("Balística Exterior Forense"));
    return picture;
}

void PaintIcon(QPainter& painter, double side) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double margin = side / 32;
    painter.setPen(QPen(kDarkRed, side / 48));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(margin, margin, side - 2 * margin, side - 2 * margin), side / 6, side / 6);

    // The mark spans x 30..430 and y 30..200 of the logo's frame; it is fitted
    // into the square's middle, its strokes four times as thick so that they
    // still read at 48 pixels.
    const double scale = (side - 8 * margin) / 400;
    painter.translate(side / 2 - 230 * scale, side / 2 - 115 * scale);
    painter.scale(scale, scale);
    PaintFlightMark(painter, 4);
    painter.restore();
}

} // namespace korvo
