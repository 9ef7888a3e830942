// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/CaseReport.h"

#include "ballistics/core/NumberText.h"

namespace korvo {
namespace {

// Every digit the windows show, with ".".
std::string Dot(Real value) {
    return DotText(NumberToGeneralText(value));
}

std::string InputsField(const CaseInputs& in) {
    return "d=" + Dot(in.D) + ";m=" + Dot(in.M) + ";vo=" + Dot(in.Vo) + ";angle=" + Dot(in.Angulo);
}

void Record(std::string& out, const std::vector<std::string>& texts) {
    for (const std::string& text : texts)
        AppendDigestText(out, text);
    EndDigestRecord(out);
}

} // namespace

CaseMachineTable BandMachineTable(const CaseBand& band) {
    CaseMachineTable table{{"magnitud", "minimo", "nominal", "maximo", "entradas_minimo", "entradas_maximo"},
                           {}};
    for (std::size_t f = 0; f < kCaseFigureCount; ++f) {
        const FigureBand& b = band.Figuras[f];
        table.Rows.push_back({CaseFigureName(static_cast<CaseFigure>(f)), Dot(b.Minimo.Valor), Dot(b.Nominal),
                              Dot(b.Maximo.Valor), InputsField(b.Minimo.Entradas),
                              InputsField(b.Maximo.Entradas)});
    }
    return table;
}

CaseMachineTable FarthestMachineTable(DragLaw law, const FarthestReach& r) {
    return {{"ley", "angulo", "alcance", "angulo_caja", "alcance_caja"},
            {{DragLawOptionName(law), Dot(r.Angulo), Dot(r.Alcance), Dot(r.AnguloCaja), Dot(r.AlcanceCaja)}}};
}

CaseMachineTable AnglesMachineTable(const AnglesForDistance& angles) {
    CaseMachineTable table{
        {"rama", "angulo", "angulo_min", "angulo_max", "tiempo_vuelo", "velocidad_impacto"}, {}};
    for (const auto& [name, branch] : {std::pair{"baja", &angles.Baja}, std::pair{"alta", &angles.Alta}}) {
        if (!branch->Alcanza)
            table.Rows.push_back({name, "", "", "", "", ""});
        else
            table.Rows.push_back({name, Dot(branch->Angulo), Dot(branch->AnguloMin), Dot(branch->AnguloMax),
                                  Dot(branch->TiempoVuelo), Dot(branch->VelocidadImpacto)});
    }
    return table;
}

CaseTablesShown TablesShown(const CaseQuestion& question) {
    return {question.Banda, question.Lejano, question.Distancia.has_value()};
}

std::vector<CaseMachineTable> MachineTables(const CaseQuestion& question, const CaseAnswer& answer) {
    const CaseTablesShown shown = TablesShown(question);
    std::vector<CaseMachineTable> tables;
    if (shown.Banda && answer.Banda)
        tables.push_back(BandMachineTable(*answer.Banda));
    if (shown.Lejano && answer.Lejano)
        tables.push_back(FarthestMachineTable(question.Nominal.Ley, *answer.Lejano));
    if (shown.Angulos && answer.Angulos)
        tables.push_back(AnglesMachineTable(*answer.Angulos));
    return tables;
}

std::string CaseDigestInput(const CaseRequestTexts& t, const CaseQuestion& question,
                            const CaseAnswer& answer) {
    std::string out;
    Record(out, {t.D, t.T, t.M, t.Angulo, t.Vo, DragLawOptionName(t.Ley), t.Altura, t.TolD, t.TolM, t.TolVo,
                 t.TolAngulo, t.Distancia});
    for (const CaseMachineTable& table : MachineTables(question, answer)) {
        Record(out, table.Header);
        for (const std::vector<std::string>& row : table.Rows)
            Record(out, row);
    }
    return out;
}

std::vector<std::string> CaseReproduceCommands(const CaseRequestTexts& t, const CaseQuestion& question) {
    std::string options;
    const std::pair<const char*, const std::string*> inputs[] = {
        {"d", &t.D}, {"t", &t.T}, {"m", &t.M}, {"angle", &t.Angulo}, {"vo", &t.Vo}, {"height", &t.Altura}};
    for (const auto& [name, text] : inputs)
        options += std::string(" --") + name + " " + ShellQuoted(*text);
    options += std::string(" --drag ") + DragLawOptionName(t.Ley);
    const std::pair<const char*, const std::string*> tolerances[] = {
        {"d", &t.TolD}, {"m", &t.TolM}, {"vo", &t.TolVo}, {"angle", &t.TolAngulo}};
    for (const auto& [name, text] : tolerances)
        options += std::string(" --tol ") + ShellQuoted(std::string(name) + "=" + *text);
    const CaseTablesShown shown = TablesShown(question);
    std::vector<std::string> commands;
    if (shown.Banda)
        commands.push_back("KORVO band" + options);
    if (shown.Lejano)
        commands.push_back("KORVO farthest" + options);
    if (shown.Angulos)
        commands.push_back("KORVO angles" + options + " --distance " + ShellQuoted(t.Distancia));
    return commands;
}

} // namespace korvo
