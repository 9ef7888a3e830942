// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real-trajectory window: the launch data of a projectile with air
// resistance, the stepping run (one integrator step per tick of a 1 ms timer),
// the value displays, the table of steps and the trajectory chart.
//
// The window does no arithmetic: RealTrajectory reads and writes the fields
// through the TrajectoryView the window implements on its own controls.
//
// The drag law ("&Ley de arrastre:", Alt+L) is chosen in the free row between
// the chart and the table, beside "Iniciar &Proceso": the designed linear law
// by default, or the standard quadratic one. It is read when a run starts and
// locked with the input buttons.
//
// Run states and the buttons they enable:
//   Ready     first showing, or after "Reiniciar &Valores"; input buttons, the
//             law and "Iniciar &Proceso" enabled, "&Resultados" disabled, timer
//             stopped.
//   Running   a start that got past its first step; input buttons, "Iniciar
//             &Proceso" and "&Resultados" disabled, timer running.
//   Finished  a tick left the height at or below 0 (or no longer a finite
//             number), or the run reached its 2,000,000 steps; only
//             "&Resultados" of those buttons is enabled, timer stopped.
//   Blocked   a start or a step failed; all of them disabled, timer stopped.
// "Reiniciar &Valores" and "&Salir" are enabled in every state; only the
// reset leads from Finished or Blocked back to Ready.
//
// The side windows write their results straight into the public input fields
// (Form2->ValorMasa->setText(...)) and read the run's totals through
// Form2->Trajectory().State().
#include "ballistics/FieldTexts.h"
#include "ballistics/RunPacing.h"
#include "ballistics/TrajectoryChartModel.h"
#include "ballistics/core/OutputFiles.h"
#include "ballistics/core/RealTrajectory.h"
#include "ballistics/core/RunReport.h"
#include "chrome/Chrome.h"

#include <QRect>
#include <QString>
#include <array>
#include <memory>
#include <string>

class QAction;
class QChartView;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace korvo {

class TrajectoryChartModel;
class TTableExportXLS;
class TrajectoryListSource;
class TrajectoryTableModel;

class TForm2 : public TChromeWindow, private TrajectoryView {
    Q_OBJECT
public:
    enum class RunState { Ready, Running, Finished, Blocked };

    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    RunState State() const { return state_; }
    const RealTrajectory& Trajectory() const { return trajectory_; }
    // The law chosen in "Ley de arrastre:", which the next run steps.
    DragLaw ChosenLaw() const;

    // The input page.
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QGroupBox* GroupBox1;
    QLineEdit* ValorConstanteProporcionalidad; // "D:"
    QLineEdit* VTiempoIteraciones;             // "T:"
    QLineEdit* ValorMasa;                      // "M:"
    QLineEdit* ValorXo;                        // "Xo:" (not read by the run)
    QLineEdit* ValorYo;                        // "Yo:" (not read by the run)
    QLineEdit* ValorGrados;                    // angle, whole degrees
    QLineEdit* ValorVelocidadInicial;          // "Vo:"
    QPushButton* CalcularD;
    QPushButton* ConvertirMasa;
    QPushButton* ConvertirVelocidad;
    // "&Ley de arrastre:" and its list, one entry per law in the order of
    // kDragLaws, each entry's data the law's option name; the panel holds both.
    QWidget* PanelLeyArrastre;
    QLabel* EtiquetaLeyArrastre;
    QComboBox* LeyArrastre;

    // The value displays (read-only, bold).
    QLineEdit* ValorVx;
    QLineEdit* ValorVy;
    QLineEdit* ValorAx;
    QLineEdit* ValorAy;
    QLineEdit* ValorVFx;
    QLineEdit* ValorVFy;
    QLineEdit* ValorX;
    QLineEdit* ValorY;
    QLineEdit* TiempoTotal; // "DeltaT:", the elapsed time of the run

