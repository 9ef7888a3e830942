// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The PDF report of a case analysis, on the reports' page engine
// (ReportPages.h), in Spanish: the identification every report opens with
// (case fields, program version and commit, self-check, ISO 8601 date with its
// offset, separator), the inputs as typed with their tolerances, the method
// (the drag law and its step, how each question is searched, and what a band
// does and does not mean), the tables computed, and a SHA-256 digest with its
// recipe and the commands that repeat the analysis. PDF/A-1b with the
// metadata of the run report.
//
//   CaseReportSource source{texts, question, answer, QDateTime::currentDateTime(), caso};
//   WriteCaseReportPdf("InformeAnalisisCaso.pdf", source);
//
// Only the tables the question asked for are printed: the window asks for all
// three, a command for its own.
#include "ballistics/core/CaseReport.h"
#include "ballistics/core/OutputFiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace korvo {

struct CaseReportSource {
    CaseRequestTexts Inputs;
    CaseQuestion Question;
    CaseAnswer Answer;
    QDateTime Written;  // printed as the writing time
    RunCaseFields Caso; // printed in the identification; the case number in every footer
};

// The SHA-256 of CaseDigestInput, as 64 lower-case hexadecimal digits.
QString CaseDigest(const CaseReportSource& source);

// The report as the bytes of a PDF file.
QByteArray RenderCaseReportPdf(const CaseReportSource& source);

// Renders the report and writes it to `path` whole or not at all: a failure
// throws "Cannot create file "<full path>". <reason>" and keeps an earlier file.
void WriteCaseReportPdf(const QString& path, const CaseReportSource& source);

} // namespace korvo
