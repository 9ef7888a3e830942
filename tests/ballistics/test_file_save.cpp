// SPDX-License-Identifier: GPL-3.0-or-later

#include "ballistics/FileSave.h"
#include "tests/xls/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <stdexcept>

namespace korvo {
namespace {

QString Message(const std::function<void()>& save) {
    try {
        save();
    } catch (const std::runtime_error& e) {
        return QString::fromStdString(e.what());
    }
    return QStringLiteral("(no error)");
}

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class FileSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        SaveWholeFile(earlier, "the earlier file");
    }
    QStringList Files() const {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
    const QString earlier = folder.filePath(QStringLiteral("GraficoTrayectoriaReal.bmp"));
};

TEST_F(FileSave, ReplacesTheEarlierFileWhole) {
    const QByteArray bytes(300000, 'B');
    SaveWholeFile(earlier, bytes);
    EXPECT_EQ(Read(earlier), bytes);
    EXPECT_EQ(Files(), QStringList{QStringLiteral("GraficoTrayectoriaReal.bmp")});
}

// Each failure names the full path and the system's reason, and leaves the
// earlier file as it was and no temporary file.
TEST_F(FileSave, FailedSaveKeepsTheEarlierFile) {
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("taken.bmp")));
    const QString taken = folder.filePath(QStringLiteral("taken.bmp"));
    EXPECT_EQ(Message([&] { SaveWholeFile(taken, "new"); }),
              QStringLiteral("Cannot create file \"%1\". Is a directory").arg(taken));

    QFile(earlier).setPermissions(QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    EXPECT_EQ(Message([&] { SaveWholeFile(earlier, "new"); }),
              QStringLiteral("Cannot create file \"%1\". Permission denied").arg(earlier));
    QFile(earlier).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A write that does not go through, as on a full disk.
    QString full;
    {
        const test::TFileSizeLimit limit(65536);
        full = Message([&] { SaveWholeFile(earlier, QByteArray(300000, 'B')); });
    }
    EXPECT_EQ(full, QStringLiteral("Error writing output file \"%1\". File too large").arg(earlier));

    EXPECT_EQ(Read(earlier), "the earlier file");
    EXPECT_EQ(Files(),
              (QStringList{QStringLiteral("GraficoTrayectoriaReal.bmp"), QStringLiteral("taken.bmp")}));
}

} // namespace
} // namespace korvo
