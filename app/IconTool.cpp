// SPDX-License-Identifier: GPL-3.0-or-later

// A build step, not part of the program: draws the program's icon from its
// logo into the folder named by the first argument, as korvo.svg (scalable)
// and korvo-48.png, korvo-128.png and korvo-256.png.
#include "app/Logo.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: korvo_icon FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const int side : {48, 128, 256}) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        korvo::PaintIcon(painter, side);
        painter.end();
        ok = image.save(folder.filePath(QStringLiteral("korvo-%1.png").arg(side)), "PNG") && ok;
    }
    QSvgGenerator svg;
    svg.setFileName(folder.filePath(QStringLiteral("korvo.svg")));
    svg.setSize(QSize(256, 256));
    svg.setViewBox(QRect(0, 0, 256, 256));
    svg.setTitle(QStringLiteral("KORVO"));
    QPainter painter;
    ok = painter.begin(&svg) && ok;
    if (painter.isActive()) {
        korvo::PaintIcon(painter, 256);
        painter.end();
    }
    if (!ok) {
        std::fprintf(stderr, "korvo_icon: could not write the icon into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
