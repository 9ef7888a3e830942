// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/RunReportPdf.h"

#include "ballistics/FileSave.h"
#include "ballistics/ReportMetadata.h"
#include "ballistics/ReportPages.h"
#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/core/Gravity.h"
#include "ballistics/core/LawComparison.h"
#include "ballistics/core/RunChecks.h"
#include "ballistics/core/SelfCheck.h"
#include "base/BuildStamp.h"

#include <QAbstractAxis>
#include <QChart>
#include <QCryptographicHash>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace korvo {

namespace {

using Columns = std::array<QString, kTrajectoryColumnCount>;

// The table's type shrinks from this size until its widest row fits the page.
constexpr qreal kTablePointSize = 8;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString LawCaption(DragLaw law) {
    return QString::fromUtf8(DragLawCaption(law));
}

std::size_t LawIndex(DragLaw law) {
    return law == DragLaw::Linear ? 0 : 1;
}

Columns Captions() {
    Columns captions;
    for (int c = 0; c < kTrajectoryColumnCount; ++c)
        captions[c] = QString::fromUtf8(TrajectoryColumns()[c].Caption);
    return captions;
}

Columns RowAt(const TPackedRows& rows, int row) {
    Columns cells;
    for (int c = 0; c < kTrajectoryColumnCount; ++c) {
        const std::string_view text = rows.Cell(row, c);
        cells[c] = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    return cells;
}

// Everything the report prints, worked out once before either pass.
struct Content {
    const RunReportSource& source;
    RunReportFigures figures;
    QString digest;
    QString selfCheck;                                // the self-check's verdict for this build
    std::array<int, kTrajectoryColumnCount> widths{}; // in characters
    QFont tableFont;
    QFont tableBold;
    bool tableFitted = false;
};

void Identification(ReportPages& pages, const QString& heading, const Content& c) {
    LayReportIdentification(pages, heading, c.source.Caso, c.source.Written, c.selfCheck);
}

void Inputs(ReportPages& pages, const QString& heading, const Content& c) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    pages.Paragraph(QStringLiteral("Tal como los contenían los campos al iniciar el cálculo, entre comillas "
                                   "y carácter por carácter:"),
                    body);
    const RunInputTexts& in = c.source.Inputs;
    const std::vector<qreal> at{0.02, 0.45, 0.75};
    pages.Cells({QStringLiteral("Magnitud"), QStringLiteral("Texto del campo"), QStringLiteral("Unidad")}, at,
                ReportSansFont(9, true));
    for (const RunInputInfo& input : RunInputTable())
        pages.Cells({QString::fromUtf8(input.ReportLabel), QStringLiteral("\"%1\"").arg(Q(in.*input.Text)),
                     QString::fromUtf8(input.Unit)},
                    at, body);
    pages.Skip(pages.Metrics(body).lineSpacing() * 0.5);
    pages.Paragraph(
        QStringLiteral("El cálculo parte de la posición (0, 0): los campos Xo y Yo se registran, pero "
                       "no intervienen en él."),
        body);
    pages.Paragraph(QStringLiteral("Ley de arrastre elegida: %1.").arg(LawCaption(c.figures.Ley)),
                    ReportSansFont(9, true));
    if (c.figures.DatosCambiados)
        pages.Paragraph(
            QStringLiteral("Atención: D, M, Vo o T se modificaron durante el cálculo (los valores del "
                           "último paso difieren de los de arriba). La solución %1 corresponde "
                           "a los datos de arriba.")
                .arg(c.figures.Ley == DragLaw::Linear ? QStringLiteral("exacta")
                                                      : QStringLiteral("de referencia")),
            ReportSansFont(9, true));
}

void Model(ReportPages& pages, const QString& heading, const Content& c) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    const QFont formula = ReportSansFont(9, true);
    const qreal indent = pages.Width() * 0.04;
    const bool linear = c.figures.Ley == DragLaw::Linear;
    pages.Paragraph(QStringLiteral("Ley de arrastre: %1.").arg(LawCaption(c.figures.Ley)), formula);
    if (linear) {
        pages.Paragraph(
            QStringLiteral("Resistencia del aire lineal en la velocidad: en cada eje, la aceleración de "
                           "arrastre es −(D ÷ M) × Vo × (la velocidad en ese eje), con Vo la velocidad "
                           "inicial del campo y no la velocidad actual; la gravedad es g = %1 m/s². "
                           "Cada paso de duración T calcula, en este orden:")
                .arg(Q(BuiltInNumberText("9.81"))),
            body);
        pages.Paragraph(QStringLiteral("Ax = −(D ÷ M) × Vo × Vx        Ay = −g − (D ÷ M) × Vo × Vy"), formula,
                        indent);
    } else {
        pages.Paragraph(
            QStringLiteral("Resistencia del aire cuadrática en la velocidad, la ley estándar: una fuerza "
                           "D × V² opuesta a la velocidad, con V la velocidad actual del proyectil. En cada "
                           "eje, la aceleración de arrastre es −(D ÷ M) × |V| × (la velocidad en ese eje), "
                           "con |V| la velocidad al comienzo del paso; la gravedad es g = %1 m/s². Cada "
                           "paso de duración T calcula, en este orden:")
                .arg(Q(BuiltInNumberText("9.81"))),
            body);
        pages.Paragraph(QStringLiteral("|V| = √(Vx² + Vy²)        Ax = −(D ÷ M) × |V| × Vx        "
                                       "Ay = −g − (D ÷ M) × |V| × Vy"),
                        formula, indent);
    }
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
                       "No es exacto: su error frente a la solución %1 se da en los resultados.")
            .arg(linear ? QStringLiteral("exacta") : QStringLiteral("de referencia")),
        body);
    if (linear) {
        pages.Paragraph(QStringLiteral("Constante del arrastre: k = D × Vo ÷ M = %1 1/s; k × T = %2.")
                            .arg(Q(NumberToGeneralText(c.figures.K)), Q(NumberToGeneralText(c.figures.KT))),
                        body);
        return;
    }
    const RunInputTexts& in = c.source.Inputs;
    const Real d = ParseReal(in.D), m = ParseReal(in.M);
    pages.Paragraph(QStringLiteral("Constante del arrastre: D ÷ M = %1 1/m; velocidad límite de caída "
                                   "√(g × M ÷ D) = %2 m/s. Al salir |V| = Vo, y la tasa de arrastre es "
                                   "k = D × Vo ÷ M = %3 1/s; k × T = %4.")
                        .arg(Q(NumberToGeneralText(d / m)), ReportFixed("0.00", std::sqrt(kGravity * m / d)),
                             Q(NumberToGeneralText(c.figures.K)), Q(NumberToGeneralText(c.figures.KT))),
                    body);
}

