// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/CaseReportPdf.h"

#include "ballistics/FileSave.h"
#include "ballistics/ReportPages.h"
#include "ballistics/core/CaseTables.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/SelfCheck.h"

#include <QCryptographicHash>

namespace korvo {
namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Quoted(const std::string& text) {
    return QStringLiteral("\"%1\"").arg(Q(text));
}

struct Content {
    const CaseReportSource& source;
    QString digest;
    QString selfCheck;
};

void Inputs(ReportPages& pages, const QString& heading, const Content& c) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    const CaseRequestTexts& in = c.source.Inputs;
    pages.Paragraph(QStringLiteral("Los valores nominales y sus tolerancias (±) tal como estaban escritos, "
                                   "entre comillas y carácter por carácter:"),
                    body);
    std::vector<std::vector<QString>> rows{
        {QStringLiteral("Magnitud"), QStringLiteral("Nominal"), QStringLiteral("Tolerancia (±)"),
         QStringLiteral("Unidad")},
        {QStringLiteral("D: constante de proporcionalidad"), Quoted(in.D), Quoted(in.TolD),
         QStringLiteral("kg/m")},
        {QStringLiteral("T: intervalo de tiempo del paso"), Quoted(in.T), QStringLiteral("—"),
         QStringLiteral("s")},
        {QStringLiteral("M: masa del proyectil"), Quoted(in.M), Quoted(in.TolM), QStringLiteral("kg")},
        {QStringLiteral("Ángulo de disparo"), Quoted(in.Angulo), Quoted(in.TolAngulo),
         QStringLiteral("grados")},
        {QStringLiteral("Vo: velocidad inicial"), Quoted(in.Vo), Quoted(in.TolVo), QStringLiteral("m/s")},
        {QStringLiteral("H: altura del disparo sobre el suelo del impacto"), Quoted(in.Altura),
         QStringLiteral("—"), QStringLiteral("m")},
    };
    if (c.source.Question.Distancia)
        rows.push_back({QStringLiteral("Distancia horizontal de los ángulos"), Quoted(in.Distancia),
                        QStringLiteral("—"), QStringLiteral("m")});
    pages.Table(rows);
    pages.Paragraph(QStringLiteral("Ley de arrastre: %1.").arg(QString::fromUtf8(DragLawCaption(in.Ley))),
                    body);
    pages.Paragraph(
        QStringLiteral("T es el método, no una medición: no tiene tolerancia. La caja de "
                       "tolerancias es el conjunto de todos los datos que difieren de los nominales "
                       "a lo sumo en su tolerancia, cada uno por su lado."),
        body);
}

