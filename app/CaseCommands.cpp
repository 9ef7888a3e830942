// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CaseCommands.h"

#include "app/CommandArguments.h"
#include "app/CommandOutputs.h"
#include "app/CommandRuns.h"
#include "app/ReportCommands.h"
#include "ballistics/CaseReportPdf.h"
#include "ballistics/core/CaseAnalysis.h"
#include "ballistics/core/CaseReport.h"
#include "ballistics/core/CaseTables.h"
#include "ballistics/core/NumberText.h"
#include "ballistics/core/TrajectoryFigures.h"

#include <QDateTime>
#include <cstdio>

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
  --csv ARCHIVO        CSV en ARCHIVO, o en la salida estándar con "-" (el texto
                       para personas va entonces a la salida de errores)
  --pdf ARCHIVO        el informe del análisis con la tabla calculada, o en la
                       salida estándar con "-"
  --expediente TEXTO, --perito TEXTO, --nota TEXTO
                       los datos del caso que el informe imprime
)";

// A real number of the command line, with "." or the regional separator.
Real Number(const std::string& typed) {
    return ParseReal(FieldText(typed));
}

struct CaseCommand {
    CaseQuestion Question;
    CaseRequestTexts Texts; // as typed, for the report
    unsigned Jobs = 1;
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
    CaseRequestTexts& t = c.Texts;
    const RealInputs defaults;
    // Each input read as its text, kept with the separator in force.
    const auto input = [&](const char* name, const std::string& fallback, std::string& text) {
        text = FieldText(value(name).value_or(fallback));
        return number(text);
    };
    n.D = input("d", defaults.D, t.D);
    n.T = input("t", defaults.T, t.T);
    n.M = input("m", defaults.M, t.M);
    n.Vo = input("vo", defaults.Vo, t.Vo);
    n.Angulo = input("angle", defaults.Angulo, t.Angulo);
    n.H = input("height", "0", t.Altura);
    n.Ley = t.Ley = DragOption(arguments);
    for (const std::string& tol : arguments.Values("tol")) {
        const std::size_t equals = tol.find('=');
        const std::string name = tol.substr(0, equals);
        const std::pair<Real*, std::string*> target =
            name == "d"       ? std::pair{&c.Question.Tolerancias.D, &t.TolD}
            : name == "m"     ? std::pair{&c.Question.Tolerancias.M, &t.TolM}
            : name == "vo"    ? std::pair{&c.Question.Tolerancias.Vo, &t.TolVo}
            : name == "angle" ? std::pair{&c.Question.Tolerancias.Angulo, &t.TolAngulo}
                              : std::pair<Real*, std::string*>{nullptr, nullptr};
        if (!target.first || equals == std::string::npos)
            throw ERefused("--tol espera NOMBRE=MAS_MENOS con NOMBRE d, m, vo o angle: " + tol);
        *target.second = FieldText(tol.substr(equals + 1));
        *target.first = number(*target.second);
    }
    c.Jobs = JobsOption(arguments);
    c.Question.Banda = command == "band";
    c.Question.Lejano = command == "farthest";
    if (command == "angles") {
        const auto distance = value("distance");
        if (!distance)
            throw ERefused("Falta --distance X");
        t.Distancia = FieldText(*distance);
        c.Question.Distancia = number(t.Distancia);
    } else if (value("distance")) {
        throw ERefused("--distance es de la orden angles");
    }
    return c;
}

std::string Fixed(Real value) {
    return NumberToPatternText("0.000", value);
}

std::string Csv(const CaseMachineTable& table) {
    std::string csv = CsvRecord(table.Header);
    for (const std::vector<std::string>& row : table.Rows)
        csv += CsvRecord(row);
    return csv;
}

// The summary for people, in the separator in force.
std::string Summary(const CaseAnswer& answer, DragLaw law) {
    std::string text = std::string("Ley de arrastre: ") + DragLawCaption(law) + "\n";
    if (const auto& band = answer.Banda) {
        text += std::string("Método: ") + kMetodoBanda + "\n";
        for (std::size_t f = 0; f < kCaseFigureCount; ++f) {
            const FigureBand& b = band->Figuras[f];
            text += std::string(CaseFigureCaption(static_cast<CaseFigure>(f))) + ": mínimo " +
                    Fixed(b.Minimo.Valor) + ", nominal " + Fixed(b.Nominal) + ", máximo " +
                    Fixed(b.Maximo.Valor) + "\n";
        }
    }
    if (answer.Lejano && !answer.Angulos) {
        const FarthestReach& r = *answer.Lejano;
        text += "Mayor alcance: " + Fixed(r.Alcance) + " m, a " + NumberToPatternText("0.00", r.Angulo) +
                " grados\nMayor alcance con las tolerancias: " + Fixed(r.AlcanceCaja) + " m, a " +
                NumberToPatternText("0.00", r.AnguloCaja) + " grados\n";
    }
    if (const auto& angles = answer.Angulos) {
        // A distance beyond the farthest reach is told once, not per branch.
        const bool beyond = !angles->Baja.Alcanza && angles->Baja.Mensaje == angles->Alta.Mensaje;
        if (beyond)
            text += angles->Alta.Mensaje + "\n";
        for (const auto& [label, branch] :
             {std::pair{"Ángulo bajo", &angles->Baja}, std::pair{"Ángulo alto", &angles->Alta}}) {
            if (!branch->Alcanza) {
                if (!beyond)
                    text += std::string(label) + ": " + branch->Mensaje + "\n";
                continue;
            }
            text += std::string(label) + ": " + Fixed(branch->Angulo) + " grados (de " +
                    Fixed(branch->AnguloMin) + " a " + Fixed(branch->AnguloMax) + "), tiempo de vuelo " +
                    Fixed(branch->TiempoVuelo) + " s, velocidad de impacto " +
                    Fixed(branch->VelocidadImpacto) + " m/s\n";
        }
    }
    return text;
}

void Output(const CaseCommand& c, const CaseAnswer& answer, const CommandArguments& arguments,
            Outputs& outputs) {
    const CaseQuestion& question = c.Question;
    outputs.Save("pdf", [&] {
        return RenderCaseReportPdf(
                   {c.Texts, question, answer, QDateTime::currentDateTime(), CaseFieldsOption(arguments)})
            .toStdString();
    });
    outputs.Save("csv", [&] {
        std::string csv;
        for (const CaseMachineTable& table : MachineTables(question, answer))
            csv += Csv(table);
        return csv;
    });
    outputs.PrintSummary([&] { return Summary(answer, question.Nominal.Ley); });
}

} // namespace

const char* CaseCommandHelp() {
    return kCaseHelp;
}

int RunCaseCommand(const std::string& command, const CommandArguments& arguments) {
    const CaseCommand c = ReadCommand(command, arguments);
    Outputs outputs(arguments, kCaseOutputOptions);
    CaseAnswer answer;
    try {
        answer = AnalyzeCase(c.Question, TrajectoryFigures, {c.Jobs, nullptr, {}});
    } catch (const std::exception& refusal) {
        // A tolerance the analysis refuses, or an input set of the box that a
        // run refuses (an unstable step, say): nothing is written.
        throw ERefused(refusal.what());
    }
    Output(c, answer, arguments, outputs);
    outputs.Finish();
    return 0;
}

} // namespace korvo
