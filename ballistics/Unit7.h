// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The ideal-trajectory window: the closed-form values of a launch in vacuum
// ("&Calcular") and the point-by-point plot ("&Generar Grafica"), in which a
// 1 ms timer advances a simulated clock by the iteration interval and each tick
// has the window's expression evaluator compute the X and Y formula texts.
//
// The window does no arithmetic: IdealCalculator and IdealPlot read and write
// its fields through the IdealView it implements on its own controls.
//
// States and the buttons they enable:
//   Ready       creation, or "&Limpiar Datos": "&Calcular" only, timer stopped.
//   Calculated  "&Calcular" ran to its end: "&Generar Grafica" only.
//   Plotting    "&Generar Grafica" started the timer: neither.
//   Plotted     the plot reached the flight time, or a tick failed: neither.
// "&Limpiar Datos" works in every state: it stops a running plot first, then
// clears. "&Generar Grafica" plots the speed and angle "&Calcular" read: after
// either field changed it says so (kDatosCambiados), plots nothing and is Ready
// again, so a text typed after the calculation never enters the formula texts.
// A tick that fails stops the timer before its error is reported, so a failing
// plot is reported once and ends there.
#include "ballistics/FieldTexts.h"
#include "ballistics/IdealTableModel.h"
#include "ballistics/RunPacing.h"
#include "ballistics/core/IdealPlot.h"
#include "chrome/Chrome.h"

#include <QString>
#include <array>
#include <memory>
#include <string>

class QChartView;
class QGroupBox;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace korvo {

class TMathParser;
class TrajectoryChartModel;

class TForm7 : public TChromeWindow, private IdealView {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
    ~TForm7() override;

    const IdealCalculator& Calculator() const { return calculator_; }

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

    QLineEdit* Items;              // the simulated clock, milliseconds
    QLineEdit* TiempoTranscurrido; // the clock in seconds, two decimals

    QTableView* ListView1;
    TIdealTableModel* ListModel;
    QChartView* Chart1;
    QLineSeries* Series1;

    QTimer* Timer1;                           // one point per tick, 1 ms, precise
    std::unique_ptr<TMathParser> MathParser1; // the formula evaluator, from creation to the end

    // The handlers; each reports its own failures and never throws.
    void FormCreate();
    void CalcularResultadosClick();
    void GraficarClick();
    // One point of the plot and the end test (one tick's work).
    void Timer1Timer();
    void LimpiarClick();

    // The number of points the chart holds.
    int ChartPointCount() const;

protected:
    bool event(QEvent* event) override;

private:
    std::string Text(IdealField field) const override;
    void SetText(IdealField field, const std::string& text) override;
    void ClearTable() override;
    void AppendRow(const std::string& x, const std::string& y, const std::string& t) override;
    void RemoveLastRow() override;
    void AddChartPoint(double x, double y) override;
    void ClearChart() override;

    double Evaluate(const std::string& formula);
    void BindFields();
    void BuildInputs();
    void BuildResults();
    void BuildPlotControls();
    void BuildTable();
    void BuildChart();

    // The launch speed and angle as the last "&Calcular" read them.
    std::array<QString, 2> LaunchTexts() const;

    TFieldTexts<IdealField> fields_;
    std::array<QString, 2> calculatedLaunch_;
    IdealCalculator calculator_;
    IdealPlot plot_;
    TrajectoryChartModel* chart_ = nullptr;
    TRunPacer* pacer_ = nullptr;
};

// The program-wide instance, made at start-up.
extern TForm7* Form7;

} // namespace korvo
