// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CommandLine.h"

#include "app/CaseCommands.h"
#include "app/CommandArguments.h"
#include "app/CommandOutputs.h"
#include "app/CommandRuns.h"
#include "app/ReportCommands.h"
#include "app/Startup.h"
#include "ballistics/ChartBitmap.h"
#include "ballistics/FileSave.h"
#include "ballistics/RunReportPdf.h"
#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/core/Calculators.h"
#include "ballistics/core/IdealPlot.h"
#include "ballistics/core/TrajectoryExport.h"
#include "base/ErrorText.h"
#include "base/ReplacingFile.h"
#include "chrome/Chrome.h"
#include "chrome/Messages.h"
#include "export/TableExportXLS.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QDateTime>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace korvo {
namespace {

enum ExitStatus { kDone = 0, kFailed = 1, kRefused = 2 };

constexpr const char* kHelpHead = R"(Uso: KORVO [ORDEN [OPCIONES]]

Calculadora de balística exterior forense. Sin argumentos abre sus ventanas;
con una orden calcula sin abrir ninguna ventana y sin necesitar pantalla, con
la misma aritmética, las mismas reglas de lectura y los mismos mensajes que las
ventanas.

Órdenes:
  real     Trayectoria real (con resistencia del aire), sin la pausa de 1 ms
           por paso. Escribe en la salida estándar los cuatro valores de la
           ventana de resultados, la velocidad y el ángulo de impacto (en el
           cruce con el suelo interpolado entre los dos últimos pasos) y la
           ley de arrastre y, si se piden, los archivos de la ventana.
  ideal    Trayectoria ideal (en el vacío): los seis valores calculados y,
           con --csv, los puntos de la gráfica (X, Y, t) como los lista la
           tabla de la ventana.
  selfcheck
           Autocomprobación: calcula con el propio código del programa casos
           cuya solución se conoce en forma cerrada y escribe, por caso, el
           valor esperado, el de KORVO y la diferencia; termina con "correcto"
           o con el caso que falla (estado 0 o 1).
  sweep    Varía una entrada de la trayectoria real de DESDE a HASTA en pasos
           de PASO (ambos extremos incluidos, a lo sumo 100000 valores) y
           escribe una fila CSV por valor: el valor, la ley de arrastre, las
           iteraciones, el tiempo de vuelo, la altura máxima, el alcance, el
           cruce con el suelo interpolado entre los dos últimos pasos y la
           velocidad y el ángulo de impacto en él. Un valor que la ventana
           rechazaría lleva el mensaje en su fila y el barrido sigue.
  band, farthest, angles
           Las preguntas de un caso con tolerancias (--tol NOMBRE=MAS_MENOS):
           la banda de cada magnitud, el alcance más lejano y los ángulos que
           llegan a una distancia (--distance X). KORVO band --help explica
           sus opciones.

Opciones de real y sweep (por omisión, los valores de la ventana):
)";

// After the seven inputs' lines, which the table of inputs writes.
constexpr const char* kHelpTail =
    R"(  --drag LEY     ley de arrastre (linear): linear, la de la ventana, con la
                 velocidad inicial Vo; quadratic, la estándar, con la
                 velocidad actual |V|
  --csv ARCHIVO  CSV en ARCHIVO, o en la salida estándar con "-"; en real, la
                 tabla de pasos (sin CSV por omisión); en sweep, las filas del
                 barrido (por omisión, "-")

Opciones de real (cada ARCHIVO puede ser "-", la salida estándar):
  --xls ARCHIVO  el libro de la ventana ("Exportar datos a Excel")
  --bmp ARCHIVO  el gráfico de la ventana ("Guardar Grafico a Imagen BMP")
  --pdf ARCHIVO  el informe de la ventana ("Generar Informe PDF")
  --json ARCHIVO un objeto JSON para programas: las entradas, la ley de arrastre
                 y los resultados (los cuatro de la ventana y el impacto),
                 cada número con todas sus cifras y con su texto al lado
  --expediente TEXTO, --perito TEXTO, --nota TEXTO
                 el número de expediente, el perito y una nota que el informe
                 imprime en su identificación (el expediente, también al pie
                 de cada página)

