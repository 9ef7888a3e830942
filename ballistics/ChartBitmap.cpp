// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/ChartBitmap.h"

#include "ballistics/FileSave.h"
#include "base/ReplacingFile.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QGraphicsLayout>
#include <QImage>
#include <QPainter>

#include <cerrno>

namespace korvo {

QByteArray ChartBitmap(QChartView& view) {
    // A flush that changed the axes' labels lays the chart out anew only when
    // the event loop next runs; do it now, so the picture shows the chart as
    // the screen does once it has caught up, not the layout of its last labels.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QGraphicsLayout* layout = view.chart()->layout())
        layout->activate();
    QImage image(view.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        view.render(&painter);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw EFileReplace(EFileReplace::Step::Write, EIO);
    return bytes;
}

void WriteChartBitmap(QChartView& view, const QString& path) {
    SaveRendered(path, [&] { return ChartBitmap(view); });
}

} // namespace korvo
