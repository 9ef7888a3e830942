#include "app/CommandLine.h"

#include "app/CommandRuns.h"
#include "app/Startup.h"
#include "ballistics/ChartBitmap.h"
#include "ballistics/FileSave.h"
#include "ballistics/RunReportPdf.h"
#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/TrajectoryTableModel.h"
#include "ballistics/Unit2.h"
#include "ballistics/core/Calculators.h"
#include "chrome/Chrome.h"
#include "chrome/Messages.h"
#include "export/TableExportXLS.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QWidget>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#ifndef KORVO_VERSION
#define KORVO_VERSION "1.0"
#endif

namespace korvo {
namespace {

enum ExitStatus { kDone = 0, kFailed = 1, kRefused = 2 };

constexpr const char* kHelp = R"(Uso: KORVO [ORDEN [OPCIONES]]

Calculadora de balística exterior forense. Sin argumentos abre sus ventanas;
con una orden calcula sin abrir ninguna ventana y sin necesitar pantalla, con
la misma aritmética, las mismas reglas de lectura y los mismos mensajes que las
ventanas.

Órdenes:
  real     Trayectoria real (con resistencia del aire), sin la pausa de 1 ms
           por paso. Escribe en la salida estándar los cuatro valores de la
           ventana de resultados y, si se piden, los archivos de la ventana.
  ideal    Trayectoria ideal (en el vacío): los seis valores calculados y,
           con --csv, los puntos de la gráfica (X, Y, t) como los lista la
           tabla de la ventana.
  sweep    Varía una entrada de la trayectoria real de DESDE a HASTA en pasos
           de PASO (ambos extremos incluidos, a lo sumo 100000 valores) y
           escribe una fila CSV por valor: el valor, las iteraciones, el tiempo
           de vuelo, la altura máxima, el alcance y el cruce con el suelo
           interpolado entre los dos últimos pasos. Un valor que la ventana
           rechazaría lleva el mensaje en su fila y el barrido sigue.

Opciones de real y sweep (por omisión, los valores de la ventana):
  --d D          constante de proporcionalidad, kg/m (0.000016788592601)
  --t T          paso de tiempo, s (0.01)
  --m M          masa del proyectil, kg (0.00745)
  --xo X         posición inicial X, m (0); como en la ventana, no interviene
  --yo Y         posición inicial Y, m (0); como en la ventana, no interviene
  --angle A      ángulo de disparo, grados enteros (78)
  --vo V         velocidad inicial, m/s (340)
  --csv ARCHIVO  CSV en ARCHIVO, o en la salida estándar con "-"; en real, la
                 tabla de pasos (sin CSV por omisión); en sweep, las filas del
                 barrido (por omisión, "-")

Opciones de real:
  --xls ARCHIVO  el libro de la ventana ("Exportar datos a Excel")
  --bmp ARCHIVO  el gráfico de la ventana ("Guardar Grafico a Imagen BMP")
  --pdf ARCHIVO  el informe de la ventana ("Generar Informe PDF")

Opciones de sweep:
  --vary NOMBRE=DESDE:HASTA:PASO
                 la entrada que varía: d, t, m, xo, yo, angle o vo
                 (obligatoria); su valor sustituye al de la opción de la entrada
  --jobs N       hilos de cálculo (por omisión, los núcleos de la máquina; a lo
                 sumo 256); las filas salen en el orden de los valores con
                 cualquier N

Opciones de ideal (por omisión, los valores de la ventana):
  --vo V         velocidad inicial, m/s (340)
  --angle A      ángulo de disparo, grados (78)
  --height Y     altura del disparo, m (0)
  --distance X   distancia del disparo, m (0)
  --interval N   intervalo de iteraciones, ms (50)
  --csv ARCHIVO  los puntos de la gráfica en ARCHIVO, o "-" (sin CSV por omisión)

Opciones generales:
  --help         muestra esta ayuda y termina
  --version      muestra la versión y termina

Los números se escriben con "." o con el separador decimal de la configuración
regional. El CSV usa siempre "." y ",", una fila de encabezado, comillas según
RFC 4180, UTF-8 y todas las cifras de los textos de la ventana; la salida para
personas usa el separador regional. Un archivo solo se da por escrito cuando
está completo; si la escritura falla, queda el archivo anterior.

Estado de salida:
  0  terminado
  1  una escritura falló (o la ventana de resultados no puede leer la corrida)
  2  una entrada rechazada o una opción errónea; no se escribe nada

Una corrida que no aterriza en 2000000 iteraciones se detiene ahí, como en la
ventana: se avisa en la salida de errores y sus filas se escriben.

El manual de KORVO (F1 en cualquier ventana del programa) explica el modelo,
cada ventana y cada mensaje; su sección "Uso desde la línea de comandos"
trata de estas órdenes.

Ejemplos:
  KORVO real --angle 45 --xls caso.xls --pdf caso.pdf

