// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// "Análisis del Caso": the questions of a case whose inputs are measurements
// with tolerances, opened from the real-trajectory window. It takes that
// window's inputs and drag law as the nominal case, adds a plus-or-minus for
// D, M, Vo and the angle, the launch height above the landing ground and a
// horizontal distance, and shows three tables: the band of each figure over
// the tolerances, the farthest reach, and the angles that reach the distance.
//
// The work runs on threads of its own (ballistics/core/CaseAnalysis.h), never
// on the window's, and a little below its priority: a progress bar follows it, "Cancelar" stops it before its
// next trajectory, and closing the window cancels it too. Every field is read
// and checked before anything starts, and a refusal is reported through the
// message hub with the program's own messages; a run refused inside the box
// (an unstable step, say) is reported when the work ends. Numbers are shown
// under the decimal separator in force.
//
// "Generar Informe PDF" writes the last analysis to "InformeAnalisisCaso.pdf"
// in the current directory, whole or not at all.
#include "ballistics/core/CaseAnalysis.h"
#include "ballistics/core/CaseReport.h"
#include "chrome/Chrome.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace korvo {

struct CaseTable;

class TCaseAnalysisWindow : public TChromeWindow {
    Q_OBJECT
public:
    explicit TCaseAnalysisWindow(QWidget* parent = nullptr);
    ~TCaseAnalysisWindow() override;

    // The nominal case as the real-trajectory window holds it (read-only here).
    QLineEdit* NominalD;
    QLineEdit* NominalT;
    QLineEdit* NominalM;
    QLineEdit* NominalAngulo;
    QLineEdit* NominalVo;
    QLineEdit* NominalLey;

    // Plus or minus, in the inputs' units; the launch height above the landing
    // ground (m) and the distance for the angles (m; empty asks for none).
    QLineEdit* TolD;
    QLineEdit* TolM;
    QLineEdit* TolVo;
    QLineEdit* TolAngulo;
    QLineEdit* Altura;
    QLineEdit* Distancia;

    QProgressBar* Progreso; // 0 to 1000
    QPushButton* Calcular;  // "&Calcular"
    QPushButton* Cancelar;  // "Ca&ncelar", enabled while the work runs
    QPushButton* Informe;   // "Generar &Informe PDF", enabled once an analysis is shown
    QPushButton* Salir;     // "&Salir"

    QTableWidget* TablaBanda;
    QTableWidget* TablaLejano;
    QTableWidget* TablaAngulos;
    QLabel* Estado; // the method, the count of trajectories, or that the work was cancelled

    // How many threads the work uses (the machine's cores by default).
    unsigned Jobs;

    // The handlers; each reports its own failures and never throws.
    void CalcularClick();
    void CancelarClick();
    void InformeClick();

    bool Running() const;
    // The last analysis shown, if any.
    const std::optional<CaseAnswer>& Answer() const { return answer_; }
    const CaseQuestion& Question() const { return question_; }

    // The drag law of the nominal case: the one chosen in the real-trajectory
    // window (the designed law when there is no such window).
    DragLaw NominalLaw() const;

    // Writes the last analysis's report to `path` whole or not at all, with
    // the real-trajectory window's case fields.
    void SaveCaseReport(const QString& path) const;

protected:
    void OnShowing() override;
    void OnClosed() override;

private:
    struct Work;

    void BuildInputs();
    void BuildTables();
    void SetTabOrder();
    // The question the fields ask, checked as a start checks it; throws the
    // refusal's message.
    CaseQuestion ReadQuestion(CaseRequestTexts& texts) const;
    void Poll();
    void Finish();
    void ShowAnswer();
    void ClearTables();
    void SetRunning(bool running);

    std::unique_ptr<Work> work_;
    QTimer* poll_;
    CaseQuestion question_;
    CaseRequestTexts texts_;
    std::optional<CaseAnswer> answer_;
};

// Fills a table widget with a table's texts, sized to its rows.
void ShowCaseTable(QTableWidget* widget, const CaseTable& table);

// The program-wide instance, made at start-up.
extern TCaseAnalysisWindow* FormCaso;

} // namespace korvo
