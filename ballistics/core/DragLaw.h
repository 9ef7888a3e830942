// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The two drag laws a real-trajectory run can step.
//
//   Linear     the designed law: the drag on each axis is -(D / M) x Vo x (that
//              axis's velocity), Vo the launch speed typed in "Vo:". It is the
//              standard law linearised at the launch speed, so it overstates
//              the drag of a projectile that slows: with the default inputs the
//              falling speed tends to G / ((D / M) x Vo) = 12.80 m/s.
//   Quadratic  the standard law, force = D x |V|^2 along the velocity: the drag
//              on each axis is -(D / M) x |V| x (that axis's velocity), |V| the
//              current speed. A fall tends to sqrt(G x M / D) = 65.98 m/s.
//
// Each law has a Spanish caption for the windows, the report and the summary,
// and a name for the command line:
//   DragLawCaption(DragLaw::Quadratic)    -> "Cuadrática (|V|)"
//   DragLawNamed("linear")                -> DragLaw::Linear
//   DragLawNamed("Linear")                -> nullopt (names are lower case)
#include <array>
#include <optional>
#include <string_view>

namespace korvo {

enum class DragLaw { Linear, Quadratic };

struct DragLawNames {
    DragLaw Law;
    const char* Caption;    // "Lineal (Vo)"
    const char* OptionName; // "linear"
};

// Both laws, the designed one (the default) first.
inline constexpr std::array<DragLawNames, 2> kDragLaws = {{
    {DragLaw::Linear, "Lineal (Vo)", "linear"},
    {DragLaw::Quadratic, "Cuadrática (|V|)", "quadratic"},
}};

inline const DragLawNames& NamesOf(DragLaw law) {
    return kDragLaws[law == DragLaw::Linear ? 0 : 1];
}

inline const char* DragLawCaption(DragLaw law) {
    return NamesOf(law).Caption;
}

inline const char* DragLawOptionName(DragLaw law) {
    return NamesOf(law).OptionName;
}

inline std::optional<DragLaw> DragLawNamed(std::string_view optionName) {
    for (const DragLawNames& names : kDragLaws)
        if (optionName == names.OptionName)
            return names.Law;
    return std::nullopt;
}

} // namespace korvo