// (stepped - vacuum) / vacuum x 100, or "—" where it has no meaning (a vacuum
// value of 0, or a figure that is not a number).
QString PercentText(Real stepped, Real vacuum) {
    const Real percent = PercentChange(stepped, vacuum);
    if (vacuum == 0 || !std::isfinite(percent))
        return QStringLiteral("—");
    return ReportFixed("0.00", percent) + QStringLiteral(" %");
}

// The start's inputs under both laws, each from its own exact or reference
// solution, so that a reader sees how far the choice of law moves the answer.
void BothLaws(ReportPages& pages, const RunReportFigures& f) {
    const QFont body = ReportSansFont(9);
    pages.Skip(pages.Metrics(body).lineSpacing() * 0.5);
    pages.Paragraph(
        QStringLiteral("Las dos leyes de arrastre con los mismos datos de entrada, cada una por su solución "
                       "exacta (ley lineal) o de referencia (ley cuadrática), no por el cálculo paso a paso: "
                       "cuánto mueve la elección de la ley el resultado. Este cálculo usó la ley %1.")
            .arg(LawCaption(f.Ley)),
        body);
    const LawFigures& lineal = f.Leyes[0];
    const LawFigures& cuadratica = f.Leyes[1];
    std::vector<std::vector<QString>> table{
        {QStringLiteral("Magnitud"), LawCaption(lineal.Ley) + QStringLiteral(", exacta"),
         LawCaption(cuadratica.Ley) + QStringLiteral(", referencia"), QStringLiteral("Cuadrática − Lineal")}};
    const std::pair<const char*, Real LawFigures::*> rows[] = {
        {"Tiempo de vuelo (s)", &LawFigures::TiempoVuelo},
        {"Altura máxima (m)", &LawFigures::AlturaMaxima},
        {"Alcance (m)", &LawFigures::Alcance},
        {"Velocidad de impacto (m/s)", &LawFigures::VelocidadImpacto},
        {"Ángulo de impacto (grados)", &LawFigures::AnguloImpacto},
    };
    for (const auto& [name, figure] : rows)
        table.push_back({QString::fromUtf8(name), ReportFixed("0.000000", lineal.*figure),
                         ReportFixed("0.000000", cuadratica.*figure),
                         ReportFixed("0.000000", cuadratica.*figure - lineal.*figure)});
    pages.Table(table);
}

