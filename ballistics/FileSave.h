// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Saving a file the program makes whole in memory (the chart bitmap, a report)
// so that a failure never costs the user the earlier file of that name.
//
//     korvo::SaveWholeFile("GraficoTrayectoriaReal.bmp", bytes);
//
// The bytes go to a new file beside the target ("<name>.<8 hex digits>.tmp"),
// which reaches the disk before it is renamed over the target, and the folder
// after; so the name holds the earlier file or the new one, also after a
// power cut. Temporaries a killed save left behind go at the next save of that
// file. An earlier file the user may not write (mode 0444, another user's) is
// not replaced. A device, a named pipe or standard output is written straight
// through instead, and a link is followed to its end. The workbook is saved the
// same way (base/ReplacingFile.h).
#include <QByteArray>
#include <QString>
#include <functional>

namespace korvo {

// Writes `bytes` to `path` whole or not at all; throws std::runtime_error with
// "Cannot create file \"<full path>\". <system reason>" when it cannot
// ("Is a directory", "Not a directory", "Permission denied"), and with
// "Error writing output file \"<full path>\". <system reason>" when the
// writing itself fails (a full disk). The earlier file stays on every failure.
void SaveWholeFile(const QString& path, const QByteArray& bytes);

// The same with bytes made by `render`, whose EFileReplace (bytes that could
// not be made) becomes the message of a failed write of `path`.
void SaveRendered(const QString& path, const std::function<QByteArray()>& render);

} // namespace korvo
