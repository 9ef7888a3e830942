// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// KORVO from the command line: `KORVO real`, `KORVO ideal`, `KORVO sweep`,
// `KORVO --help`, `KORVO --version`. A command opens no window and needs no
// display; only --bmp brings up the chart, on Qt's offscreen platform.
//
//   KORVO real --angle 45 --xls caso.xls      # the window's workbook, its four results on stdout
//   KORVO sweep --vary angle=76:80:1 --csv -  # one CSV row per angle
//
// Exit status: 0 done; 2 a refused input or a bad option (message on standard
// error, nothing written); 1 a failed write or a run that went through but
// whose results cannot be read (message on standard error; the earlier file of
// that name is kept); 3 (real) a run computed but stopped at its step bound with
// the projectile still in the air. `KORVO selfcheck` exits 0 or 1 as its cases hold.
namespace korvo {

// Whether the arguments ask for the command line rather than the windows: a
// first argument that is a command (any word not starting with "-") or one of
// --help, -h, --version, -v. Anything else (no argument, Qt's own options such
// as -platform) starts the windows.
bool IsCommandLine(int argc, char** argv);

// Runs the command and returns the exit status. Makes its own application
// object, so it is called instead of the windows' start-up, never beside it.
int RunCommandLine(int argc, char** argv);

// The --help text (Spanish, every command and option with its default) and the
// --version line.
const char* CommandLineHelp();
const char* CommandLineVersion();

} // namespace korvo
