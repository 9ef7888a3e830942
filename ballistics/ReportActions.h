// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The real-trajectory window's context-menu entries around its report: the
// case fields the next report prints ("Datos del Expediente..."), entered in
// a small dialog, and the program's self-check ("Autocomprobación"), whose
// cases and verdict are shown in a message.
#include "ballistics/core/RunReport.h"

class QDialog;
class QWidget;

namespace korvo {

// Adds both entries to `target`'s context menu (which shows its actions).
// `caso` outlives the window's widgets.
void AddReportActions(QWidget* window, QWidget* target, RunCaseFields& caso);

// The dialog the case-fields entry opens, filled from `caso`; accepting it
// writes its three fields back. Object names: "Expediente", "Perito", "Nota".
QDialog* MakeCaseFieldsDialog(QWidget* window, RunCaseFields& caso);

// Runs the self-check and shows its text through the message hub.
void ShowSelfCheck(QWidget* window);

} // namespace korvo
