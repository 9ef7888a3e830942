// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Runs a program as a user's terminal does, with no display at all (no X, no
// Wayland, no platform chosen), in a folder, under the locale given, and
// collects what it printed and its exit status.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace korvo::test {

struct Result {
    int status = -1; // -1 when the program did not exit normally
    QString out, err;
};

inline Result RunHeadless(const QString& program, const QStringList& arguments, const QString& directory,
                          const QString& locale) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "LANG", "LC_NUMERIC"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LC_ALL"), locale);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(directory);
    process.start(program, arguments);
    process.waitForFinished(180000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace korvo::test