void Method(ReportPages& pages, const QString& heading, const Content& c) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    const QFont formula = ReportSansFont(9, true);
    const qreal indent = pages.Width() * 0.04;
    const CaseQuestion& q = c.source.Question;
    const bool quadratic = q.Nominal.Ley == DragLaw::Quadratic;
    pages.Paragraph(
        QStringLiteral(
            "Cada trayectoria se calcula paso a paso con el paso T y la regla de la trayectoria real, "
            "en precisión extendida (80 bits), con la ley de arrastre %1 y g = %2 m/s²:")
            .arg(QString::fromUtf8(DragLawCaption(q.Nominal.Ley)), Q(BuiltInNumberText("9.81"))),
        body);
    pages.Paragraph(quadratic
                        ? QStringLiteral("Ax = −(D ÷ M) × |V| × Vx        Ay = −g − (D ÷ M) × |V| × Vy, "
                                         "con |V| la velocidad al comienzo del paso")
                        : QStringLiteral("Ax = −(D ÷ M) × Vo × Vx        Ay = −g − (D ÷ M) × Vo × Vy, "
                                         "con Vo la velocidad inicial"),
                    formula, indent);
    pages.Paragraph(
        QStringLiteral(
            "La trayectoria termina cuando la altura baja a −H (el suelo del impacto); el tiempo de "
            "vuelo, el alcance, la velocidad y el ángulo de impacto se interpolan linealmente entre "
            "los dos últimos pasos. El ángulo de disparo admite decimales."),
        body);
    if (q.Banda)
        pages.Paragraph(QStringLiteral("Banda: el menor y el mayor valor de cada magnitud sobre la caja de "
                                       "tolerancias de D, M, Vo y el ángulo. ") +
                            QString::fromUtf8(kMetodoBanda) +
                            QStringLiteral(" Así se hallan también los extremos interiores: el alcance no es "
                                           "monótono en el ángulo alrededor del ángulo de mayor alcance."),
                        body);
    if (q.Lejano || q.Distancia)
        pages.Paragraph(
            QStringLiteral("Mayor alcance: el alcance de cada grado entero de 0 a 90 y de los veinte "
                           "vecinos del mejor a una décima, una centésima y una milésima de grado; "
                           "sobre las tolerancias de D, M y Vo, la misma búsqueda que la banda con "
                           "el ángulo libre de 0 a 90 grados."),
            body);
    if (q.Distancia)
        pages.Paragraph(
            QStringLiteral("Ángulos para la distancia: a cada lado del ángulo de mayor alcance, el "
                           "ángulo cuyo alcance es la distancia, por regula falsi con bisección hasta "
                           "un intervalo menor que 0,0000001 grados; su banda, sobre las "
                           "tolerancias de D, M y Vo, con la búsqueda de la banda hasta 1/256 de "
                           "cada intervalo."),
            body);
    pages.Paragraph(QStringLiteral("El trabajo se reparte entre varios hilos y da los mismos números con "
                                   "cualquier número de ellos. Se calcularon %1 trayectorias.")
                        .arg(c.source.Answer.Trayectorias),
                    body);
    pages.Paragraph(
        QStringLiteral("Qué significan estos números: la banda es el menor y el mayor valor de "
                       "cada magnitud cuando cada dato puede estar en cualquier punto de su "
                       "tolerancia, dentro de un modelo (la ley de arrastre indicada, sin viento, "
                       "con la gravedad y el paso fijos). No es una probabilidad ni un intervalo de "
                       "confianza, y no cubre lo que el modelo no contiene."),
        formula);
}

std::vector<std::vector<QString>> Rows(const CaseTable& table) {
    std::vector<std::vector<QString>> rows;
    std::vector<QString> header;
    for (const std::string& caption : table.Header)
        header.push_back(Q(caption));
    rows.push_back(header);
    for (const auto& row : table.Rows) {
        std::vector<QString> cells;
        for (const std::string& cell : row)
            cells.push_back(Q(cell));
        rows.push_back(cells);
    }
    return rows;
}

void Subheading(ReportPages& pages, const QString& text) {
    const QFont font = ReportSansFont(10, true);
    pages.EnsureRoom(pages.Metrics(font).lineSpacing() * 1.5 +
                     pages.Metrics(ReportSansFont(9)).lineSpacing() * 3);
    pages.Skip(pages.Metrics(font).lineSpacing() * 0.3);
    pages.Paragraph(text, font);
}

void Results(ReportPages& pages, const QString& heading, const Content& c) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    const CaseAnswer& a = c.source.Answer;
    const CaseTablesShown shown = TablesShown(c.source.Question);
    if (shown.Banda && a.Banda) {
        Subheading(pages, QStringLiteral("Banda sobre las tolerancias"));
        const CaseTable band = BandTable(*a.Banda);
        std::vector<std::vector<QString>> figures;
        for (const auto& row : Rows(band))
            figures.push_back({row[0], row[1], row[2], row[3]});
        pages.Table(figures);
        pages.Paragraph(QStringLiteral("Los datos de cada extremo:"), body);
        std::vector<std::vector<QString>> extremes{
            {QStringLiteral("Magnitud"), QStringLiteral("Extremo"), QStringLiteral("D (kg/m)"),
             QStringLiteral("M (kg)"), QStringLiteral("Vo (m/s)"), QStringLiteral("Ángulo (grados)")}};
        for (std::size_t f = 0; f < kCaseFigureCount; ++f)
            for (const auto& [name, extreme] : {std::pair{"mínimo", &a.Banda->Figuras[f].Minimo},
                                                std::pair{"máximo", &a.Banda->Figuras[f].Maximo}}) {
                const CaseInputs& in = extreme->Entradas;
                extremes.push_back({QString::fromUtf8(CaseFigureCaption(static_cast<CaseFigure>(f))),
                                    QString::fromUtf8(name), Q(NumberToGeneralText(in.D)),
                                    Q(NumberToGeneralText(in.M)), Q(NumberToGeneralText(in.Vo)),
                                    Q(NumberToGeneralText(in.Angulo))});
            }
        pages.Table(extremes);
        if (!band.Note.empty())
            pages.Paragraph(Q(band.Note), body);
    }
    if (shown.Lejano && a.Lejano) {
        Subheading(pages, QStringLiteral("Mayor alcance (0 a 90 grados)"));
        pages.Table(Rows(FarthestTable(*a.Lejano)));
    }
    if (shown.Angulos && a.Angulos) {
        Subheading(pages,
                   QStringLiteral("Ángulos para la distancia de %1 m").arg(Q(c.source.Inputs.Distancia)));
        const CaseTable angles = AnglesTable(*a.Angulos);
        pages.Table(Rows(angles));
        if (!angles.Note.empty())
            pages.Paragraph(Q(angles.Note), body);
    }
}

