// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/Unit8.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextEdit>

namespace korvo {

TForm8* Form8 = nullptr;

QPixmap PortraitPicture() {
    QPixmap picture(189, 417);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient backdrop(0, 0, 0, 417);
    backdrop.setColorAt(0.0, QColor(0xe8, 0xe6, 0xe8));
    backdrop.setColorAt(1.0, QColor(0x9a, 0x98, 0xa0));
    painter.fillRect(picture.rect(), backdrop);

    // A plain head-and-shoulders silhouette, in the strip's dark red.
    const QColor figure(0x4b, 0x07, 0x06);
    painter.setPen(Qt::NoPen);
    painter.setBrush(figure);
    painter.drawEllipse(QRectF(57, 110, 75, 92));
    QPainterPath shoulders;
    shoulders.moveTo(14, 417);
    shoulders.cubicTo(14, 270, 60, 236, 94.5, 236);
    shoulders.cubicTo(129, 236, 175, 270, 175, 417);
    shoulders.closeSubpath();
    painter.drawPath(shoulders);
    painter.drawRect(QRectF(82, 190, 25, 50));

    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    return picture;
}

const QStringList& TForm8::Lines() {
    static const QStringList lines{
        QStringLiteral("K.O.R.V.O. v1.0"),
        QString(),
        QStringLiteral("Programa diseñado y desarrollado por:"),
        QStringLiteral("Ing. Tomás Aldana Ferreira"),
        QStringLiteral("Perito en Balística Forense"),
        QStringLiteral("Laboratorio Regional de Ciencias Forenses"),
        QString(),
        QStringLiteral("Es el resultado de muchos meses de investigación, derivado del análisis de "),
        QStringLiteral("distintos modelos fisicomatemáticos aplicables a la balística exterior."),
        QString(),
        QStringLiteral("Su finalidad es la de realizar los cálculos de las ecuaciones aplicables "),
        QStringLiteral("reduciendo drásticamente  el tiempo que una persona de manera manual "),
        QStringLiteral("tardaría en resolver, realizando miles de iteraciones en cuestión de minutos."),
        QString(),
        QStringLiteral("El software se encuentra en óptimas condiciones para poder trabajar "),
        QStringLiteral("en situaciones en donde el investigador forense requiera calcular la "),
        QStringLiteral("trayectoria real de un proyectil."),
        QString(),
        QStringLiteral("Siendo responsabilidad del usuario final el recolectar los datos necesarios "),
        QStringLiteral("para poder procesarlos correctamente."),
        QString(),
        QStringLiteral("Esperando continuar con la investigación en el campo de la balística, "),
        QStringLiteral("procurare implementar en futuras versiones, mas modelos fisicomatemáticos "),
        QStringLiteral("aplicables a la balística y en los aquí expuestos la actualización y mejora "),
        QStringLiteral("para acelerar su rendimiento, así como también de su plataforma."),
        QString(),
        QStringLiteral("Agradezco a la Dra. Irene Valdivia Soto su paciente asesoría "),
        QStringLiteral("en los modelos físicos del movimiento con resistencia del aire, "),
        QStringLiteral("sin la cual este trabajo no habría sido posible."),
    };
    return lines;
}

QString TForm8::ShownText() {
    const QStringList& lines = Lines();
    QString text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() && !lines[i].endsWith(u' '))
            text += u'\n';
    }
    return text;
}

TForm8::TForm8(QWidget* parent)
    : TChromeWindow(
          ChromeSettings{.windowTitle = QStringLiteral("Acerca del Programa... K.O.R.V.O. [v1.0]"),
                         .stripText = QStringLiteral("Acerca del Programa... K.O.R.V.O. [v1.0] - Junio 2010"),
                         .clientSize = {647, 457},
                         .stripTextLeft = 3,
                         .stripTextWidth = 304,
                         .cerrarLeft = 627,
                         .stripFontFamily = QStringLiteral("MS Sans Serif"),
                         .move = TTitleStrip::Move::OnPointerMotion,
                         .manualSection = QStringLiteral("acerca")},
          parent) {
    setObjectName(QStringLiteral("Form8"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(7, 32, 189, 417);
    Image1->setPixmap(PortraitPicture());
    Image1->setScaledContents(true);

    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setGeometry(203, 43, 436, 396);
    RichEdit1->setFrameShape(QFrame::NoFrame);
    RichEdit1->setFont(WindowFont(QStringLiteral("MS Sans Serif"), 9, true));
    RichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1->setPlainText(ShownText());
    RichEdit1->setAccessibleName(QStringLiteral("Acerca del Programa"));
    // Enabled, so that the wheel and the scroll bar reach the whole text, but
    // it takes no focus, shows no caret and offers nothing to edit or select.
    RichEdit1->setReadOnly(true);
    RichEdit1->setTextInteractionFlags(Qt::NoTextInteraction);
    RichEdit1->setFocusPolicy(Qt::NoFocus);
    RichEdit1->setContextMenuPolicy(Qt::NoContextMenu);
    RichEdit1->viewport()->setCursor(Qt::ArrowCursor);
    QPalette colours = RichEdit1->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, QColor(0, 0, 128));
        colours.setColor(group, QPalette::Base, Qt::white);
    }
    RichEdit1->setPalette(colours);
}

} // namespace korvo