Opciones de sweep:
  --vary NOMBRE=DESDE:HASTA:PASO o --vary NOMBRE=V1,V2,...
                 la entrada que varía: d, t, m, xo, yo, angle o vo
                 (obligatoria), por un intervalo o por una lista de valores
                 (separados por ",", con "." como separador decimal); su valor
                 sustituye al de la opción de la entrada. Repetida con otras
                 entradas, recorre todas sus combinaciones (la primera varía
                 más despacio), con una columna por entrada y a lo sumo 100000
                 filas en total
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
  --json ARCHIVO las entradas y los seis valores como objeto JSON, o "-"

Opciones generales:
  --help         muestra esta ayuda y termina
  --version      muestra la versión y termina

Cada opción se da una sola vez (salvo --vary) y se comprueba aunque la orden
no la use. Los números se escriben con "." o con el separador decimal de la
configuración regional. El CSV usa siempre "." y ",", una fila de encabezado,
comillas según RFC 4180, UTF-8 y todas las cifras de los textos de la ventana;
la salida para personas usa el separador regional y va a la salida estándar,
o a la salida de errores cuando un archivo va a la salida estándar.

Antes de calcular se comprueba cada archivo de salida: dos opciones no pueden
nombrar el mismo archivo, y las carpetas que falten se crean. Un archivo
normal solo se da por escrito cuando está completo; si la escritura falla,
queda el archivo anterior. Un dispositivo, una tubería o un socket se escriben
directamente, sin reemplazarlos; un enlace simbólico se sigue hasta su
destino, que se crea si no existe.

Estado de salida:
  0  terminado
  1  una o más escrituras fallaron (una línea por cada una; las demás se
     escriben), o la ventana de resultados no puede leer la corrida
  2  una entrada rechazada, una opción errónea o un archivo que no puede
     crearse; no se calcula ni se escribe nada
  3  (real) calculado, pero el proyectil no aterrizó: la corrida se detuvo en
     2000000 iteraciones todavía en el aire

Una corrida que no aterriza en 2000000 iteraciones se detiene ahí, como en la
ventana: se avisa en la salida de errores, sus filas se escriben y el informe
dice que el proyectil no aterrizó. Se rechazan antes de calcular T no mayor
que 0, Vo negativa, M igual a 0 y un paso inestable ((D ÷ M) × Vo × T desde
2/3); por encima de 0.1 se avisa en la salida de errores de que el paso es
grande.

El manual de KORVO (F1 en cualquier ventana del programa) explica el modelo,
cada ventana y cada mensaje; su sección "Uso desde la línea de comandos"
trata de estas órdenes.

Ejemplos:
  KORVO real --angle 45 --xls caso.xls --pdf caso.pdf

  KORVO real --drag quadratic

  KORVO ideal --vo 300 --angle 30 --csv puntos.csv

  KORVO sweep --vary angle=76:80:0.5 --jobs 2 --csv barrido.csv
)";

// The help: the seven inputs' lines come from the table of inputs, with their
// defaults as the window writes them in a "." locale.
//   "  --d D          constante de proporcionalidad, kg/m (0.000016788592601)"
const std::string& HelpText() {
    static const std::string text = [] {
        std::string help = kHelpHead;
        for (const RunInputInfo& input : RunInputTable()) {
            std::string option = std::string("  --") + input.Option + " " + input.HelpArgument;
            option.resize(std::max<std::size_t>(option.size() + 1, 17), ' ');
            help += option + input.Help + " (" + input.DefaultText + ")" + input.HelpNote + "\n";
        }
        return help + kHelpTail;
    }();
    return text;
}

constexpr const char* kUsage = "Uso: KORVO [ORDEN [OPCIONES]]; las órdenes son real, ideal, sweep, band, "
                               "farthest, angles y selfcheck (KORVO --help las explica).\n";

// A step whose failure is the input's fault: a conversion error, a value the
// window refuses. Whatever it throws becomes a refusal (exit status 2).
template <class Step> auto Refusing(Step&& step) {
    try {
        return step();
    } catch (const ERefused&) {
        throw;
    } catch (const std::exception& error) {
        throw ERefused(error.what());
    }
}

// --- Inputs ----------------------------------------------------------------

