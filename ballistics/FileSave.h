#pragma once
// Writing a file whole or not at all: the bytes go to a temporary file beside
// the target, which replaces the target only once every byte is written, so a
// failure leaves any earlier file of that name as it was.
#include <QByteArray>
#include <QString>

namespace korvo {

// Writes `bytes` to `path` whole or not at all; throws std::runtime_error with
// "Cannot create file \"<full path>\". <system reason>" when it cannot.
void SaveWholeFile(const QString& path, const QByteArray& bytes);

} // namespace korvo
