#include "app/CaseCommands.h"

#include "app/CommandRuns.h"
#include "ballistics/FileSave.h"
#include "ballistics/core/CaseAnalysis.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/TrajectoryFigures.h"
#include "chrome/Messages.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace korvo {
namespace {

enum Status { kDone = 0, kFailed = 1, kRefused = 2 };

constexpr const char* kCaseHelp = R"(Uso: KORVO band|farthest|angles [OPCIONES]

  band      la banda de cada magnitud (tiempo de vuelo, altura máxima,
            alcance, velocidad y ángulo de impacto) sobre las tolerancias
  farthest  el mayor alcance entre 0 y 90 grados, y sobre las tolerancias
  angles    los ángulos bajo y alto que alcanzan --distance X, con su banda

Opciones (por omisión, los valores de la ventana de la trayectoria real):
  --d D  --t T  --m M  --vo V    como en real
  --angle A            ángulo de disparo, grados (puede tener decimales) (78)
  --drag LEY           ley de arrastre: linear (la de la ventana, por omisión)
                       o quadratic (la estándar, con la velocidad actual)
  --height H           altura del disparo sobre el suelo del impacto, m (0)
  --tol NOMBRE=MAS_MENOS
                       tolerancia de d, m, vo o angle (repetible)
  --distance X         distancia horizontal, m (obligatoria en angles)
  --jobs N             hilos de cálculo (por omisión, los núcleos)
  --csv ARCHIVO        CSV en ARCHIVO, o en la salida estándar con "-"
)";

struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

void Put(std::FILE* stream, const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

// A real number of the command line, with "." or the regional separator.
Real Number(const std::string& typed) {
    return ParseReal(FieldText(typed));
}

struct CaseCommand {
    CaseQuestion Question;
    unsigned Jobs = std::max(1u, std::thread::hardware_concurrency());
    std::optional<std::string> Csv;
};

CaseCommand ReadCommand(const std::string& command, const QStringList& arguments, bool& help) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    for (const char* name :
         {"d", "t", "m", "vo", "angle", "drag", "height", "tol", "distance", "jobs", "csv"})
        parser.addOption(QCommandLineOption(QString::fromUtf8(name), QString(), QStringLiteral("VALOR")));
    parser.addOption(QCommandLineOption(QStringList{QStringLiteral("h"), QStringLiteral("help")}));
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            throw Refused("Opción desconocida: --" + parser.unknownOptionNames().front().toStdString());
        throw Refused("Opción sin valor o mal escrita (" + parser.errorText().toStdString() + ")");
    }
    if (!parser.positionalArguments().isEmpty())
        throw Refused("Argumento de más: " + parser.positionalArguments().front().toStdString());
    help = parser.isSet(QStringLiteral("help"));
    const auto value = [&](const char* name) -> std::optional<std::string> {
        const QStringList values = parser.values(QString::fromUtf8(name));
        return values.isEmpty() ? std::nullopt : std::optional(values.back().toStdString());
    };

    CaseCommand c;
    CaseInputs& n = c.Question.Nominal;
    const RealInputs defaults;
    n.D = Number(value("d").value_or(defaults.D));
    n.T = Number(value("t").value_or(defaults.T));
    n.M = Number(value("m").value_or(defaults.M));
    n.Vo = Number(value("vo").value_or(defaults.Vo));
    n.Angulo = Number(value("angle").value_or(defaults.Angulo));
    n.H = Number(value("height").value_or("0"));
    if (const auto drag = value("drag")) {
        const std::optional<DragLaw> law = DragLawNamed(*drag);
        if (!law)
            throw Refused("--drag admite linear o quadratic: " + *drag);
        n.Ley = *law;
    }
    for (const QString& typed : parser.values(QStringLiteral("tol"))) {
        const std::string tol = typed.toStdString();
        const std::size_t equals = tol.find('=');
        const std::string name = tol.substr(0, equals);
        Real* target = name == "d"       ? &c.Question.Tolerancias.D
                       : name == "m"     ? &c.Question.Tolerancias.M
                       : name == "vo"    ? &c.Question.Tolerancias.Vo
                       : name == "angle" ? &c.Question.Tolerancias.Angulo
                                         : nullptr;
        if (!target || equals == std::string::npos)
            throw Refused("--tol espera NOMBRE=MAS_MENOS con NOMBRE d, m, vo o angle: " + tol);
        *target = Number(tol.substr(equals + 1));
    }
    if (const auto jobs = value("jobs")) {
        const std::int32_t count = ParseWhole(*jobs);
        if (count < 1)
            throw Refused("--jobs espera un número entero mayor que 0: " + *jobs);
        c.Jobs = static_cast<unsigned>(count);
    }
    c.Question.Banda = command == "band";
    c.Question.Lejano = command == "farthest";
    if (command == "angles") {
        const auto distance = value("distance");
        if (!distance)
            throw Refused("Falta --distance X");
        c.Question.Distancia = Number(*distance);
    } else if (value("distance")) {
        throw Refused("--distance es de la orden angles");
    }
    c.Csv = value("csv");
    return c;
}

// Machine numbers: every digit the windows show, with ".".
std::string Dot(Real value) {
    return DotText(NumberToGeneralText(value));
}

