#pragma once
// The drag-constant window: D = 1/2 x rho x C x pi r^2 from the air density, the
// drag coefficient and the projectile's base diameter, carried into the
// real-trajectory window's "D:" field.
//
// Every showing selects the default density ("1.0556") and coefficient ("0.5"),
// sets the diameter and the fifteen-decimal result to "0" and the pi field to its
// twenty decimals, and puts the focus in the density list; the significant-digit
// result keeps the last calculation. Closing by any means moves the focus to the
// real-trajectory window's "T:" field.
//
// The small control makers further down are shared by all side windows.
#include "app/Chrome.h"

#include <QColor>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace korvo {

class TForm3 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    QComboBox* VDensidadAire;
    QComboBox* VCoeficienteArrastre;
    QLineEdit* VRadioProyectil; // the diameter, in millimetres
    QLineEdit* VPi;
    QPushButton* BAyudaDensidadAire;
    QPushButton* BAyudaCoeficienteArrastre;
    QPushButton* BAyudaRadioProyectil;
    QPushButton* BAyudaValorPi;
    QLineEdit* VConstanteProporcionalidad;              // fifteen decimals
    QLineEdit* VConstanteProporcionalidadSignificativa; // fifteen significant digits
    QPushButton* CalularConstante;                      // "&Calcular Constante de Proporcionalidad (D)"
    QPushButton* Salir;

    // The handlers; each reports its own failures and never throws.
    void CalularConstanteClick();
    void SalirClick();

protected:
    void OnShowing() override;
    void OnClosed() override;
};

// The program-wide instance, made at start-up.
extern TForm3* Form3;

// Control makers of the side windows. Positions are in window coordinates (the
// title strip takes rows 0 to 20); a label box with no size takes its text's size,
// and a right-aligned caption wider than its box grows to the left.
namespace side {

QString ToQString(const std::string& text);
std::string ToStdString(const QString& text);

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& box, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A single-line field; a read-only one takes no focus from the keyboard.
QLineEdit* MakeField(QWidget* parent, const QString& name, const QRect& box, const QString& text,
                     const QFont& font, bool readOnly, const QColor& background = QColor());
// Writes a text into a field and shows its start, as after Home: a field left
// with its cursor at the end shows only the tail of a text wider than itself.
void ShowText(QLineEdit* field, const QString& text);
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption, const QRect& box,
                        const QFont& font);
// A sunken horizontal line across the window at `top`.
QFrame* MakeSeparator(QWidget* parent, int top);

} // namespace side

} // namespace korvo