// Every input given is read as its field reads it, before anything runs,
// whether or not the command goes on to use it.
RealInputs ReadRealInputs(const CommandArguments& arguments) {
    RealInputs inputs;
    for (const CommandOption& option : kRealInputOptions) {
        const auto typed = arguments.Value(option.name);
        if (!typed)
            continue;
        const RealInput input = *RunInputNamed(option.name);
        std::string& text = InputText(inputs, input);
        // The whole-degree angle is handed over as typed.
        text = input == RealInput::Angulo ? *typed : FieldText(*typed);
        Refusing([&] {
            if (input == RealInput::Angulo)
                ParseWhole(text);
            else
                ParseReal(text);
        });
    }
    inputs.Ley = DragOption(arguments);
    return inputs;
}

// The ideal window's four real inputs, by their option names.
std::array<std::pair<const char*, std::string*>, 4> IdealReals(IdealInputs& inputs) {
    return {{{"vo", &inputs.VelocidadInicial},
             {"angle", &inputs.Angulo},
             {"height", &inputs.AlturaDisparo},
             {"distance", &inputs.DistanciaDisparo}}};
}

IdealInputs ReadIdealInputs(const CommandArguments& arguments) {
    IdealInputs inputs;
    for (const auto& [name, field] : IdealReals(inputs))
        if (const auto typed = arguments.Value(name)) {
            *field = FieldText(*typed);
            Refusing([&] { return ParseReal(*field); });
        }
    if (const auto typed = arguments.Value("interval")) {
        inputs.IntervaloIteraciones = *typed;
        // Refused as "&Generar Grafica" refuses it, also when nothing is plotted.
        bool valid = false;
        try {
            valid = ParseWhole(*typed) > 0;
        } catch (const EConvertError&) {
        }
        if (!valid)
            throw ERefused(kIntervaloInvalido);
    }
    return inputs;
}

// The real-trajectory window's chart, built as the window builds it and holding
// the run's points, laid out at its on-screen size on no screen: what the
// bitmap and the report draw.
class RunChart {
public:
    explicit RunChart(const std::vector<std::pair<double, double>>& points) {
        host_.resize(kRealTrajectoryChartSize);
        chart_ = MakeRealTrajectoryChart(&host_, QRect(QPoint(0, 0), kRealTrajectoryChartSize));
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

// The export engine writes the workbook under a name; standard output's is
// that of its descriptor, which the save writes through.
void WriteWorkbook(const std::string& path, const TPackedRows& rows, DragLaw law) {
    TrajectoryRowsSource table(rows);
    TTableExportXLS exporter;
    SetUpTrajectoryExport(exporter, &table, path == "-" ? "/proc/self/fd/1" : path);
    SetTrajectoryExportLaw(exporter, law);
    exporter.Execute();
}

std::string ReportBytes(const RealInputs& inputs, const RealRun& run, RunChart& chart,
                        const CommandArguments& arguments) {
    const RunReportSource source{inputs,
                                 FinishedRunOf(run.Estado, run.ValorX, run.TiempoTotal, *run.Rows),
                                 run.Rows.get(),
                                 chart.View().chart(),
                                 QDateTime::currentDateTime(),
                                 CaseFieldsOption(arguments)};
    return RenderRunReportPdf(source).toStdString();
}

// --- JSON ------------------------------------------------------------------

// A text as a JSON string (UTF-8 kept, quotes, backslashes and control
// characters escaped).
std::string JsonText(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            json += "\\u00";
            json += kHex[(c >> 4) & 0xF];
            json += kHex[c & 0xF];
        } else {
            json += c;
        }
    }
    return json + "\"";
}

// The shortest text that reads back as the same extended value, whatever the
// C library's locale; JSON has no infinity or NaN, which become null (their
// texts stand beside them).
std::string JsonNumber(Real value) {
    if (!std::isfinite(value))
        return "null";
    char digits[64];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    return std::string(digits, end);
}

// {"texto": "<as shown>", "valor": <number>}
std::string JsonValue(std::string_view text, const std::string& number) {
    return "{\"texto\": " + JsonText(text) + ", \"valor\": " + number + "}";
}

