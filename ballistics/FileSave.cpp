#include "ballistics/FileSave.h"

#include "base/ReplacingFile.h"

#include <QDir>
#include <QFile>

#include <stdexcept>
#include <string>

namespace korvo {

void SaveWholeFile(const QString& path, const QByteArray& bytes) {
    // The full path, as the error report shows it.
    const QString full = QDir::cleanPath(QDir::current().absoluteFilePath(path));
    try {
        TReplacingFile file;
        file.Open(QFile::encodeName(full).toStdString());
        file.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        file.Commit();
    } catch (const EFileReplace& e) {
        const char* what = e.FailedStep() == EFileReplace::Step::Write ? "Error writing output file \""
                                                                       : "Cannot create file \"";
        throw std::runtime_error(what + full.toStdString() + "\". " + e.what());
    }
}

} // namespace korvo
