#include "ballistics/ChartBitmap.h"

#include "ballistics/FileSave.h"

#include <QBuffer>
#include <QChartView>
#include <QImage>
#include <QPainter>

#include <stdexcept>

namespace korvo {

QByteArray ChartBitmap(QChartView& view) {
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
        throw std::runtime_error("Error writing output file");
    return bytes;
}

void WriteChartBitmap(QChartView& view, const QString& path) {
    SaveWholeFile(path, ChartBitmap(view));
}

} // namespace korvo