// One JSON object of named members, in the order given.
std::string JsonObject(const std::vector<std::pair<std::string, std::string>>& members,
                       const std::string& indent) {
    std::string json = "{";
    for (std::size_t i = 0; i < members.size(); ++i)
        json +=
            (i > 0 ? ",\n" : "\n") + indent + "  " + JsonText(members[i].first) + ": " + members[i].second;
    return json + "\n" + indent + "}";
}

// The law of the real trajectory's drag, as the JSON names it ("ley"): the
// designed law's text is the one scripts have always read.
const char* RealLawText(DragLaw law) {
    return law == DragLaw::Linear ? "arrastre lineal en la velocidad" : "arrastre cuadrático en la velocidad";
}

// An impact figure at full precision beside its summary text; null without a crossing.
std::string JsonImpact(const std::optional<Impact>& impact, Real Impact::*figure, const char* unit) {
    if (!impact)
        return JsonValue("—", "null");
    return JsonValue(NumberToPatternText("0.000", (*impact).*figure) + unit, JsonNumber((*impact).*figure));
}

std::string RealJson(const RealInputs& inputs, const RealRun& run, const ResultadosTexts& texts) {
    RealInputs typed = inputs; // InputText reads through a mutable reference
    std::vector<std::pair<std::string, std::string>> entries;
    for (const CommandOption& option : kRealInputOptions) {
        const RealInput input = *RunInputNamed(option.name);
        const std::string& text = InputText(typed, input);
        entries.emplace_back(option.name,
                             JsonValue(text, input == RealInput::Angulo ? std::to_string(ParseWhole(text))
                                                                        : JsonNumber(ParseReal(text))));
    }
    const std::vector<std::pair<std::string, std::string>> results = {
        {"iteraciones", JsonValue(texts.TotalIteraciones, std::to_string(run.Estado.Iteraciones))},
        {"tiempo_vuelo", JsonValue(texts.TTotalVuelo, JsonNumber(ParseReal(run.TiempoTotal)))},
        {"altura_maxima", JsonValue(texts.HMax, JsonNumber(run.Estado.Hmax))},
        {"alcance", JsonValue(texts.DistanciaMax, JsonNumber(run.Estado.X))},
        {"velocidad_impacto", JsonImpact(run.Impacto, &Impact::Velocidad, " m/s")},
        {"angulo_impacto", JsonImpact(run.Impacto, &Impact::Angulo, " grados")},
        {"aterriza", run.Landed ? "true" : "false"}};
    return JsonObject({{"orden", JsonText("real")},
                       {"ley", JsonText(RealLawText(inputs.Ley))},
                       {"drag", JsonText(DragLawOptionName(inputs.Ley))},
                       {"entradas", JsonObject(entries, "  ")},
                       {"resultados", JsonObject(results, "  ")}},
                      "") +
           "\n";
}

// Named texts of real numbers as JSON members.
template <class Named> std::vector<std::pair<std::string, std::string>> JsonReals(const Named& named) {
    std::vector<std::pair<std::string, std::string>> members;
    for (const auto& [name, text] : named)
        members.emplace_back(name, JsonValue(*text, JsonNumber(ParseReal(*text))));
    return members;
}

std::string IdealJson(IdealInputs inputs, const IdealRun& run) {
    std::vector<std::pair<std::string, std::string>> entries = JsonReals(IdealReals(inputs));
    entries.emplace_back("interval", JsonValue(inputs.IntervaloIteraciones,
                                               std::to_string(ParseWhole(inputs.IntervaloIteraciones))));
    // The window keeps these values only as its texts, rounded to hundredths.
    const std::pair<const char*, const std::string*> values[] = {{"tiempo_altura_maxima", &run.TAlturaMaxima},
                                                                 {"tiempo_caida", &run.TCaida},
                                                                 {"tiempo_vuelo", &run.TTVuelo},
                                                                 {"altura_maxima", &run.AlturaMax},
                                                                 {"alcance", &run.AlcanceMax},
                                                                 {"velocidad_impacto", &run.VFinalImpacto}};
    const std::vector<std::pair<std::string, std::string>> results = JsonReals(values);
    return JsonObject({{"orden", JsonText("ideal")},
                       {"ley", JsonText("vacío")},
                       {"entradas", JsonObject(entries, "  ")},
                       {"resultados", JsonObject(results, "  ")}},
                      "") +
           "\n";
}

