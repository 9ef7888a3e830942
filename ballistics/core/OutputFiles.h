// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The files the windows write, each in the current directory under its fixed
// name (a new file replaces the earlier one): the real trajectory's table as a
// workbook, its chart as a bitmap and its report as a PDF, and the case
// analysis's report. The command line writes the same contents under the names
// the user gives.
namespace korvo {

inline constexpr const char* kTrajectoryWorkbookName = "DatosTrayectoriaRealCalculada.xls";
inline constexpr const char* kChartFileName = "GraficoTrayectoriaReal.bmp";
inline constexpr const char* kRunReportFileName = "InformeTrayectoriaReal.pdf";
inline constexpr const char* kCaseReportFileName = "InformeAnalisisCaso.pdf";

} // namespace korvo