void Results(ReportPages& pages, const QString& heading, const Content& c) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    const QFont bold = ReportSansFont(9, true);
    const RunReportFigures& f = c.figures;
    const EstadoTrayectoria& e = c.source.Run.Estado;
    const QString notLanded = Q(NotLandedText(e.Iteraciones));
    if (!f.Aterrizo)
        pages.Paragraph(QStringLiteral("El proyectil no aterrizó: el cálculo se detuvo en el límite de %1 "
                                       "pasos todavía en el aire (Y = %2 m). No hay cruce del suelo, ni "
                                       "tiempo de vuelo, ni alcance.")
                            .arg(e.Iteraciones)
                            .arg(ReportFixed("0.000000", e.Y)),
                        bold);
    if (f.PasoGrande)
        pages.Paragraph(
            QStringLiteral("Aviso: %1 (k × T = %2; por encima de %3 el error del paso deja de "
                           "ser pequeño).")
                .arg(QString::fromUtf8(kPasoGrande), ReportFixed("0.000", f.KT), Q(BuiltInNumberText("0.1"))),
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
            .arg(Q(c.source.Run.TiempoTotal), ReportFixed("0.000000", e.X), ReportFixed("0.000000", e.Y));
    if (f.Cruce)
        pages.Paragraph(
            QStringLiteral("Cruce del suelo, interpolado linealmente entre los dos últimos pasos: "
                           "t = %1 s, X = %2 m (interpolado). %3")
                .arg(ReportFixed("0.000000", f.Cruce->Tiempo), ReportFixed("0.000000", f.Cruce->X), last),
            body);
    else
        pages.Paragraph(
            QStringLiteral("Cruce del suelo: los dos últimos pasos no pasan de una altura mayor que 0 "
                           "a una no mayor, no hay cruce que interpolar. %1")
                .arg(last),
            body);
    if (f.Impacto)
        pages.Paragraph(QStringLiteral("Impacto en ese cruce, con la velocidad interpolada del mismo modo: "
                                       "velocidad de impacto %1 m/s, ángulo de impacto %2 grados bajo la "
                                       "horizontal.")
                            .arg(ReportFixed("0.000000", f.Impacto->Velocidad),
                                 ReportFixed("0.000000", f.Impacto->Angulo)),
                        body);
    const bool linear = f.Ley == DragLaw::Linear;

    if (linear)
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
    else
        pages.Paragraph(
            QStringLiteral("Solución de referencia de las mismas ecuaciones, que con la ley cuadrática no "
                           "tienen forma cerrada en dos dimensiones: integración adaptativa de "
                           "Dormand-Prince 5(4) en precisión extendida, con el error de cada paso por debajo "
                           "de 1e-13 relativo; el ápice y el cruce del suelo se hallan sobre su salida "
                           "continua. Su exactitud, medida frente a las formas cerradas del vacío y del "
                           "disparo vertical, es mejor que 1e-9 relativo. Integrado − Referencia es el error "
                           "que cuesta el paso de tiempo elegido. Vacío: las fórmulas cerradas de la "
                           "trayectoria ideal con la misma velocidad y el mismo ángulo; la última columna, "
                           "(Integrado − Vacío) ÷ Vacío × 100, es cuánto cambia el aire el resultado."),
            body);

    const QString solution = QString::fromUtf8(SolutionName(f.Ley));
    std::vector<std::vector<QString>> table{
        {QStringLiteral("Magnitud"), QStringLiteral("Integrado"), solution,
         linear ? QStringLiteral("Int. − Exacto") : QStringLiteral("Int. − Ref."), QStringLiteral("Vacío"),
         QStringLiteral("Aire/vacío")}};
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
    if (f.Impacto) {
        const LawFigures& own = f.Leyes[LawIndex(f.Ley)];
        rows.push_back({"Velocidad de impacto, interpolada (m/s)", f.Impacto->Velocidad, own.VelocidadImpacto,
                        f.VacioVelocidadImpacto, true});
        rows.push_back({"Ángulo de impacto, interpolado (grados)", f.Impacto->Angulo, own.AnguloImpacto,
                        f.VacioAnguloImpacto, true});
    }
    for (const Row& row : rows) {
        const bool none = row.needsLanding && !f.Aterrizo;
        table.push_back(
            {QString::fromUtf8(row.name), none ? notLanded : ReportFixed("0.000000", row.stepped),
             ReportFixed("0.000000", row.exact),
             none ? QStringLiteral("—") : ReportFixed("0.000000", Difference(row.stepped, row.exact)),
             ReportFixed("0.000", row.vacuum),
             none ? QStringLiteral("—") : PercentText(row.stepped, row.vacuum)});
    }
    pages.Table(table);
    BothLaws(pages, f);
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

void Chart(ReportPages& pages, const QString& heading, const Content& c) {
    QChart* chart = c.source.Chart;
    const QFont body = ReportSansFont(9);
    // A chart never laid out (its window not shown yet, or made without one)
    // takes the size of the window's chart.
    if (chart && chart->size().isEmpty())
        chart->resize(QSizeF(kRealTrajectoryChartSize));
    const QSizeF size = chart ? chart->size() : QSizeF();
    const qreal height = size.width() > 0 ? pages.Width() * size.height() / size.width() : 0;
    pages.EnsureRoom(height + pages.Metrics(ReportSansFont(11, true)).lineSpacing() * 2);
    pages.Heading(heading);
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
    for (int i = 0; i < kTrajectoryColumnCount; ++i) {
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

void Table(ReportPages& pages, const QString& heading, const Content& c) {
    const TPackedRows& rows = *c.source.Rows;
    const int count = rows.Count();
    const QFontMetricsF metrics = pages.Metrics(c.tableFont);
    const QString captions = RowLine(Captions(), c);
    const auto header = [&] {
        pages.Cells({captions}, {0}, c.tableBold);
        pages.Rule();
        pages.Skip(metrics.lineSpacing() * 0.2);
    };
    pages.NewPage();
    pages.Heading(heading);
    pages.Paragraph(
        QStringLiteral("%1 filas, una por paso, con los textos de la tabla de la ventana.").arg(count),
        ReportSansFont(9));
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
            painter->drawText(QPointF(0, pages.Y() + metrics.ascent()), RowLine(RowAt(rows, r), c));
        pages.Skip(line);
    }
    pages.Skip(line * 0.5);
    pages.Paragraph(QStringLiteral("Ax y Ay están en m/s² aunque sus títulos digan m/s; la última columna, "
                                   "\"%1\", es Ec ÷ %2.")
                        .arg(Captions().back(), Q(BuiltInNumberText("9.8"))),
                    ReportSansFont(9));
}

void Digest(ReportPages& pages, const QString& heading, const Content& c) {
    const QFont body = ReportSansFont(9);
    pages.Heading(heading);
    pages.Paragraph(c.digest, ReportMonoFont(9, true));
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
            .arg(ReportSeparatorText()),
        body);
    pages.Paragraph(
        QStringLiteral("El integrador es reproducible y determinista en el formato de 80 bits: un segundo "
                       "cálculo con los mismos textos y el mismo separador decimal da la misma tabla y el "
                       "mismo resumen. El resumen muestra que el cálculo es reproducible; no es una firma: "
                       "no identifica a quien hizo el informe ni impide rehacerlo con otros datos."),
        body);
    pages.Paragraph(QStringLiteral("Orden que repite el cálculo y da el mismo resumen, con el separador "
                                   "decimal %1 en vigor:")
                        .arg(ReportSeparatorText()),
                    body);
    pages.Paragraph(Q(ReproduceCommand(c.source.Inputs)), ReportMonoFont(7));
}

// Sets the table's type: 8 points, smaller when the widest row does not fit
// the page's width.
void FitTable(Content& c, const ReportPages& pages) {
    const TPackedRows& rows = *c.source.Rows;
    const Columns captions = Captions();
    for (int i = 0; i < kTrajectoryColumnCount; ++i)
        c.widths[i] = static_cast<int>(captions[i].size());
    for (int r = 0; r < rows.Count(); ++r)
        for (int i = 0; i < kTrajectoryColumnCount; ++i)
            c.widths[i] = std::max(c.widths[i], static_cast<int>(RowAt(rows, r)[i].size()));
    int characters = 2 * (kTrajectoryColumnCount - 1);
    for (int width : c.widths)
        characters += width;
    const qreal advance = pages.Metrics(ReportMonoFont(kTablePointSize)).horizontalAdvance(QLatin1Char('0'));
    const qreal points = std::min(kTablePointSize, kTablePointSize * pages.Width() / (advance * characters));
    c.tableFont = ReportMonoFont(points);
    c.tableBold = ReportMonoFont(points, true);
    c.tableFitted = true;
}

// The sections in the order they are printed and numbered.
std::vector<ReportSection> Sections(Content& c) {
    const auto section = [&c](const char* title, void (*lay)(ReportPages&, const QString&, const Content&)) {
        return ReportSection{QString::fromUtf8(title), [&c, lay](ReportPages& pages, const QString& heading) {
                                 lay(pages, heading, c);
                             }};
    };
    return {
        section("Identificación", Identification),
        section("Datos de entrada", Inputs),
        section("Modelo", Model),
        section("Resultados", Results),
        section("Gráfica de la trayectoria", Chart),
        ReportSection{QStringLiteral("Tabla de valores procesados"),
                      [&c](ReportPages& pages, const QString& heading) {
                          // The first pass measures the table; the second prints it alike.
                          if (!c.tableFitted)
                              FitTable(c, pages);
                          Table(pages, heading, c);
                      }},
        section("Resumen criptográfico (SHA-256)", Digest),
    };
}

} // namespace