// --- Commands --------------------------------------------------------------

int RunReal(const CommandArguments& arguments) {
    const RealInputs inputs = ReadRealInputs(arguments);
    Outputs outputs(arguments, kRealOutputOptions);
    const bool rows = outputs.Path("xls") || outputs.Path("csv") || outputs.Path("pdf");
    const bool chart = outputs.Path("bmp") || outputs.Path("pdf");
    const RealRun run = Refusing([&] { return RunRealTrajectory(inputs, {rows, chart}); });
    // As the window tells it: the run stopped, its rows are kept and written.
    if (!run.Landed)
        PrintError(kTrayectoriaSinFin);
    WarnAboutLongStep(inputs);

    if (const auto xls = outputs.Path("xls"))
        outputs.Attempt([&] { WriteWorkbook(*xls, *run.Rows, inputs.Ley); });
    if (chart) {
        RunChart drawn(run.Points);
        outputs.Save("bmp", [&] { return ChartBitmap(drawn.View()).toStdString(); });
        outputs.Save("pdf", [&] { return ReportBytes(inputs, run, drawn, arguments); });
    }
    outputs.Save("csv", [&] { return TrajectoryCsv(*run.Rows); });
    const auto resultTexts = [&] {
        return ResultadosTrayectoriaReal(run.ValorX, run.Estado.Iteraciones, run.TiempoTotal,
                                         run.Estado.Hmax);
    };
    outputs.Save("json", [&] { return RealJson(inputs, run, resultTexts()); });
    outputs.PrintSummary([&] { return RealRunSummary(resultTexts(), run.Impacto, inputs.Ley); });
    outputs.Finish();
    return run.Landed ? kDone : kNotLandedStatus;
}

int RunIdeal(const CommandArguments& arguments) {
    const IdealInputs inputs = ReadIdealInputs(arguments);
    Outputs outputs(arguments, kIdealOutputOptions);
    const IdealRun run =
        Refusing([&] { return RunIdealTrajectory(inputs, outputs.Path("csv").has_value()); });
    outputs.Save("csv", [&] { return DotCsv({"X", "Y", "T (Seg.)"}, run.Rows); });
    outputs.Save("json", [&] { return IdealJson(inputs, run); });
    outputs.PrintSummary([&] { return IdealRunSummary(run); });
    outputs.Finish();
    return kDone;
}

// A FROM, TO or STEP of --vary, read as a real input is.
Real VaryNumber(const std::string& text) {
    return Refusing([&] { return ParseReal(FieldText(text)); });
}

// The values of one --vary, as field texts.
std::vector<std::string> VaryValues(const VarySpec& vary, std::size_t most) {
    if (!vary.range) {
        std::vector<std::string> values;
        for (const std::string& text : vary.texts) {
            VaryNumber(text);
            values.push_back(FieldText(text));
        }
        return values;
    }
    try {
        return SweepValues(VaryNumber(vary.texts[0]), VaryNumber(vary.texts[1]), VaryNumber(vary.texts[2]),
                           most);
    } catch (const std::invalid_argument& error) {
        throw ERefused(error.what());
    }
}

constexpr std::size_t kMostSweepRows = 100000;

