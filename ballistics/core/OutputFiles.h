// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The files the real-trajectory window writes, each in the current directory
// under its fixed name (a new run's file replaces the earlier one): the table
// as a workbook, the chart as a bitmap and the report as a PDF. The command
// line writes the same contents under the names the user gives.
namespace korvo {

inline constexpr const char* kTrajectoryWorkbookName = "DatosTrayectoriaRealCalculada.xls";
inline constexpr const char* kChartFileName = "GraficoTrayectoriaReal.bmp";
inline constexpr const char* kRunReportFileName = "InformeTrayectoriaReal.pdf";

} // namespace korvo