namespace {

// Rows hashed between two calls of the caller's keep-responsive function.
constexpr int kRowsBetweenEvents = 8192;

QString DigestOf(const RunInputTexts& inputs, const TPackedRows& rows,
                 const std::function<void()>& keepResponsive) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    DigestRecords(inputs, rows, [&](std::string_view record, int row) {
        hash.addData(QByteArrayView(record.data(), static_cast<qsizetype>(record.size())));
        if (keepResponsive && row % kRowsBetweenEvents == 0 && row > 0)
            keepResponsive();
    });
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

QString RunDigest(const RunInputTexts& inputs, const TPackedRows& rows) {
    return DigestOf(inputs, rows, {});
}

QByteArray RenderRunReportPdf(const RunReportSource& source, const std::function<void()>& keepResponsive) {
    Content content{source,
                    ComputeRunReportFigures(source.Inputs, source.Run),
                    DigestOf(source.Inputs, *source.Rows, keepResponsive),
                    Q(SelfCheckVerdict(RunSelfCheck())),
                    {},
                    {},
                    {},
                    false};
    ReportDocument document{QStringLiteral("Informe de Trayectoria Real"),
                            QStringLiteral("Informe de trayectoria real"),
                            source.Caso.Expediente,
                            content.digest,
                            ReportMetadataOf(source.Caso, content.digest),
                            Sections(content)};
    return RenderReport(document, keepResponsive);
}

void WriteRunReportPdf(const QString& path, const RunReportSource& source,
                       const std::function<void()>& keepResponsive) {
    SaveRendered(path, [&] { return RenderRunReportPdf(source, keepResponsive); });
}

} // namespace korvo