std::string InputsText(const CaseInputs& in) {
    return "d=" + Dot(in.D) + ";m=" + Dot(in.M) + ";vo=" + Dot(in.Vo) + ";angle=" + Dot(in.Angulo);
}

std::string Fixed(Real value) {
    return NumberToPatternText("0.000", value);
}

const char* const kFigureLabels[kCaseFigureCount] = {"Tiempo de vuelo (s)", "Altura máxima (m)",
                                                     "Alcance (m)", "Velocidad de impacto (m/s)",
                                                     "Ángulo de impacto (grados)"};

void Output(const CaseAnswer& answer, DragLaw law, const std::optional<std::string>& csvTarget) {
    std::string csv, text = std::string("Ley de arrastre: ") + DragLawCaption(law) + "\n";
    if (const auto& band = answer.Banda) {
        csv = CsvRecord({"magnitud", "minimo", "nominal", "maximo", "entradas_minimo", "entradas_maximo"});
        text += std::string("Método: ") + kMetodoBanda + "\n";
        for (std::size_t f = 0; f < kCaseFigureCount; ++f) {
            const FigureBand& b = band->Figuras[f];
            csv += CsvRecord({CaseFigureName(static_cast<CaseFigure>(f)), Dot(b.Minimo.Valor), Dot(b.Nominal),
                              Dot(b.Maximo.Valor), InputsText(b.Minimo.Entradas),
                              InputsText(b.Maximo.Entradas)});
            text += std::string(kFigureLabels[f]) + ": mínimo " + Fixed(b.Minimo.Valor) + ", nominal " +
                    Fixed(b.Nominal) + ", máximo " + Fixed(b.Maximo.Valor) + "\n";
        }
    }
    if (answer.Lejano && !answer.Angulos) {
        const FarthestReach& r = *answer.Lejano;
        csv = CsvRecord({"ley", "angulo", "alcance", "angulo_caja", "alcance_caja"}) +
              CsvRecord({DragLawOptionName(law), Dot(r.Angulo), Dot(r.Alcance), Dot(r.AnguloCaja),
                         Dot(r.AlcanceCaja)});
        text += "Mayor alcance: " + Fixed(r.Alcance) + " m, a " + NumberToPatternText("0.00", r.Angulo) +
                " grados\nMayor alcance con las tolerancias: " + Fixed(r.AlcanceCaja) + " m, a " +
                NumberToPatternText("0.00", r.AnguloCaja) + " grados\n";
    }
    if (const auto& angles = answer.Angulos) {
        csv = CsvRecord({"rama", "angulo", "angulo_min", "angulo_max", "tiempo_vuelo", "velocidad_impacto"});
        // A distance beyond the farthest reach is told once, not per branch.
        const bool beyond = !angles->Baja.Alcanza && angles->Baja.Mensaje == angles->Alta.Mensaje;
        if (beyond)
            text += angles->Alta.Mensaje + "\n";
        for (const auto& [name, label, branch] : {std::tuple{"baja", "Ángulo bajo", &angles->Baja},
                                                  std::tuple{"alta", "Ángulo alto", &angles->Alta}}) {
            if (!branch->Alcanza) {
                csv += CsvRecord({name, "", "", "", "", ""});
                if (!beyond)
                    text += std::string(label) + ": " + branch->Mensaje + "\n";
                continue;
            }
            csv += CsvRecord({name, Dot(branch->Angulo), Dot(branch->AnguloMin), Dot(branch->AnguloMax),
                              Dot(branch->TiempoVuelo), Dot(branch->VelocidadImpacto)});
            text += std::string(label) + ": " + Fixed(branch->Angulo) + " grados (de " +
                    Fixed(branch->AnguloMin) + " a " + Fixed(branch->AnguloMax) + "), tiempo de vuelo " +
                    Fixed(branch->TiempoVuelo) + " s, velocidad de impacto " +
                    Fixed(branch->VelocidadImpacto) + " m/s\n";
        }
    }
    if (csvTarget && *csvTarget != "-")
        SaveWholeFile(QString::fromStdString(*csvTarget), QByteArray::fromStdString(csv));
    const std::string& out = csvTarget == "-" ? csv : text;
    if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0)
        throw std::runtime_error("Error writing output file \"-\"");
}

} // namespace

bool IsCaseCommand(const std::string& command) {
    return command == "band" || command == "farthest" || command == "angles";
}

int RunCaseCommand(const std::string& command, int argc, char** argv) {
    QStringList arguments{QStringLiteral("KORVO")};
    for (int i = 2; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    bool writing = false;
    try {
        bool help = false;
        const CaseCommand c = ReadCommand(command, arguments, help);
        if (help) {
            Put(stdout, kCaseHelp);
            return kDone;
        }
        // Until the trajectory run from numbers is plugged in here.
        const CaseAnswer answer = AnalyzeCase(c.Question, TrajectoryFigures, {c.Jobs, nullptr, {}});
        writing = true;
        Output(answer, c.Question.Nominal.Ley, c.Csv);
        return kDone;
    } catch (const std::exception& error) {
        Put(stderr, "KORVO: " + ErrorReportText(QString::fromUtf8(error.what())).toStdString() + "\n");
        return writing ? kFailed : kRefused;
    }
}

} // namespace korvo