  KORVO ideal --vo 300 --angle 30 --csv puntos.csv

  KORVO sweep --vary angle=76:80:0.5 --jobs 2 --csv barrido.csv
)";

constexpr const char* kVersion =
    "KORVO " KORVO_VERSION "\n"
    "Copyright (C) 2026 Korvatek\n"
    "Licencia GPL-3.0-or-later: GNU GPL versión 3 o posterior <https://www.gnu.org/licenses/gpl-3.0.html>.\n"
    "Esto es software libre: puede modificarlo y redistribuirlo. No hay NINGUNA GARANTÍA, en la medida\n"
    "en que lo permita la ley.\n";

// A refusal of the command's arguments (exit status 2).
struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Print(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

void PrintError(const std::string& message) {
    Print(stderr, "KORVO: " + ErrorReportText(QString::fromStdString(message)).toStdString() + "\n");
}

// --- Options ---------------------------------------------------------------

struct Option {
    const char* name;
    const char* value;
};

constexpr Option kRealOptions[] = {{"d", "D"},  {"t", "T"},     {"m", "M"},  {"xo", "X"},
                                   {"yo", "Y"}, {"angle", "A"}, {"vo", "V"}, {"csv", "ARCHIVO"}};
constexpr Option kRealFiles[] = {{"xls", "ARCHIVO"}, {"bmp", "ARCHIVO"}, {"pdf", "ARCHIVO"}};
constexpr Option kSweepOptions[] = {{"vary", "NOMBRE=DESDE:HASTA:PASO"}, {"jobs", "N"}};
constexpr Option kIdealOptions[] = {{"vo", "V"},       {"angle", "A"},    {"height", "Y"},
                                    {"distance", "X"}, {"interval", "N"}, {"csv", "ARCHIVO"}};

// Parses the arguments after the command; refuses unknown options, missing
// values and stray arguments.
class Arguments {
public:
    Arguments(const QStringList& arguments, std::initializer_list<std::span<const Option>> groups) {
        parser_.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const std::span<const Option> group : groups)
            for (const Option& option : group)
                parser_.addOption(QCommandLineOption(QString::fromUtf8(option.name), QString(),
                                                     QString::fromUtf8(option.value)));
        parser_.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
        if (!parser_.parse(arguments)) {
            if (!parser_.unknownOptionNames().isEmpty())
                throw Refused("Opción desconocida: --" + parser_.unknownOptionNames().front().toStdString());
            throw Refused("Opción sin valor o mal escrita (" + parser_.errorText().toStdString() + ")");
        }
        if (!parser_.positionalArguments().isEmpty())
            throw Refused("Argumento de más: " + parser_.positionalArguments().front().toStdString());
    }

    bool Help() const { return parser_.isSet(QStringLiteral("help")); }
    bool IsSet(const char* name) const { return parser_.isSet(QString::fromUtf8(name)); }
    std::optional<std::string> Value(const char* name) const {
        if (!IsSet(name))
            return std::nullopt;
        const QStringList values = parser_.values(QString::fromUtf8(name));
        return values.back().toStdString();
    }
    // A real input as its field would hold it, or the default when not given.
    void ReadReal(const char* name, std::string& field) const {
        if (const auto typed = Value(name))
            field = FieldText(*typed);
    }
    // A whole-number input, handed over as typed.
    void ReadWhole(const char* name, std::string& field) const {
        if (const auto typed = Value(name))
            field = *typed;
    }

private:
    QCommandLineParser parser_;
};

RealInputs ReadRealInputs(const Arguments& arguments) {
    RealInputs inputs;
    arguments.ReadReal("d", inputs.D);
    arguments.ReadReal("t", inputs.T);
    arguments.ReadReal("m", inputs.M);
    arguments.ReadReal("xo", inputs.Xo);
    arguments.ReadReal("yo", inputs.Yo);
    arguments.ReadWhole("angle", inputs.Angulo);
    arguments.ReadReal("vo", inputs.Vo);
    return inputs;
}

// --- Writing ---------------------------------------------------------------

// Machine output: to the file named (whole or not at all), or to standard
// output for "-".
void WriteOutput(const std::string& target, const std::string& bytes) {
    if (target != "-") {
        SaveWholeFile(QString::fromStdString(target), QByteArray::fromStdString(bytes));
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() || std::fflush(stdout) != 0)
        throw std::runtime_error(std::string("Error writing output file \"-\". ") + std::strerror(errno));
}

// The real-trajectory window's chart, built as the window builds it and holding
// the run's points, laid out at its on-screen size on no screen: what the
// bitmap and the report draw.
class RunChart {
public:
    explicit RunChart(const std::vector<std::pair<double, double>>& points) {
        host_.resize(kRealTrajectoryChartBox.size());
        chart_ = MakeRealTrajectoryChart(&host_, QRect(QPoint(0, 0), kRealTrajectoryChartBox.size()));
        for (const auto& [x, y] : points)
            chart_.model->Add(x, y);
        chart_.model->Flush();
        // The chart lays itself out in the view's resize and layout events,
        // which a widget receives once it is shown.
        host_.setAttribute(Qt::WA_DontShowOnScreen);
        host_.show();
        QCoreApplication::processEvents();
    }
    QChartView& View() { return *chart_.view; }

private:
    QWidget host_;
    TrajectoryChart chart_{};
};

void WriteWorkbook(const std::string& path, const TrajectoryTableModel& rows) {
    TrajectoryRowsSource table(rows);
    TTableExportXLS exporter;
    SetUpTrajectoryExport(exporter, &table, path);
    exporter.Execute();
}

void WriteReport(const std::string& path, const RealInputs& inputs, const RealRun& run, RunChart& chart) {
    const RunReportSource source{
        {inputs.D, inputs.T, inputs.M, inputs.Xo, inputs.Yo, inputs.Angulo, inputs.Vo},
        FinishedRunOf(run.Estado, run.ValorX, run.TiempoTotal, *run.Rows),
        run.Rows.get(),
        chart.View().chart(),
        QDateTime::currentDateTime()};
    WriteRunReportPdf(QString::fromStdString(path), source);
}

std::string TableCsv(const std::vector<std::string>& header, const TrajectoryTableModel& rows) {
    std::string csv = CsvRecord(header);
    for (int r = 0; r < rows.rowCount(); ++r) {
        std::vector<std::string> fields;
        for (int c = 0; c < TrajectoryTableModel::kColumnCount; ++c)
            fields.push_back(DotText(std::string(rows.CellText(r, c))));
        csv += CsvRecord(fields);
    }
    return csv;
}

std::string RowsCsv(const std::vector<std::string>& header, const auto& rows) {
    std::string csv = CsvRecord(header);
    for (const auto& row : rows) {
        std::vector<std::string> fields;
        for (const std::string& text : row)
            fields.push_back(DotText(text));
        csv += CsvRecord(fields);
    }
    return csv;
}

std::string Line(const char* label, const std::string& value) {
    return std::string(label) + " " + value + "\n";
}

// --- Commands --------------------------------------------------------------

// Runs a command body: a refusal or a conversion error before anything is
// written exits 2, any later failure exits 1.
template <class Body> int Run(Body&& body) {
    bool writing = false;
    try {
        body(writing);
        return kDone;
    } catch (const std::exception& error) {
        PrintError(error.what());
        return writing ? kFailed : kRefused;
    }
}

int RunReal(const Arguments& arguments) {
    return Run([&](bool& writing) {
        const RealInputs inputs = ReadRealInputs(arguments);
        const auto xls = arguments.Value("xls");
        const auto bmp = arguments.Value("bmp");
        const auto pdf = arguments.Value("pdf");
        const auto csv = arguments.Value("csv");
        const RealRun run = RunRealTrajectory(inputs, {xls || csv || pdf, bmp || pdf});
        // As the window tells it: the run stopped, its rows are kept and written.
        if (!run.Landed)
            PrintError(kTrayectoriaSinFin);

        writing = true;
        if (xls)
            WriteWorkbook(*xls, *run.Rows);
        if (bmp || pdf) {
            RunChart chart(run.Points);
            if (bmp)
                SaveWholeFile(QString::fromStdString(*bmp), ChartBitmap(chart.View()));
            if (pdf)
                WriteReport(*pdf, inputs, run, chart);
        }
        if (csv) {
            std::vector<std::string> header;
            for (const auto& column : TrajectoryTableModel::Columns())
                header.emplace_back(column.caption);
            WriteOutput(*csv, TableCsv(header, *run.Rows));
        }
        // Standard output carries the CSV alone when it is there.
        if (csv == "-")
            return;
        const ResultadosTexts texts =
            ResultadosTrayectoriaReal(run.ValorX, run.Estado.Iteraciones, run.TiempoTotal, run.Estado.Hmax);
        Print(stdout, Line("Total de Iteraciones:", texts.TotalIteraciones) +
                          Line("Tiempo Total de Vuelo:", texts.TTotalVuelo) +
                          Line("Altura Maxima (Hmax):", texts.HMax) +
                          Line("Alcance Maximo (Amax):", texts.DistanciaMax));
    });
}

int RunIdeal(const Arguments& arguments) {
    return Run([&](bool& writing) {
        IdealInputs inputs;
        arguments.ReadReal("vo", inputs.VelocidadInicial);
        arguments.ReadReal("angle", inputs.Angulo);
        arguments.ReadReal("height", inputs.AlturaDisparo);
        arguments.ReadReal("distance", inputs.DistanciaDisparo);
        arguments.ReadWhole("interval", inputs.IntervaloIteraciones);
        const auto csv = arguments.Value("csv");
        const IdealRun run = RunIdealTrajectory(inputs, csv.has_value());

        writing = true;
        if (csv) {
            WriteOutput(*csv, RowsCsv({"X", "Y", "T (Seg.)"}, run.Rows));
            if (*csv == "-")
                return;
        }
        Print(stdout, Line("Tiempo Altura Max:", run.TAlturaMaxima + " seg.") +
                          Line("T. Caida Altura Max:", run.TCaida + " seg.") +
                          Line("Tiempo T. de Vuelo:", run.TTVuelo + " seg.") +
                          Line("Altura Maxima:", run.AlturaMax + " m.") +
                          Line("Alcance Maximo:", run.AlcanceMax + " m.") +
                          Line("Vel. Final al Impacto:", run.VFinalImpacto + " m/s"));
    });
}

// A FROM, TO or STEP of --vary, read as a real input is.
Real VaryNumber(const std::string& text) {
    return ParseReal(FieldText(text));
}

int RunSweepCommand(const Arguments& arguments) {
    return Run([&](bool& writing) {
        const auto vary = arguments.Value("vary");
        if (!vary)
            throw Refused("Falta --vary NOMBRE=DESDE:HASTA:PASO");
        const std::size_t equals = vary->find('=');
        const std::optional<RealInput> varied =
            RealInputNamed(equals == std::string::npos ? *vary : vary->substr(0, equals));
        if (!varied)
            throw Refused("--vary varía una de d, t, m, xo, yo, angle o vo: " + *vary);
        const std::string range = equals == std::string::npos ? std::string() : vary->substr(equals + 1);
        const std::size_t first = range.find(':');
        const std::size_t second = first == std::string::npos ? first : range.find(':', first + 1);
        if (second == std::string::npos || range.find(':', second + 1) != std::string::npos)
            throw Refused("--vary espera NOMBRE=DESDE:HASTA:PASO: " + *vary);
        const Real from = VaryNumber(range.substr(0, first));
        const Real to = VaryNumber(range.substr(first + 1, second - first - 1));
        const Real step = VaryNumber(range.substr(second + 1));
        std::vector<std::string> values;
        try {
            values = SweepValues(from, to, step, 100000);
        } catch (const std::invalid_argument& error) {
            throw Refused(error.what());
        }

        unsigned jobs = std::max(1u, std::thread::hardware_concurrency());
        if (const auto text = arguments.Value("jobs")) {
            const std::int32_t n = ParseWhole(*text);
            if (n < 1)
                throw Refused("--jobs espera un número entero mayor que 0: " + *text);
            jobs = static_cast<unsigned>(n);
        }

        const std::vector<SweepRow> rows = RunSweep(ReadRealInputs(arguments), *varied, values, jobs);
        std::string csv = CsvRecord({vary->substr(0, equals), "iteraciones", "tiempo_vuelo", "altura_maxima",
                                     "alcance", "cruce_tiempo", "cruce_x", "mensaje"});
        for (const SweepRow& row : rows) {
            if (row.Iteraciones == 0) { // refused before any step
                csv += CsvRecord({DotText(row.Valor), "", "", "", "", "", "", row.Mensaje});
                continue;
            }
            csv += CsvRecord({DotText(row.Valor), std::to_string(row.Iteraciones), DotText(row.TiempoVuelo),
                              DotText(row.AlturaMaxima), DotText(row.Alcance), DotText(row.CruceTiempo),
                              DotText(row.CruceX), row.Mensaje});
        }
        writing = true;
        WriteOutput(arguments.Value("csv").value_or("-"), csv);
    });
}

} // namespace

