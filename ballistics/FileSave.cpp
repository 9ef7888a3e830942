// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/FileSave.h"

#include "base/ReplacingFile.h"

#include <QDir>
#include <QFile>

namespace korvo {

void SaveWholeFile(const QString& path, const QByteArray& bytes) {
    // The full path, as the error report shows it.
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    SaveWholeFile(QFile::encodeName(full).toStdString(), bytes.constData(),
                  static_cast<std::size_t>(bytes.size()));
}

} // namespace korvo
