#pragma once
// The ideal-trajectory window: the closed-form values of a launch in vacuum
// ("&Calcular") and the point-by-point plot of the trajectory ("&Generar
// Grafica"), one point per tick of a 1 ms timer.
//
// States and the buttons they enable:
//   Ready       creation or "&Limpiar Datos": "&Calcular" only, timer stopped.
//   Calculated  "&Calcular" completed: "&Generar Grafica" only.
//   Plotting    "&Generar Grafica": neither, timer running.
//   Plotted     the tick that reaches the flight time, or a failing tick:
//               neither, timer stopped.
// "&Limpiar Datos" is enabled in every state and leads to Ready.
#include "app/Chrome.h"

class QChartView;
class QFrame;
class QGroupBox;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace korvo {

class TForm7 : public TChromeWindow {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    QTabWidget* PageControl1;
    QWidget* TabSheet1; // "Datos Iniciales"
    QWidget* TabSheet2; // "Coordenadas"

    QGroupBox* GroupBox1; // " Datos Iniciales "
    QLineEdit* VelocidadInicial;
    QLineEdit* Angulo;
    QLineEdit* AlturaDisparo;
    QLineEdit* DistanciaDisparo;
    QLineEdit* IntervaloIteraciones;

    QGroupBox* GroupBox2; // " Calculos Obtenidos "
    QLineEdit* TAlturaMaxima;
    QLineEdit* TCaida;
    QLineEdit* TTVuelo;
    QLineEdit* AlturaMax;
    QLineEdit* AlcanceMax;
    QLineEdit* VFinalImpacto;

    QGroupBox* GroupBox3; // " Calculo para X "
    QLineEdit* CalcularX;
    QLineEdit* ResultadoX;
    QGroupBox* GroupBox4; // " Calculo para Y "
    QLineEdit* CalcularY;
    QLineEdit* ResultadoY;

    QPushButton* CalcularResultados; // "&Calcular"
    QPushButton* Graficar;           // "&Generar Grafica"
    QPushButton* Limpiar;            // "&Limpiar Datos"

    QFrame* Bevel1;
    QLineEdit* Items;              // the simulated clock in milliseconds
    QLineEdit* TiempoTranscurrido; // the clock in seconds, as shown

    QTableView* ListView1; // "X", "Y", "T (Seg.)"
    QChartView* Chart1;
    QLineSeries* Series1;
    QTimer* Timer1; // one point per tick, 1 ms, precise

    // The handlers; each reports its own failures and never throws.
    void CalcularResultadosClick();

protected:
    void OnShowing() override {}
};

extern TForm7* Form7;

} // namespace korvo
