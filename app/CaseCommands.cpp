// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CaseCommands.h"

#include "app/CommandArguments.h"
#include "app/CommandRuns.h"
#include "ballistics/FileSave.h"
#include "ballistics/core/CaseAnalysis.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/TrajectoryFigures.h"
#include "base/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace korvo {
namespace {

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

// A real number of the command line, with "." or the regional separator.
Real Number(const std::string& typed) {
    return ParseReal(FieldText(typed));
}

struct CaseCommand {
    CaseQuestion Question;
    unsigned Jobs = 1;
    std::optional<std::string> Csv;
};

CaseCommand ReadCommand(const std::string& command, const CommandArguments& arguments) {
    const auto value = [&](const char* name) { return arguments.Value(name); };
    // A number that does not read is refused with the conversion's own message.
    const auto number = [](const std::string& typed) {
        try {
            return Number(typed);
        } catch (const std::exception& error) {
            throw ERefused(error.what());
        }
    };

    CaseCommand c;
    CaseInputs& n = c.Question.Nominal;
    const RealInputs defaults;
    n.D = number(value("d").value_or(defaults.D));
    n.T = number(value("t").value_or(defaults.T));
    n.M = number(value("m").value_or(defaults.M));
    n.Vo = number(value("vo").value_or(defaults.Vo));
    n.Angulo = number(value("angle").value_or(defaults.Angulo));
    n.H = number(value("height").value_or("0"));
    if (const auto drag = value("drag")) {
        const std::optional<DragLaw> law = DragLawNamed(*drag);
        if (!law)
            throw ERefused("--drag admite linear o quadratic: " + *drag);
        n.Ley = *law;
    }
    for (const std::string& tol : arguments.Values("tol")) {
        const std::size_t equals = tol.find('=');
        const std::string name = tol.substr(0, equals);
        Real* target = name == "d"       ? &c.Question.Tolerancias.D
                       : name == "m"     ? &c.Question.Tolerancias.M
                       : name == "vo"    ? &c.Question.Tolerancias.Vo
                       : name == "angle" ? &c.Question.Tolerancias.Angulo
                                         : nullptr;
        if (!target || equals == std::string::npos)
            throw ERefused("--tol espera NOMBRE=MAS_MENOS con NOMBRE d, m, vo o angle: " + tol);
        *target = number(tol.substr(equals + 1));
    }
    c.Jobs = JobsOption(arguments);
    c.Question.Banda = command == "band";
    c.Question.Lejano = command == "farthest";
    if (command == "angles") {
        const auto distance = value("distance");
        if (!distance)
            throw ERefused("Falta --distance X");
        c.Question.Distancia = number(*distance);
    } else if (value("distance")) {
        throw ERefused("--distance es de la orden angles");
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
        ThrowWriteFailure("-", std::strerror(errno));
}

} // namespace

const char* CaseCommandHelp() {
    return kCaseHelp;
}

int RunCaseCommand(const std::string& command, const CommandArguments& arguments) {
    const CaseCommand c = ReadCommand(command, arguments);
    CaseAnswer answer;
    try {
        answer = AnalyzeCase(c.Question, TrajectoryFigures, {c.Jobs, nullptr, {}});
    } catch (const std::exception& refusal) {
        // A tolerance the analysis refuses, or an input set of the box that a
        // run refuses (an unstable step, say): nothing is written.
        throw ERefused(refusal.what());
    }
    Output(answer, c.Question.Nominal.Ley, c.Csv);
    return 0;
}

} // namespace korvo