void Digest(ReportPages& pages, const QString& heading, const Content& c) {
    pages.Heading(heading);
    const QFont body = ReportSansFont(9);
    pages.Paragraph(c.digest, ReportMonoFont(9, true));
    pages.Paragraph(
        QStringLiteral(
            "Calculado con SHA-256 sobre una sola secuencia de bytes, en grupos: primero los textos de los "
            "datos de entrada, en UTF-8 y exactamente como figuran entre comillas arriba (con el separador "
            "decimal %1 en vigor), en este orden: D, T, M, ángulo, Vo, el nombre de la ley (\"%2\"), H, las "
            "tolerancias de D, M, Vo y el ángulo, y la distancia (vacía si no se pidió); después, por cada "
            "tabla de los resultados, sus títulos y cada una de sus filas tal como las escribe el CSV de la "
            "línea de comandos (con el punto y todas las cifras). Cada texto se escribe como su longitud en "
            "bytes en cifras decimales ASCII, el byte \":\" (0x3A), sus bytes y el byte \",\" (0x2C); cada "
            "grupo termina en el byte 0x0A (salto de línea).")
            .arg(ReportSeparatorText(), QString::fromUtf8(DragLawOptionName(c.source.Inputs.Ley))),
        body);
    pages.Paragraph(QStringLiteral("El cálculo es determinista: los mismos textos dan las mismas tablas y el "
                                   "mismo resumen, que muestra que el análisis es reproducible; no es una "
                                   "firma. Órdenes que repiten cada tabla (con --csv - escriben sus filas), "
                                   "con el separador decimal %1 en vigor:")
                        .arg(ReportSeparatorText()),
                    body);
    for (const std::string& command : CaseReproduceCommands(c.source.Inputs, c.source.Question))
        pages.Paragraph(Q(command), ReportMonoFont(7));
}

} // namespace

QString CaseDigest(const CaseReportSource& source) {
    const std::string bytes = CaseDigestInput(source.Inputs, source.Question, source.Answer);
    return QString::fromLatin1(
        QCryptographicHash::hash(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                 QCryptographicHash::Sha256)
            .toHex());
}

QByteArray RenderCaseReportPdf(const CaseReportSource& source) {
    const Content c{source, CaseDigest(source), Q(SelfCheckVerdict(RunSelfCheck()))};
    const auto section = [&c](const char* title, void (*lay)(ReportPages&, const QString&, const Content&)) {
        return ReportSection{QString::fromUtf8(title), [&c, lay](ReportPages& pages, const QString& heading) {
                                 lay(pages, heading, c);
                             }};
    };
    ReportDocument document{
        QStringLiteral("Informe de Análisis del Caso"),
        QStringLiteral("Informe de análisis del caso"),
        source.Caso.Expediente,
        c.digest,
        ReportMetadataOf(
            QStringLiteral("Informe de Análisis del Caso"),
            QStringLiteral("Análisis del caso: banda sobre las tolerancias, mayor alcance y ángulos "
                           "para una distancia"),
            source.Caso, c.digest),
        {ReportSection{QStringLiteral("Identificación"),
                       [&c](ReportPages& pages, const QString& heading) {
                           LayReportIdentification(pages, heading, c.source.Caso, c.source.Written,
                                                   c.selfCheck);
                       }},
         section("Datos de entrada", Inputs), section("Método", Method), section("Resultados", Results),
         section("Resumen criptográfico (SHA-256)", Digest)}};
    return RenderReport(document);
}

void WriteCaseReportPdf(const QString& path, const CaseReportSource& source) {
    SaveWholeFile(path, RenderCaseReportPdf(source));
}

} // namespace korvo