    // The chart; its points are kept in ascending X.
    QChartView* Chart1;
    QLineSeries* Series1;
    QAction* GuardarGrafico; // "Guardar Grafico a Imagen BMP"
    // "Generar Informe PDF", in the chart's menu and in the table's; enabled
    // only while Finished.
    QAction* InformeGrafico;
    QAction* InformeTabla;
    // "Análisis del Caso...", last in the chart's menu and in the table's, and
    // Ctrl+Shift+A anywhere in the window: opens the case analysis, which takes
    // this window's inputs as its nominal case.
    QAction* AnalisisCaso;

    // The table of steps.
    QGroupBox* GroupBoxTabla;
    QTableView* ListView1;
    TrajectoryTableModel* ListModel;
    // The table as the spreadsheet export reads it.
    std::unique_ptr<TrajectoryListSource> ListSource;
    QAction* ExportarExcel; // the table's menu: "Exportar datos a Excel"
    // Writes the table to "DatosTrayectoriaRealCalculada.xls" in the current
    // directory, sheet "Trayectoria", captions in bold.
    std::unique_ptr<TTableExportXLS> TableExportXLS1;

    QPushButton* IniciarCalculos; // "Iniciar &Proceso"
    QPushButton* Resultados;      // "&Resultados"
    QPushButton* LimpiarDatos;    // "Reiniciar &Valores"
    QPushButton* BitBtn1;         // "&Salir"

    QTimer* Timer1; // one step per tick, 1 ms, precise

    // While a run steps, the window repaints at most once per this interval.
    static constexpr int kRunPaintMilliseconds = TRunPacer::kPaintMilliseconds;
    // The most steps one late tick may catch up on.
    static constexpr int kMostStepsPerTick = TRunPacer::kMostStepsPerTick;

    // The handlers; each reports its own failures and never throws.
    void CalcularDClick();
    void ConvertirMasaClick();
    void ConvertirVelocidadClick();
    void IniciarCalculosClick();
    // One step of the run and the stop test (one tick's work).
    void Timer1Timer();
    void ResultadosClick();
    void LimpiarDatosClick();
    void GuardarGraficoClick();
    void ExportarExcelClick();
    // Writes the finished run's report to "InformeTrayectoriaReal.pdf" in the
    // current directory; nothing happens in any other state.
    void GenerarInformeClick();
    void AnalisisCasoClick();

    // Stops the stepping timer.
    void DetenerProceso();
    // Ends any run and brings the window back to Ready with the reset texts.
    void ReiniciarValores();
    // Renders the chart at its on-screen size onto a white bitmap and writes
    // it to `path`, replacing any file of that name whole or not at all.
    // Throws "Cannot create file "<full path>". <reason>" when the file cannot
    // be made (see SaveWholeFile).
    void SaveChartBitmap(const QString& path) const;
    // Writes the finished run's report to `path` whole or not at all.
    void SaveRunReport(const QString& path);

protected:
    bool event(QEvent* event) override;

private:
    std::string Text(TrajectoryField field) const override;
    void SetText(TrajectoryField field, const std::string& text) override;
    void AppendRow(const std::array<std::string, 10>& row) override;
    void AddChartPoint(double x, double y) override;

    void BindFields();
    void EnterState(RunState state);
    void BuildInputs();
    void BuildLawChoice();
    void BuildDisplays();
    void BuildChart();
    void BuildTable();
    void BuildButtons();
    void SetTabOrder();

    TFieldTexts<TrajectoryField> fields_;
    RealTrajectory trajectory_;
    RunInputTexts startInputs_; // the inputs as the last start found them

public:
    // What "Datos del Expediente..." entered, printed by the next report.
    RunCaseFields CaseFields;

private:
    TrajectoryChartModel* chart_ = nullptr;
    RunState state_ = RunState::Ready;
    TRunPacer* pacer_ = nullptr;
};

// The program-wide instance, made at start-up.
extern TForm2* Form2;

// Where the window shows its chart.
inline const QRect kRealTrajectoryChartBox{QPoint(242, 26), kRealTrajectoryChartSize};

} // namespace korvo
