#include "ballistics/FileSave.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace korvo {

namespace {

[[noreturn]] void ThrowCannotCreate(const QString& path, const std::string& reason) {
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    throw std::runtime_error("Cannot create file \"" + full.toStdString() + "\". " + reason);
}

} // namespace

void SaveWholeFile(const QString& path, const QByteArray& bytes) {
    // A directory of that name would make the temporary file's rename fail
    // only at the end; the system's own reason is the one to show.
    if (QFileInfo(path).isDir())
        ThrowCannotCreate(path, std::strerror(EISDIR));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        ThrowCannotCreate(path, file.errorString().toStdString());
    if (file.write(bytes) != bytes.size()) {
        const std::string reason = file.errorString().toStdString();
        file.cancelWriting();
        ThrowCannotCreate(path, reason);
    }
    if (!file.commit())
        ThrowCannotCreate(path, file.errorString().toStdString());
}

} // namespace korvo