int RunSweepCommand(const CommandArguments& arguments) {
    const std::vector<std::string> varyTexts = arguments.Values("vary");
    if (varyTexts.empty())
        throw ERefused("Falta --vary NOMBRE=DESDE:HASTA:PASO");
    // The grid's dimensions, the first --vary varying slowest.
    std::vector<RealInput> varied;
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> values;
    std::size_t rows = 1;
    for (const std::string& varyText : varyTexts) {
        const VarySpec vary = SplitVary(varyText);
        if (std::find(names.begin(), names.end(), vary.name) != names.end())
            throw ERefused("--vary varía " + vary.name + " dos veces");
        values.push_back(VaryValues(vary, kMostSweepRows));
        rows *= values.back().size();
        if (rows > kMostSweepRows)
            throw ERefused("Un barrido tiene a lo sumo " + std::to_string(kMostSweepRows) + " filas");
        names.push_back(vary.name);
        varied.push_back(*RunInputNamed(vary.name));
    }

    const unsigned jobs = JobsOption(arguments);
    RealInputs inputs = ReadRealInputs(arguments);
    Outputs outputs(arguments, kSweepOutputOptions);
    const std::string csvPath = outputs.Path("csv").value_or("-");

    std::vector<std::string> header = names;
    for (const char* column : {"ley", "iteraciones", "tiempo_vuelo", "altura_maxima", "alcance",
                               "cruce_tiempo", "cruce_x", "velocidad_impacto", "angulo_impacto", "mensaje"})
        header.emplace_back(column);
    std::string csv = CsvRecord(header);
    // Every point of the outer dimensions, in lexical order; the innermost
    // dimension runs on the threads.
    std::vector<std::size_t> at(values.size() - 1, 0);
    for (bool more = true; more;) {
        std::vector<std::string> outer;
        for (std::size_t d = 0; d < at.size(); ++d) {
            InputText(inputs, varied[d]) = values[d][at[d]];
            outer.push_back(DotText(values[d][at[d]]));
        }
        for (const SweepRow& row : RunSweep(inputs, varied.back(), values.back(), jobs)) {
            std::vector<std::string> fields = outer;
            fields.push_back(DotText(row.Valor));
            fields.push_back(DragLawOptionName(inputs.Ley));
            if (row.Iteraciones == 0) { // refused before any step
                fields.insert(fields.end(), {"", "", "", "", "", "", "", ""});
            } else {
                fields.insert(fields.end(), {std::to_string(row.Iteraciones), DotText(row.TiempoVuelo),
                                             DotText(row.AlturaMaxima), DotText(row.Alcance),
                                             DotText(row.CruceTiempo), DotText(row.CruceX),
                                             DotText(row.VelocidadImpacto), DotText(row.AnguloImpacto)});
            }
            fields.push_back(row.Mensaje);
            csv += CsvRecord(fields);
        }
        more = false;
        for (std::size_t d = at.size(); d-- > 0;) {
            if (++at[d] < values[d].size()) {
                more = true;
                break;
            }
            at[d] = 0;
        }
    }
    if (csvPath == "-")
        outputs.Attempt([&] { Print(stdout, csv); });
    else
        outputs.Save("csv", [&] { return csv; });
    outputs.Finish();
    return kDone;
}

bool NeverGui(const CommandArguments&) {
    return false;
}

// Only the chart (the bitmap and the report) needs a GUI application, and then
// on the offscreen platform, so that no command ever needs a display.
bool DrawsTheChart(const CommandArguments& arguments) {
    return arguments.IsSet("bmp") || arguments.IsSet("pdf");
}

// A case report lays out its text with fonts, which needs the GUI application.
bool WritesAReport(const CommandArguments& arguments) {
    return arguments.IsSet("pdf");
}

struct Command {
    std::string_view name;
    std::array<std::span<const CommandOption>, 4> options;
    int (*run)(const CommandArguments&); // the exit status when nothing was thrown
    bool (*needsGui)(const CommandArguments&);
    const char* (*help)() = nullptr; // its own --help text, when not the program's
};

int RunSelfCheck(const CommandArguments&) {
    return RunSelfCheckCommand();
}

int RunBand(const CommandArguments& arguments) {
    return RunCaseCommand("band", arguments);
}
int RunFarthest(const CommandArguments& arguments) {
    return RunCaseCommand("farthest", arguments);
}
int RunAngles(const CommandArguments& arguments) {
    return RunCaseCommand("angles", arguments);
}

const Command kCommands[] = {
    {"real",
     {kRealInputOptions, kDragOptions, kRealOutputOptions, kCaseFieldOptions},
     RunReal,
     DrawsTheChart},
    {"ideal", {kIdealOptions, kIdealOutputOptions, {}, {}}, RunIdeal, NeverGui},
    {"sweep",
     {kRealInputOptions, kDragOptions, kSweepOptions, kSweepOutputOptions},
     RunSweepCommand,
     NeverGui},
    {"selfcheck", {}, RunSelfCheck, NeverGui},
    {"band",
     {kCaseOptions, kCaseOutputOptions, kCaseFieldOptions, {}},
     RunBand,
     WritesAReport,
     CaseCommandHelp},
    {"farthest",
     {kCaseOptions, kCaseOutputOptions, kCaseFieldOptions, {}},
     RunFarthest,
     WritesAReport,
     CaseCommandHelp},
    {"angles",
     {kCaseOptions, kCaseOutputOptions, kCaseFieldOptions, {}},
     RunAngles,
     WritesAReport,
     CaseCommandHelp},
};

