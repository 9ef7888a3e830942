// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/RunReportPdf.h"

#include "ballistics/FileSave.h"
#include "ballistics/ReportMetadata.h"
#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/core/RunChecks.h"
#include "ballistics/core/SelfCheck.h"
#include "base/BuildStamp.h"

#include <QAbstractAxis>
#include <QBuffer>
#include <QChart>
#include <QCryptographicHash>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLocale>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace korvo {

namespace {

using Columns = std::array<QString, TrajectoryTableModel::kColumnCount>;

// Points per inch; the page is laid out in device units at this resolution.
constexpr int kResolution = 300;
constexpr qreal kMarginMillimetres = 15;
// The table's type shrinks from this size until its widest row fits the page.
constexpr qreal kTablePointSize = 8;
const QSizeF kChartSize(kRealTrajectoryChartSize);

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The text shaper joins "fi" and "fl" into one ligature glyph, which a reader
// of the PDF gets back as one character ("Identiﬁcación"), and then a search
// for the word fails. A letter spacing that is not zero turns ligatures off;
// this one, a sixty-fourth of a device pixel, moves nothing visibly.
void NoLigatures(QFont& font) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0 / 64);
}

QFont SansFont(qreal points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    NoLigatures(font);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// The table and the digest are set in a fixed-pitch face, so that a row is one
// string whose columns line up and a reader gets each row back as one line.
QFont MonoFont(qreal points, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    NoLigatures(font);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

Columns Captions() {
    Columns captions;
    for (int c = 0; c < TrajectoryTableModel::kColumnCount; ++c)
        captions[c] = QString::fromUtf8(TrajectoryTableModel::Columns()[c].caption);
    return captions;
}

// Lays out the pages from top to bottom. It runs twice over the same content:
// first without a painter, only to count the pages, then painting, so that
// every footer can say "Página n de N".
class Pages {
public:
    Pages(QPdfWriter& writer, QPainter* painter, int total, std::function<void()> afterPage,
          QString footerText)
        : writer_(writer), painter_(painter), total_(total), afterPage_(std::move(afterPage)),
          footer_(SansFont(7)), footerText_(std::move(footerText)), width_(writer.width()) {
        bottom_ = writer.height() - 2 * Metrics(footer_).lineSpacing();
    }

    qreal Width() const { return width_; }
    qreal Room() const { return bottom_ - y_; }
    qreal Y() const { return y_; }
    int Count() const { return page_; }
    QPainter* Painter() const { return painter_; }
    QFontMetricsF Metrics(const QFont& font) const { return QFontMetricsF(font, &writer_); }

    void EnsureRoom(qreal height) {
        if (y_ > 0 && height > Room())
            NewPage();
    }
    void NewPage() {
        Footer();
        if (painter_) {
            writer_.newPage();
            if (afterPage_)
                afterPage_();
        }
        ++page_;
        y_ = 0;
    }
    void Finish() { Footer(); }
    // Lets the caller's window handle its events after a long piece of work.
    void AfterWork() const {
        if (painter_ && afterPage_)
            afterPage_();
    }
    void Skip(qreal height) { y_ += height; }

    qreal ParagraphHeight(const QString& text, const QFont& font, qreal indent = 0) const {
        return Metrics(font)
            .boundingRect(QRectF(0, 0, width_ - indent, 1e9), Qt::TextWordWrap, text)
            .height();
    }
    // A word-wrapped paragraph, moved whole to the next page when it does not fit.
    void Paragraph(const QString& text, const QFont& font, qreal indent = 0) {
        const qreal height = ParagraphHeight(text, font, indent);
        EnsureRoom(height);
        if (painter_) {
            painter_->setFont(font);
            painter_->drawText(QRectF(indent, y_, width_ - indent, height), Qt::TextWordWrap, text);
        }
        y_ += height + Metrics(font).lineSpacing() * 0.25;
    }
    // One line of cells, each starting at its fraction of the width.
    void Cells(const std::vector<QString>& cells, const std::vector<qreal>& at, const QFont& font) {
        const QFontMetricsF metrics = Metrics(font);
        EnsureRoom(metrics.lineSpacing());
        if (painter_) {
            painter_->setFont(font);
            for (std::size_t i = 0; i < cells.size(); ++i)
                painter_->drawText(QPointF(at[i] * width_, y_ + metrics.ascent()), cells[i]);
        }
        y_ += metrics.lineSpacing();
    }
    void Rule() {
        if (painter_) {
            painter_->setPen(QPen(Qt::black, kResolution / 300.0));
            painter_->drawLine(QPointF(0, y_), QPointF(width_, y_));
        }
    }

private:
    void Footer() {
        if (!painter_)
            return;
        const QFontMetricsF metrics = Metrics(footer_);
        const qreal base = writer_.height() - metrics.descent();
        painter_->setFont(footer_);
        painter_->drawText(QPointF(0, base), footerText_);
        const QString number = QStringLiteral("Página %1 de %2").arg(page_).arg(total_);
        painter_->drawText(QPointF(width_ - metrics.horizontalAdvance(number), base), number);
    }

    QPdfWriter& writer_;
    QPainter* painter_;
    int total_;
    std::function<void()> afterPage_;
    QFont footer_;
    QString footerText_;
    qreal width_;
    qreal bottom_ = 0;
    qreal y_ = 0;
    int page_ = 1;
};

// Everything the report prints, worked out once before either pass.
struct Content {
    const RunReportSource& source;
    RunReportFigures figures;
    QString digest;
    QString selfCheck;                                            // the self-check's verdict for this build
    std::array<int, TrajectoryTableModel::kColumnCount> widths{}; // in characters
    QFont tableFont;
    QFont tableBold;
};

QString Fixed(const char* pattern, Real x) {
    return Q(NumberToPatternText(pattern, x));
}

void Heading(Pages& pages, const QString& text) {
    const QFont font = SansFont(11, true);
    // A heading never ends a page: it keeps at least three lines after it.
    pages.EnsureRoom(pages.Metrics(font).lineSpacing() * 1.5 + pages.Metrics(SansFont(9)).lineSpacing() * 3);
    pages.Skip(pages.Metrics(font).lineSpacing() * 0.5);
    pages.Paragraph(text, font);
}

// The writing time in ISO 8601 with its offset from UTC: 2026-12-10 13:36:55 +01:00.
QString IsoDateTime(const QDateTime& when) {
    const int offset = when.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return QLocale::c().toString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss ")) +
           QStringLiteral("%1%2:%3")
               .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString SeparatorText() {
    const QString separator = Q(DecimalSeparatorInForce());
    return QStringLiteral("\"%1\" (%2)")
        .arg(separator, separator == QStringLiteral(".") ? QStringLiteral("punto") : QStringLiteral("coma"));
}

void Identification(Pages& pages, const Content& c) {
    pages.Paragraph(QStringLiteral("Informe de Trayectoria Real"), SansFont(16, true));
    Heading(pages, QStringLiteral("1. Identificación"));
    const QFont body = SansFont(9);
    const std::vector<qreal> at{0, 0.35};
    const RunCaseFields& caso = c.source.Caso;
    if (!caso.Expediente.empty())
        pages.Cells({QStringLiteral("Expediente:"), Q(caso.Expediente)}, at, body);
    if (!caso.Perito.empty())
        pages.Cells({QStringLiteral("Perito:"), Q(caso.Perito)}, at, body);
    pages.Cells({QStringLiteral("Programa:"),
                 QStringLiteral("KORVO (Korvatek), versión %1, compilado del commit %2")
                     .arg(QString::fromUtf8(ProgramVersion()), QString::fromUtf8(ProgramCommit()))},
                at, body);
    pages.Cells({QStringLiteral("Autocomprobación (KORVO selfcheck):"), c.selfCheck}, at, body);
    pages.Cells({QStringLiteral("Fecha y hora de escritura:"), IsoDateTime(c.source.Written)}, at, body);
    pages.Cells({QStringLiteral("Separador decimal en vigor:"), SeparatorText()}, at, body);
    if (!caso.Nota.empty())
        pages.Paragraph(QStringLiteral("Nota: ") + Q(caso.Nota), body);
}

void Inputs(Pages& pages, const Content& c) {
    Heading(pages, QStringLiteral("2. Datos de entrada"));
    const QFont body = SansFont(9);
    pages.Paragraph(QStringLiteral("Tal como los contenían los campos al iniciar el cálculo, entre comillas "
                                   "y carácter por carácter:"),
                    body);
    const RunInputTexts& in = c.source.Inputs;
    const std::vector<qreal> at{0.02, 0.45, 0.75};
    pages.Cells({QStringLiteral("Magnitud"), QStringLiteral("Texto del campo"), QStringLiteral("Unidad")}, at,
                SansFont(9, true));
    const std::pair<const char*, const std::string*> rows[] = {
        {"D: constante de proporcionalidad", &in.D},
        {"T: intervalo de tiempo del paso", &in.T},
        {"M: masa del proyectil", &in.M},
        {"Xo: posición horizontal inicial", &in.Xo},
        {"Yo: altura inicial", &in.Yo},
        {"Ángulo de disparo", &in.Angulo},
        {"Vo: velocidad inicial", &in.Vo},
    };
    const char* units[] = {"kg/m", "s", "kg", "m", "m", "grados", "m/s"};
    for (std::size_t i = 0; i < std::size(rows); ++i)
        pages.Cells({QString::fromUtf8(rows[i].first), QStringLiteral("\"%1\"").arg(Q(*rows[i].second)),
                     QString::fromUtf8(units[i])},
                    at, body);
    pages.Skip(pages.Metrics(body).lineSpacing() * 0.5);
    pages.Paragraph(
        QStringLiteral("El cálculo parte de la posición (0, 0): los campos Xo y Yo se registran, pero "
                       "no intervienen en él."),
        body);
    if (c.figures.DatosCambiados)
        pages.Paragraph(
            QStringLiteral("Atención: D, M, Vo o T se modificaron durante el cálculo (los valores del "
                           "último paso difieren de los de arriba). La solución exacta corresponde "
                           "a los datos de arriba."),
            SansFont(9, true));
}

void Model(Pages& pages, const Content& c) {
    Heading(pages, QStringLiteral("3. Modelo"));
    const QFont body = SansFont(9);
    const QFont formula = SansFont(9, true);
    const qreal indent = pages.Width() * 0.04;
    pages.Paragraph(
        QStringLiteral("Resistencia del aire lineal en la velocidad: en cada eje, la aceleración de "
                       "arrastre es −(D ÷ M) × Vo × (la velocidad en ese eje), con Vo la velocidad "
                       "inicial del campo y no la velocidad actual; la gravedad es g = %1 m/s². "
                       "Cada paso de duración T calcula, en este orden:")
            .arg(Q(BuiltInNumberText("9.81"))),
        body);
    pages.Paragraph(QStringLiteral("Ax = −(D ÷ M) × Vo × Vx        Ay = −g − (D ÷ M) × Vo × Vy"), formula,
                    indent);
    pages.Paragraph(QStringLiteral("Vx′ = Vx + Ax × T        Vy′ = Vy + Ay × T"), formula, indent);
    pages.Paragraph(
        QStringLiteral("X′ = X + T² × (½ × Ax) + Vx′ × T        Y′ = Y + T² × (½ × Ay) + Vy′ × T"), formula,
        indent);
    pages.Paragraph(
        QStringLiteral("Los desplazamientos usan las velocidades al final del paso. Paso de tiempo: "
                       "T = %1 s. Condición de fin: el cálculo se detiene en el primer paso cuya "
                       "altura Y ya no es mayor que 0; ese paso queda en la tabla sin interpolar.")
            .arg(Q(c.source.Inputs.T)),
        body);
    pages.Paragraph(
        QStringLiteral("Aritmética en precisión extendida (formato de 80 bits, significando de 64 "
                       "bits, redondeo al más cercano). En ese formato el integrador es reproducible y "
                       "determinista: los mismos datos dan siempre la misma tabla, texto por texto. "
                       "No es exacto: su error frente a la solución exacta se da en los resultados."),
        body);
    pages.Paragraph(QStringLiteral("Constante del arrastre: k = D × Vo ÷ M = %1 1/s; k × T = %2.")
                        .arg(Q(NumberToGeneralText(c.figures.K)), Q(NumberToGeneralText(c.figures.KT))),
                    body);
}

// The comparison table: each column as wide as its widest text and four
// spaces apart, set smaller when the widest texts do not fit the page.
void ComparisonTable(Pages& pages, const std::vector<std::vector<QString>>& rows) {
    qreal points = 9;
    std::vector<qreal> at;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QFontMetricsF plain = pages.Metrics(SansFont(points));
        const QFontMetricsF bold = pages.Metrics(SansFont(points, true));
        std::vector<qreal> widths(rows.front().size(), 0);
        for (std::size_t r = 0; r < rows.size(); ++r)
            for (std::size_t i = 0; i < rows[r].size(); ++i)
                widths[i] = std::max(widths[i], (r == 0 ? bold : plain).horizontalAdvance(rows[r][i]));
        const qreal gap = plain.horizontalAdvance(QStringLiteral("    "));
        at.clear();
        qreal x = 0;
        for (qreal width : widths) {
            at.push_back(x / pages.Width());
            x += width + gap;
        }
        const qreal total = x - gap;
        if (total <= pages.Width())
            break;
        // Text widths scale with the size; the margin covers the rounding of hinted advances.
        points *= 0.97 * pages.Width() / total;
    }
    for (std::size_t r = 0; r < rows.size(); ++r)
        pages.Cells(rows[r], at, SansFont(points, r == 0));
}

// (stepped - vacuum) / vacuum x 100, or "—" where it has no meaning (a vacuum
// value of 0, or a figure that is not a number).
QString PercentText(Real stepped, Real vacuum) {
    const Real percent = PercentChange(stepped, vacuum);
    if (vacuum == 0 || !std::isfinite(percent))
        return QStringLiteral("—");
    return Fixed("0.00", percent) + QStringLiteral(" %");
}

void Results(Pages& pages, const Content& c) {
    Heading(pages, QStringLiteral("4. Resultados"));
    const QFont body = SansFont(9);
    const QFont bold = SansFont(9, true);
    const RunReportFigures& f = c.figures;
    const EstadoTrayectoria& e = c.source.Run.Estado;
    const QString notLanded = Q(NotLandedText(e.Iteraciones));
    if (!f.Aterrizo)
        pages.Paragraph(QStringLiteral("El proyectil no aterrizó: el cálculo se detuvo en el límite de %1 "
                                       "pasos todavía en el aire (Y = %2 m). No hay cruce del suelo, ni "
                                       "tiempo de vuelo, ni alcance.")
                            .arg(e.Iteraciones)
                            .arg(Fixed("0.000000", e.Y)),
                        bold);
    if (f.PasoGrande)
        pages.Paragraph(
            QStringLiteral("Aviso: %1 (k × T = %2; por encima de %3 el error del paso deja de "
                           "ser pequeño).")
                .arg(QString::fromUtf8(kPasoGrande), Fixed("0.000", f.KT), Q(BuiltInNumberText("0.1"))),
            bold);
    const std::vector<qreal> pair{0.02, 0.4};
    pages.Cells({QStringLiteral("Total de Iteraciones:"), Q(f.Resultados.TotalIteraciones)}, pair, body);
    pages.Cells(
        {QStringLiteral("Tiempo Total de Vuelo:"), f.Aterrizo ? Q(f.Resultados.TTotalVuelo) : notLanded},
        pair, body);
    pages.Cells({QStringLiteral("Altura Maxima (Hmax):"), Q(f.Resultados.HMax)}, pair, body);
    pages.Cells(
        {QStringLiteral("Alcance Maximo (Amax):"), f.Aterrizo ? Q(f.Resultados.DistanciaMax) : notLanded},
        pair, body);
    pages.Skip(pages.Metrics(body).lineSpacing() * 0.5);

    const QString last =
        QStringLiteral("Último paso (sin interpolar): t = %1 s, X = %2 m, Y = %3 m.")
            .arg(Q(c.source.Run.TiempoTotal), Fixed("0.000000", e.X), Fixed("0.000000", e.Y));
    if (f.Cruce)
        pages.Paragraph(
            QStringLiteral("Cruce del suelo, interpolado linealmente entre los dos últimos pasos: "
                           "t = %1 s, X = %2 m (interpolado). %3")
                .arg(Fixed("0.000000", f.Cruce->Tiempo), Fixed("0.000000", f.Cruce->X), last),
            body);
    else
        pages.Paragraph(
            QStringLiteral("Cruce del suelo: los dos últimos pasos no pasan de una altura mayor que 0 "
                           "a una no mayor, no hay cruce que interpolar. %1")
                .arg(last),
            body);

    pages.Paragraph(
        QStringLiteral("Solución exacta de las mismas ecuaciones: x(t) = Vx0 (1 − e^(−kt)) ÷ k, "
                       "y(t) = (Vy0 + g ÷ k)(1 − e^(−kt)) ÷ k − g t ÷ k. El ápice está en "
                       "t = ln(1 + k Vy0 ÷ g) ÷ k; el tiempo de vuelo es la raíz positiva de "
                       "y(t) = 0, hallada por Newton acotado en precisión extendida. "
                       "Integrado − Exacto es el error que cuesta el paso de tiempo elegido. Vacío: "
                       "las fórmulas cerradas de la trayectoria ideal con la misma velocidad y el "
                       "mismo ángulo; la última columna, (Integrado − Vacío) ÷ Vacío × 100, es "
                       "cuánto cambia el aire el resultado."),
        body);

    std::vector<std::vector<QString>> table{{QStringLiteral("Magnitud"), QStringLiteral("Integrado"),
                                             QStringLiteral("Exacto"), QStringLiteral("Int. − Exacto"),
                                             QStringLiteral("Vacío"), QStringLiteral("Aire/vacío")}};
    struct Row {
        const char* name;
        Real stepped, exact, vacuum;
        bool needsLanding;
    };
    std::vector<Row> rows{
        {"Tiempo del ápice (s)", f.Integrado.TiempoApice, f.Exacto.TiempoApice, f.Vacio.TiempoApice, false},
        {"Altura máxima (m)", f.Integrado.AlturaApice, f.Exacto.AlturaApice, f.Vacio.AlturaApice, false},
        {"Tiempo de vuelo (s)", f.Integrado.TiempoVuelo, f.Exacto.TiempoVuelo, f.Vacio.TiempoVuelo, true},
        {"Alcance (m)", f.Integrado.Alcance, f.Exacto.Alcance, f.Vacio.Alcance, true},
    };
    if (f.Cruce) {
        rows.push_back(
            {"Vuelo, interpolado (s)", f.Cruce->Tiempo, f.Exacto.TiempoVuelo, f.Vacio.TiempoVuelo, true});
        rows.push_back({"Alcance, interpolado (m)", f.Cruce->X, f.Exacto.Alcance, f.Vacio.Alcance, true});
    }
    for (const Row& row : rows) {
        const bool none = row.needsLanding && !f.Aterrizo;
        table.push_back({QString::fromUtf8(row.name), none ? notLanded : Fixed("0.000000", row.stepped),
                         Fixed("0.000000", row.exact),
                         none ? QStringLiteral("—") : Fixed("0.000000", Difference(row.stepped, row.exact)),
                         Fixed("0.000", row.vacuum),
                         none ? QStringLiteral("—") : PercentText(row.stepped, row.vacuum)});
    }
    ComparisonTable(pages, table);
}

// Renders the chart itself, so the PDF holds its lines and texts as vectors.
void DrawChart(QPainter& painter, QChart& chart, const QRectF& target) {
    struct Title {
        QAbstractAxis* axis;
        QString text;
    };
    std::vector<Title> saved;
    for (QAbstractAxis* axis : chart.axes()) {
        saved.push_back({axis, axis->titleText()});
        axis->setTitleText(axis->orientation() == Qt::Horizontal ? QStringLiteral("X (m)")
                                                                 : QStringLiteral("Y (m)"));
    }
    std::unique_ptr<QGraphicsScene> own;
    QGraphicsScene* scene = chart.scene();
    if (!scene) {
        own = std::make_unique<QGraphicsScene>();
        own->addItem(&chart);
        scene = own.get();
    }
    if (chart.layout())
        chart.layout()->activate();
    scene->render(&painter, target, chart.sceneBoundingRect(), Qt::KeepAspectRatio);
    for (const Title& title : saved)
        title.axis->setTitleText(title.text);
    if (chart.layout())
        chart.layout()->activate();
    if (own)
        own->removeItem(&chart);
}

void Chart(Pages& pages, const Content& c) {
    QChart* chart = c.source.Chart;
    const QFont body = SansFont(9);
    // A chart never laid out (its window not shown yet, or made without one)
    // takes the size of the window's chart.
    if (chart && chart->size().isEmpty())
        chart->resize(kChartSize);
    const QSizeF size = chart ? chart->size() : QSizeF();
    const qreal height = size.width() > 0 ? pages.Width() * size.height() / size.width() : 0;
    pages.EnsureRoom(height + pages.Metrics(SansFont(11, true)).lineSpacing() * 2);
    Heading(pages, QStringLiteral("5. Gráfica de la trayectoria"));
    if (height <= 0) {
        pages.Paragraph(QStringLiteral("(Sin gráfica.)"), body);
        return;
    }
    if (QPainter* painter = pages.Painter()) {
        painter->save();
        DrawChart(*painter, *chart, QRectF(0, pages.Y(), pages.Width(), height));
        painter->restore();
        pages.AfterWork();
    }
    pages.Skip(height);
    pages.Paragraph(QStringLiteral("Altura Y (m) frente a distancia horizontal X (m), un punto por paso."),
                    body);
}

// A row as one string: the first column left-aligned, the others centred, two
// blanks between columns, as the window aligns them.
QString RowLine(const Columns& cells, const Content& c) {
    QString line;
    line.reserve(160);
    for (int i = 0; i < TrajectoryTableModel::kColumnCount; ++i) {
        const QString& text = cells[i];
        const int room = std::max<int>(0, c.widths[i] - static_cast<int>(text.size()));
        const int before = i == 0 ? 0 : room / 2;
        if (i > 0)
            line += QStringLiteral("  ");
        line += QString(before, QLatin1Char(' '));
        line += text;
        line += QString(room - before, QLatin1Char(' '));
    }
    return line;
}

void Table(Pages& pages, const Content& c) {
    const TrajectoryTableModel& rows = *c.source.Rows;
    const int count = rows.rowCount();
    const QFontMetricsF metrics = pages.Metrics(c.tableFont);
    const QString captions = RowLine(Captions(), c);
    const auto header = [&] {
        pages.Cells({captions}, {0}, c.tableBold);
        pages.Rule();
        pages.Skip(metrics.lineSpacing() * 0.2);
    };
    pages.NewPage();
    Heading(pages, QStringLiteral("6. Tabla de valores procesados"));
    pages.Paragraph(
        QStringLiteral("%1 filas, una por paso, con los textos de la tabla de la ventana.").arg(count),
        SansFont(9));
    header();
    const qreal line = metrics.lineSpacing();
    QPainter* painter = pages.Painter();
    if (painter)
        painter->setFont(c.tableFont);
    for (int r = 0; r < count; ++r) {
        if (line > pages.Room()) {
            pages.NewPage();
            header();
            if (painter)
                painter->setFont(c.tableFont);
        }
        if (painter)
            painter->drawText(QPointF(0, pages.Y() + metrics.ascent()), RowLine(rows.At(r), c));
        pages.Skip(line);
    }
    pages.Skip(line * 0.5);
    pages.Paragraph(QStringLiteral("Ax y Ay están en m/s² aunque sus títulos digan m/s; la última columna, "
                                   "\"%1\", es Ec ÷ %2.")
                        .arg(Captions().back(), Q(BuiltInNumberText("9.8"))),
                    SansFont(9));
}

void Digest(Pages& pages, const Content& c) {
    const QFont body = SansFont(9);
    Heading(pages, QStringLiteral("7. Resumen criptográfico (SHA-256)"));
    pages.Paragraph(c.digest, MonoFont(9, true));
    pages.Paragraph(
        QStringLiteral(
            "Calculado con SHA-256 sobre una sola secuencia de bytes: los textos, en UTF-8 y exactamente "
            "como figuran entre comillas en los datos de entrada (sin quitar ni añadir espacios, con el "
            "separador decimal %1 en vigor), de los siete datos de entrada (D, T, M, Xo, Yo, ángulo, Vo), "
            "de los diez títulos de columna y de los diez textos de cada fila de la tabla, en ese orden. "
            "Cada texto se escribe como su longitud en bytes en cifras decimales ASCII, el byte \":\" "
            "(0x3A), sus bytes y el byte \",\" (0x2C); cada grupo (los datos, los títulos, cada fila) "
            "termina en el byte 0x0A (salto de línea). El resumen se calcula sobre los textos y no sobre "
            "los números: \"1.6788592601e-5\" y \"0.000016788592601\" son el mismo número y dan "
            "resúmenes distintos.")
            .arg(SeparatorText()),
        body);
    pages.Paragraph(
        QStringLiteral("El integrador es reproducible y determinista en el formato de 80 bits: un segundo "
                       "cálculo con los mismos textos y el mismo separador decimal da la misma tabla y el "
                       "mismo resumen. El resumen muestra que el cálculo es reproducible; no es una firma: "
                       "no identifica a quien hizo el informe ni impide rehacerlo con otros datos."),
        body);
    pages.Paragraph(QStringLiteral("Orden que repite el cálculo y da el mismo resumen, con el separador "
                                   "decimal %1 en vigor:")
                        .arg(SeparatorText()),
                    body);
    pages.Paragraph(Q(ReproduceCommand(c.source.Inputs)), MonoFont(7));
}

void Lay(Pages& pages, const Content& c) {
    Identification(pages, c);
    Inputs(pages, c);
    Model(pages, c);
    Results(pages, c);
    Chart(pages, c);
    Table(pages, c);
    Digest(pages, c);
    pages.Finish();
}

void FitTable(Content& c, const QPdfWriter& writer) {
    const TrajectoryTableModel& rows = *c.source.Rows;
    const Columns captions = Captions();
    for (int i = 0; i < TrajectoryTableModel::kColumnCount; ++i)
        c.widths[i] = static_cast<int>(captions[i].size());
    for (int r = 0; r < rows.rowCount(); ++r)
        for (int i = 0; i < TrajectoryTableModel::kColumnCount; ++i)
            c.widths[i] = std::max(c.widths[i], static_cast<int>(rows.At(r)[i].size()));
    int characters = 2 * (TrajectoryTableModel::kColumnCount - 1);
    for (int width : c.widths)
        characters += width;
    const qreal advance =
        QFontMetricsF(MonoFont(kTablePointSize), &writer).horizontalAdvance(QLatin1Char('0'));
    const qreal points = std::min(kTablePointSize, kTablePointSize * writer.width() / (advance * characters));
    c.tableFont = MonoFont(points);
    c.tableBold = MonoFont(points, true);
}

} // namespace

FinishedRun FinishedRunOf(const EstadoTrayectoria& state, const std::string& valorX,
                          const std::string& tiempoTotal, const TrajectoryTableModel& rows) {
    FinishedRun run{state, valorX, tiempoTotal, {}, {}};
    const int count = rows.rowCount();
    if (count >= 2)
        run.TiempoAnterior = rows.Cell(count - 2, 1).toStdString();
    if (state.IteracionHmax >= 1 && state.IteracionHmax <= count)
        run.TiempoHmax = rows.Cell(state.IteracionHmax - 1, 1).toStdString();
    return run;
}

namespace {

// Rows hashed between two calls of the caller's keep-responsive function.
constexpr int kRowsBetweenEvents = 8192;

QString DigestOf(const RunInputTexts& inputs, const TrajectoryTableModel& rows,
                 const std::function<void()>& keepResponsive) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::string record;
    for (const std::string* text :
         {&inputs.D, &inputs.T, &inputs.M, &inputs.Xo, &inputs.Yo, &inputs.Angulo, &inputs.Vo})
        AppendDigestText(record, *text);
    EndDigestRecord(record);
    const auto addRow = [&](const Columns& cells) {
        for (const QString& cell : cells) {
            const QByteArray bytes = cell.toUtf8();
            AppendDigestText(record,
                             std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        }
        EndDigestRecord(record);
        hash.addData(QByteArrayView(record.data(), static_cast<qsizetype>(record.size())));
        record.clear();
    };
    addRow(Captions());
    for (int r = 0; r < rows.rowCount(); ++r) {
        addRow(rows.At(r));
        if (keepResponsive && r % kRowsBetweenEvents == kRowsBetweenEvents - 1)
            keepResponsive();
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

QString RunDigest(const RunInputTexts& inputs, const TrajectoryTableModel& rows) {
    return DigestOf(inputs, rows, {});
}

QByteArray RenderRunReportPdf(const RunReportSource& source, const std::function<void()>& keepResponsive) {
    Content content{source,
                    ComputeRunReportFigures(source.Inputs, source.Run),
                    DigestOf(source.Inputs, *source.Rows, keepResponsive),
                    Q(SelfCheckVerdict(RunSelfCheck())),
                    {},
                    {},
                    {}};
    // Every page names the case and the start of the digest, so that a loose
    // page can be put back in its report.
    QString footer = QStringLiteral("KORVO · Informe de trayectoria real");
    if (!source.Caso.Expediente.empty())
        footer += QStringLiteral(" · Expediente ") + Q(source.Caso.Expediente);
    footer += QStringLiteral(" · SHA-256 ") + content.digest.left(16);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(
        QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
        QPageLayout::Millimeter);
    writer.setResolution(kResolution);
    SetReportMetadata(writer, ReportMetadataOf(source.Caso, content.digest));
    FitTable(content, writer);

    Pages counting(writer, nullptr, 0, {}, footer);
    Lay(counting, content);
    if (keepResponsive)
        keepResponsive();

    QPainter painter;
    if (!painter.begin(&writer))
        throw std::runtime_error("Error writing output file");
    Pages pages(writer, &painter, counting.Count(), keepResponsive, footer);
    Lay(pages, content);
    painter.end();
    return WithInfoEntries(bytes, ReportMetadataOf(source.Caso, content.digest));
}

void WriteRunReportPdf(const QString& path, const RunReportSource& source,
                       const std::function<void()>& keepResponsive) {
    SaveWholeFile(path, RenderRunReportPdf(source, keepResponsive));
}

} // namespace korvo
