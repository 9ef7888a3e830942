// SPDX-License-Identifier: GPL-3.0-or-later

#include "ByteCompare.h"
#include "FileSizeLimit.h"
#include "OleReadBack.h"
#include "xls/WorkbookWriter.h"

#include <fstream>
#include <stdexcept>

using namespace korvo;
using korvo::test::BytesEqual;
using korvo::test::TBytes;
using korvo::test::TByteVector;

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

std::string Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no error)";
}

// A folder holding an earlier "Datos.xls" that a new export is to replace.
class TEarlierFile : public ::testing::Test {
protected:
    void SetUp() override { WriteText(target, "the earlier file"); }
    // The earlier file is still there, alone.
    void ExpectEarlierFileAlone() const {
        EXPECT_EQ(ReadFile(target), "the earlier file");
        EXPECT_EQ(folder.Files(), std::vector<std::string>{"Datos.xls"});
    }
    const test::TScratchFolder folder;
    const std::filesystem::path target = folder / "Datos.xls";
};

} // namespace

TEST(WorkbookWriter, RecordsFromTheScratchBuffer) {
    const test::TScratchFolder folder;
    TWorkbookWriter w;
    w.OpenWorkbookFile((folder / "a.xls").string());
    w.WriteWordRecord(0x0042, 1252);
    PutU16(w.Scratch(), 1);
    PutU16(w.Scratch() + 2, 1);
    w.WriteRecord(0x008C, 4);
    w.WriteRecord(0x000A, 0);
    EXPECT_TRUE(BytesEqual(TBytes()
                               .Raw({0x42, 0x00, 0x02, 0x00, 0xE4, 0x04})
                               .Raw({0x8C, 0x00, 0x04, 0x00, 0x01, 0x00, 0x01, 0x00})
                               .Raw({0x0A, 0x00, 0x00, 0x00}),
                           w.Stream().ToVector()));
    w.WriteRecord(0x00EB, 8224); // the whole scratch buffer
    EXPECT_EQ(w.Position(), 18u + 4 + 8224);
    EXPECT_THROW(w.WriteRecord(0x00EB, 8225), std::length_error);
}

TEST_F(TEarlierFile, CompleteStreamReplacesTheFileAndLeavesNothingElse) {
    TWorkbookWriter w;
    w.OpenWorkbookFile(target.string());
    w.WriteWordRecord(0x0042, 1252);
    EXPECT_EQ(ReadFile(target), "the earlier file"); // nothing is replaced while the export runs
    w.MarkComplete();
    w.CloseWorkbookFile();
    EXPECT_FALSE(w.IsOpen());
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"Datos.xls"});
    const test::TOleContents back = test::ReadBackWithOlefile(target);
    ASSERT_TRUE(back.read);
    EXPECT_TRUE(BytesEqual({0x42, 0x00, 0x02, 0x00, 0xE4, 0x04}, back.workbook));
    // The writer starts afresh for the next file.
    w.OpenWorkbookFile(target.string());
    EXPECT_EQ(w.Stream().Size(), 0u);
    EXPECT_FALSE(w.IsComplete());
}

TEST(WorkbookWriter, TargetThatCannotBeCreated) {
    const test::TScratchFolder folder;
    std::filesystem::create_directory(folder / "taken");
    WriteText(folder / "plain", "a file");
    const std::string cases[] = {
        (folder / "taken").string(),
        (folder / "missing" / "x.xls").string(),
        (folder / "plain" / "x.xls").string(), // a folder name that is a file
        "",
    };
    for (const std::string& name : cases) {
        TWorkbookWriter w;
        EXPECT_EQ(Message([&] { w.OpenWorkbookFile(name); }), "Cannot create file " + name);
        EXPECT_FALSE(w.IsOpen());
    }
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"plain", "taken"}));
}

// An export that fails or stops half-way closes an incomplete stream: the earlier file stays as it was.
TEST_F(TEarlierFile, IncompleteStreamKeepsTheEarlierFile) {
    {
        TWorkbookWriter w;
        w.OpenWorkbookFile(target.string());
        w.WriteWordRecord(0x0042, 1252);
        w.CloseWorkbookFile();
    }
    {
        TWorkbookWriter w; // destroyed while open, as when an exception passes by
        w.OpenWorkbookFile(target.string());
        w.WriteWordRecord(0x0042, 1252);
    }
    ExpectEarlierFileAlone();
}

// A write that does not go through: the process may not write files past 64 KiB, so the 300,000-byte
// file fails half-way, as on a full disk.
TEST_F(TEarlierFile, FailingWriteKeepsTheEarlierFile) {
    TWorkbookWriter w;
    w.OpenWorkbookFile(target.string());
    w.Stream().WriteFill(0x5A, 300000);
    w.MarkComplete();

    std::string message;
    {
        const test::TFileSizeLimit limit(65536);
        message = Message([&] { w.CloseWorkbookFile(); });
    }

    // The message names the file, as the message of a file that cannot be created does.
    EXPECT_EQ(message, "Error writing output file \"" + target.string() + "\". File too large");
    ExpectEarlierFileAlone();
    EXPECT_FALSE(w.IsOpen());
}

