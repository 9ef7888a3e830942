// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/core/RunInputs.h"

#include "ballistics/core/NumberText.h"

namespace korvo {

const std::array<RunInputInfo, kRunInputCount>& RunInputTable() {
    // The default D is that of a 9 mm projectile in air of 1.0556 kg/m^3 with a
    // drag coefficient of 0.5; M is 7.45 g. Xo and Yo are recorded but take no
    // part in the run, which starts at (0, 0).
    static const std::array<RunInputInfo, kRunInputCount> table{{
        {RunInput::D, "d", "ValorConstanteProporcionalidad", "D:", nullptr, "kg/m",
         "D: constante de proporcionalidad", "0.000016788592601", "D", "constante de proporcionalidad, kg/m",
         "", &RunInputTexts::D},
        {RunInput::T, "t", "VTiempoIteraciones", "T:", "Segundos", "s", "T: intervalo de tiempo del paso",
         "0.01", "T", "paso de tiempo, s", "", &RunInputTexts::T},
        {RunInput::M, "m", "ValorMasa", "M:", "Kg.", "kg", "M: masa del proyectil", "0.00745", "M",
         "masa del proyectil, kg", "", &RunInputTexts::M},
        {RunInput::Xo, "xo", "ValorXo", "Xo:", "Metros", "m", "Xo: posición horizontal inicial", "0", "X",
         "posición inicial X, m", "; como en la ventana, no interviene", &RunInputTexts::Xo},
        {RunInput::Yo, "yo", "ValorYo", "Yo:", "Metros", "m", "Yo: altura inicial", "0", "Y",
         "posición inicial Y, m", "; como en la ventana, no interviene", &RunInputTexts::Yo},
        {RunInput::Angulo, "angle", "ValorGrados", "0°:", "Grados (Angulo)", "grados", "Ángulo de disparo",
         "78", "A", "ángulo de disparo, grados enteros", "", &RunInputTexts::Angulo},
        {RunInput::Vo, "vo", "ValorVelocidadInicial", "Vo:", "m/s", "m/s", "Vo: velocidad inicial", "340",
         "V", "velocidad inicial, m/s", "", &RunInputTexts::Vo},
    }};
    return table;
}

const RunInputInfo& RunInputOf(RunInput input) {
    return RunInputTable()[static_cast<std::size_t>(input)];
}

std::optional<RunInput> RunInputNamed(std::string_view option) {
    for (const RunInputInfo& info : RunInputTable())
        if (option == info.Option)
            return info.Input;
    return std::nullopt;
}

std::string& InputText(RunInputTexts& texts, RunInput input) {
    return texts.*RunInputOf(input).Text;
}

const std::string& InputText(const RunInputTexts& texts, RunInput input) {
    return texts.*RunInputOf(input).Text;
}

RunInputTexts DefaultRunInputTexts() {
    RunInputTexts texts;
    for (const RunInputInfo& info : RunInputTable())
        texts.*info.Text = BuiltInNumberText(info.DefaultText);
    return texts;
}

} // namespace korvo
