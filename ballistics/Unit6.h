// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The results window: the step count, flight time, greatest height and range of
// the real-trajectory run, read from the real-trajectory window every time this
// window is shown. After a run gone infinite or undefined the X display reads
// "NAN" or "-INF": that is reported, the window still opens, and the four panels
// show "—" (never an earlier run's figures). A caption wider than its panel is
// shortened to fit, keeping its exponent, with the whole text in its tooltip.
// Under the panels, a line names the drag law the run stepped.
#include "chrome/Chrome.h"

namespace korvo {

class TForm6 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // Value panels: lowered bevel, bold centred caption, "0" at first.
    QLabel* TotalIteraciones;
    QLabel* TTotalVuelo;
    QLabel* HMax;
    QLabel* DistanciaMax;
    // "Ley de arrastre: Lineal (Vo)", in the free row under the panels.
    QLabel* LeyArrastre;

protected:
    void OnShowing() override;
};

// The program-wide instance, made at start-up.
extern TForm6* Form6;

} // namespace korvo
