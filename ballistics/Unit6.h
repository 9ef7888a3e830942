#pragma once
// The results window: the totals of a finished real-trajectory run, read
// afresh from the real-trajectory window every time it is shown.
#include "app/Chrome.h"

namespace korvo {

class TForm6 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    // The value panels (lowered bevel, bold, centred; "0" at first).
    QLabel* TotalIteraciones;
    QLabel* TTotalVuelo;
    QLabel* HMax;
    QLabel* DistanciaMax;

    // Reads the run's totals into the panels. A range that cannot be read
    // back (NAN or -INF after a zero-mass run) throws the conversion error
    // before any panel changes.
    void LeerResultados();

protected:
    void OnShowing() override;
};

extern TForm6* Form6;

} // namespace korvo
