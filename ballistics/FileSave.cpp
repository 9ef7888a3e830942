// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/FileSave.h"

#include "base/ReplacingFile.h"

#include <QDir>
#include <QFile>

namespace korvo {

namespace {

// The full path, as the error report shows it.
std::string FullPath(const QString& path) {
    return QFile::encodeName(QDir::cleanPath(QDir::current().absoluteFilePath(path))).toStdString();
}

} // namespace

void SaveWholeFile(const QString& path, const QByteArray& bytes) {
    SaveWholeFile(FullPath(path), bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void SaveRendered(const QString& path, const std::function<QByteArray()>& render) {
    QByteArray bytes;
    try {
        bytes = render();
    } catch (const EFileReplace& failure) {
        throw std::runtime_error(SaveFailureText(FullPath(path), failure));
    }
    SaveWholeFile(path, bytes);
}

} // namespace korvo