const Command* CommandNamed(std::string_view name) {
    for (const Command& command : kCommands)
        if (command.name == name)
            return &command;
    return nullptr;
}

// Qt's own options, which the windows' application reads (with one dash or two).
bool IsQtOption(std::string_view argument) {
    static constexpr std::string_view kQtOptions[] = {"platform",
                                                      "platformpluginpath",
                                                      "platformtheme",
                                                      "plugin",
                                                      "qwindowgeometry",
                                                      "qwindowicon",
                                                      "qwindowtitle",
                                                      "reverse",
                                                      "session",
                                                      "display",
                                                      "geometry",
                                                      "name",
                                                      "title",
                                                      "style",
                                                      "stylesheet",
                                                      "widgetcount",
                                                      "qmljsdebugger",
                                                      "nograb",
                                                      "dograb",
                                                      "visual",
                                                      "ncols",
                                                      "cmap",
                                                      "sync",
                                                      "testability"};
    if (!argument.starts_with('-'))
        return false;
    argument.remove_prefix(argument.starts_with("--") ? 2 : 1);
    argument = argument.substr(0, argument.find('='));
    return std::find(std::begin(kQtOptions), std::end(kQtOptions), argument) != std::end(kQtOptions);
}

int Finished(std::string_view text) {
    try {
        Print(stdout, text);
        return kDone;
    } catch (const std::exception& error) {
        PrintError(error.what());
        return kFailed;
    }
}

} // namespace

const char* CommandLineHelp() {
    return HelpText().c_str();
}

const char* CommandLineVersion() {
    static const std::string version = VersionText();
    return version.c_str();
}

bool IsCommandLine(int argc, char** argv) {
    return argc >= 2 && !IsQtOption(argv[1]);
}

// The application object a command runs under, the regional settings read
// and the temporaries removed on a signal. Only the chart (the bitmap and the
// report) needs a GUI application, and then on the offscreen platform, so that
// no command ever needs a display.
std::unique_ptr<QCoreApplication> StartApplication(bool gui) {
    // Qt's own diagnostics (an unset XDG_RUNTIME_DIR on the offscreen
    // platform, say) are not the command's output: only its errors reach
    // standard error. Qt sees no argument of the user's.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            PrintError(message.toStdString());
    });
    static int appArgc = 1;
    static char appName[] = "KORVO";
    static char* appArgv[] = {appName, nullptr};
    std::unique_ptr<QCoreApplication> application;
    if (gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(appArgc, appArgv);
        InstallFontSubstitutions();
    } else {
        application = std::make_unique<QCoreApplication>(appArgc, appArgv);
    }
    ReadRegionalSettings();
    RemoveTemporariesOnSignals();
    return application;
}

int RunCommandLine(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h")
        return Finished(HelpText());
    if (first == "--version" || first == "-v")
        return Finished(CommandLineVersion());
    const Command* command = CommandNamed(first);
    if (command == nullptr) {
        PrintError("Orden desconocida: " + first);
        std::fputs(kUsage, stderr);
        return kRefused;
    }

    std::unique_ptr<QCoreApplication> application;
    try {
        const std::vector<std::string> words(argv + 2, argv + argc);
        const CommandArguments arguments(
            words, {command->options[0], command->options[1], command->options[2], command->options[3]});
        if (arguments.Help())
            return Finished(command->help ? command->help() : HelpText());
        application = StartApplication(command->needsGui(arguments));
        return command->run(arguments);
    } catch (const ERefused& refusal) {
        PrintError(refusal.what());
        return kRefused;
    } catch (const EWritesFailed& failures) {
        for (const std::string& message : failures.Messages())
            PrintError(message);
        return kFailed;
    } catch (const std::exception& error) {
        PrintError(error.what());
        return kFailed;
    }
}

} // namespace korvo
