#pragma once
// The velocity converter: feet per second to metres per second, written into
// the "Vo:" field of the real-trajectory window; it closes after a conversion.
#include "app/Chrome.h"

class QLineEdit;
class QPushButton;

namespace korvo {

class TForm5 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    QLineEdit* ValorFTS;
    QPushButton* ConvertirFTS; // "Convertir a &m/s"

    // The handler; it reports its own failures and never throws.
    void ConvertirAMetrosSegundos();

protected:
    void OnShowing() override;
};

extern TForm5* Form5;

} // namespace korvo
