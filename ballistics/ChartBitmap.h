// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The chart as a picture: rendered at its on-screen size onto a white bitmap
// and saved as a BMP file.
#include <QByteArray>
#include <QString>

class QChartView;

namespace korvo {

// The BMP file's bytes of the chart as `view` shows it now. Throws
// EFileReplace(Write) when the picture cannot be encoded.
QByteArray ChartBitmap(QChartView& view);

// Saves that picture as `path`, replacing any file of that name whole or not
// at all (SaveWholeFile, with its messages).
void WriteChartBitmap(QChartView& view, const QString& path);

} // namespace korvo
