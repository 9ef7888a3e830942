// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The PDF report of a finished real-trajectory run, in Spanish on A4 pages
// numbered "Página n de N": what was computed (the inputs as the fields held
// them at the start), how (the model and its step), the results with the error
// the step costs against the exact solution of the same equations and the
// change against vacuum, the chart drawn as vectors, every row of the table
// (captions repeated on each page) and a SHA-256 digest that lets anyone show
// that a second run with the same inputs is identical.
//
// The pages, fonts, footers and metadata are the page engine's
// (ReportPages.h); this file holds the sections and their order.
//
// Nothing here needs a window: a caller passes the inputs, the run's state and
// end texts, the table's rows and a chart to draw.
//
//   RunReportSource source{inputs, FinishedRunOf(state, valorX, tiempoTotal, rows), &rows, chart,
//                          QDateTime::currentDateTime()};
//   WriteRunReportPdf("InformeTrayectoriaReal.pdf", source, [] { /* keep a window painting */ });
#include "ballistics/core/RunReport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>

class QChart;

namespace korvo {

struct RunReportSource {
    RunInputTexts Inputs;              // as the fields held them when the run started
    FinishedRun Run;                   // the run's state and end texts
    const TPackedRows* Rows = nullptr; // every step's ten texts
    // Drawn as vectors at its own aspect, its axes titled in metres for the
    // drawing and given their own titles back; null leaves the chart out. It
    // must show every point already (a deferred redraw is the caller's); a
    // chart of no size yet is given the window chart's size.
    QChart* Chart = nullptr;
    QDateTime Written;  // the date and time printed as the writing time
    RunCaseFields Caso; // printed in the identification; the case number in every footer
};

// The SHA-256 of the digest input (RunReport.h gives its layout), as 64
// lower-case hexadecimal digits.
QString RunDigest(const RunInputTexts& inputs, const TPackedRows& rows);

// The report as the bytes of a PDF file. `keepResponsive`, when set, is called
// after every page while the table is written (a window processes its paint
// events there, not the user's input, so the rows cannot change meanwhile).
QByteArray RenderRunReportPdf(const RunReportSource& source,
                              const std::function<void()>& keepResponsive = {});

// Renders the report and writes it to `path` whole or not at all: a failure
// throws "Cannot create file "<full path>". <reason>" and keeps an earlier file.
void WriteRunReportPdf(const QString& path, const RunReportSource& source,
                       const std::function<void()>& keepResponsive = {});

} // namespace korvo