const char* CommandLineHelp() {
    return kHelp;
}

const char* CommandLineVersion() {
    return kVersion;
}

bool IsCommandLine(int argc, char** argv) {
    if (argc < 2)
        return false;
    const std::string first = argv[1];
    return (!first.empty() && first[0] != '-') || first == "--help" || first == "-h" ||
           first == "--version" || first == "-v";
}

int RunCommandLine(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "--help" || command == "-h") {
        Print(stdout, kHelp);
        return kDone;
    }
    if (command == "--version" || command == "-v") {
        Print(stdout, kVersion);
        return kDone;
    }

    // The arguments after the command, behind a program name as the parser wants.
    QStringList arguments{QStringLiteral("KORVO")};
    for (int i = 2; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    using Groups = std::initializer_list<std::span<const Option>>;
    std::unique_ptr<Arguments> parsed;
    try {
        if (command == "real")
            parsed = std::make_unique<Arguments>(arguments, Groups{kRealOptions, kRealFiles});
        else if (command == "sweep")
            parsed = std::make_unique<Arguments>(arguments, Groups{kRealOptions, kSweepOptions});
        else if (command == "ideal")
            parsed = std::make_unique<Arguments>(arguments, Groups{kIdealOptions});
        else
            throw Refused("Orden desconocida: " + command + " (KORVO --help muestra las órdenes)");
    } catch (const Refused& error) {
        PrintError(error.what());
        return kRefused;
    }
    if (parsed->Help()) {
        Print(stdout, kHelp);
        return kDone;
    }

    // Only the chart (the bitmap and the report) needs a GUI application, and then on the offscreen
    // platform, so that no command ever needs a display. Qt sees no argument
    // of the user's.
    // Qt's own diagnostics (an unset XDG_RUNTIME_DIR on the offscreen platform,
    // say) are not the command's output: only its errors reach standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            Print(stderr, "KORVO: " + message.toStdString() + "\n");
    });
    static int appArgc = 1;
    static char appName[] = "KORVO";
    static char* appArgv[] = {appName, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (command == "real" && (parsed->IsSet("bmp") || parsed->IsSet("pdf"))) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(appArgc, appArgv);
        InstallFontSubstitutions();
    } else {
        application = std::make_unique<QCoreApplication>(appArgc, appArgv);
    }
    ReadRegionalSettings();

    if (command == "real")
        return RunReal(*parsed);
    if (command == "sweep")
        return RunSweepCommand(*parsed);
    return RunIdeal(*parsed);
}

} // namespace korvo