// The target turns into a folder during the export: the final rename fails and is reported.
TEST(WorkbookWriter, FailingRenameLeavesNoTemporaryFile) {
    const test::TScratchFolder folder;
    const auto target = folder / "Datos.xls";
    TWorkbookWriter w;
    w.OpenWorkbookFile(target.string());
    std::filesystem::create_directory(target);
    std::ofstream(target / "inside") << "x";
    w.WriteWordRecord(0x0042, 1252);
    w.MarkComplete();
    EXPECT_EQ(Message([&] { w.CloseWorkbookFile(); }),
              "Error writing output file \"" + target.string() + "\". Is a directory");
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"Datos.xls"});
    EXPECT_TRUE(std::filesystem::is_directory(target));
}

TEST(WorkbookWriter, DimensionsPatchAndGlobalsInsertion) {
    const test::TScratchFolder folder;
    TWorkbookWriter w;
    w.OpenWorkbookFile((folder / "a.xls").string());
    w.WriteWordRecord(0x0042, 1252);
    w.SetInsertPoint(w.Position());
    w.WriteRecord(0x000A, 0);
    TxlsBoundSheet sheet;
    sheet.BofPosition = w.Position();
    w.WriteWordRecord(0x0809, 0x0010); // a stand-in for the sheet's BOF
    sheet.DimensionsPosition = w.Position();
    std::fill_n(w.Scratch(), 14, std::uint8_t{0});
    w.WriteRecord(0x0200, 14);
    sheet.FirstRow = 0;
    sheet.LastRow = 3;
    sheet.FirstCol = 0;
    sheet.LastCol = 9;
    w.BoundSheets().push_back(sheet);
    TxlsBoundSheet empty; // no cell: its DIMENSIONS stays zero
    empty.BofPosition = w.Position();
    w.WriteWordRecord(0x0809, 0x0010);
    empty.DimensionsPosition = w.Position();
    std::fill_n(w.Scratch(), 14, std::uint8_t{0});
    w.WriteRecord(0x0200, 14);
    w.BoundSheets().push_back(empty);

    w.PatchDimensions();
    EXPECT_EQ(w.Position(), w.Stream().Size());

    TByteStream block;
    block.WriteU32(0xFFFFFFFF); // something before the first BOUNDSHEET
    w.BoundSheets()[0].BoundSheetPosition = block.Position();
    block.WriteU16(0x0085);
    block.WriteU16(4);
    block.WriteU32(0);
    w.BoundSheets()[1].BoundSheetPosition = block.Position();
    block.WriteU16(0x0085);
    block.WriteU16(4);
    block.WriteU32(0);
    w.InsertGlobals(block);

    const std::uint32_t first = 6 + 20 + 4; // CODEPAGE, the block, EOF
    const std::uint32_t second = first + 6 + 18;
    EXPECT_TRUE(BytesEqual(TBytes()
                               .Raw({0x42, 0x00, 0x02, 0x00, 0xE4, 0x04})
                               .U32(0xFFFFFFFF)
                               .U16(0x0085)
                               .U16(4)
                               .U32(first)
                               .U16(0x0085)
                               .U16(4)
                               .U32(second)
                               .Raw({0x0A, 0x00, 0x00, 0x00})
                               .Raw({0x09, 0x08, 0x02, 0x00, 0x10, 0x00})
                               .U16(0x0200)
                               .U16(14)
                               .U32(0)
                               .U32(4)
                               .U16(0)
                               .U16(10)
                               .U16(0)
                               .Raw({0x09, 0x08, 0x02, 0x00, 0x10, 0x00})
                               .U16(0x0200)
                               .U16(14)
                               .Fill(0, 14),
                           w.Stream().ToVector()));
    EXPECT_EQ(w.Position(), w.Stream().Size());
}

// Replacing keeps what the user set up around the earlier file: its permissions, and a link to it.
TEST(WorkbookWriter, ReplacingKeepsPermissionsAndLinks) {
    namespace fs = std::filesystem;
    const test::TScratchFolder folder;
    const auto real = folder / "real.xls";
    const auto link = folder / "link.xls";
    WriteText(real, "the earlier file");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, link);
    TWorkbookWriter w;
    w.OpenWorkbookFile(link.string());
    w.WriteWordRecord(0x0042, 1252);
    w.MarkComplete();
    w.CloseWorkbookFile();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    const test::TOleContents back = test::ReadBackWithOlefile(real);
    ASSERT_TRUE(back.read);
    EXPECT_TRUE(BytesEqual({0x42, 0x00, 0x02, 0x00, 0xE4, 0x04}, back.workbook));
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"link.xls", "real.xls"}));
}

// The program writes its file by a bare name into the current folder; the file lands there even if the
// current folder changes before it is closed.
TEST(WorkbookWriter, BareNameGoesToTheFolderCurrentAtOpening) {
    namespace fs = std::filesystem;
    const test::TScratchFolder folder;
    const test::TScratchFolder elsewhere;
    const fs::path before = fs::current_path();
    fs::current_path(folder.Path());
    TWorkbookWriter w;
    w.OpenWorkbookFile("DatosTrayectoriaRealCalculada.xls");
    fs::current_path(elsewhere.Path());
    w.MarkComplete();
    w.CloseWorkbookFile();
    fs::current_path(before);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"DatosTrayectoriaRealCalculada.xls"});
    EXPECT_TRUE(elsewhere.Files().empty());
}
