// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Reads a compound file back with an independent reader, Debian's python3-olefile, in its strictest mode
// (any defect it is unsure of raises), and hands back the entry list and the "Workbook" stream's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace korvo::test {

struct TOleContents {
    bool read = false;   // the reader accepted the file
    std::string entries; // e.g. [['Workbook']]
    std::vector<std::uint8_t> workbook;
};

inline TOleContents ReadBackWithOlefile(const std::filesystem::path& file) {
    namespace fs = std::filesystem;
    const fs::path out = fs::path(file).concat(".stream");
    const fs::path list = fs::path(file).concat(".entries");
    const std::string script = "import olefile, sys\n"
                               "o = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_UNSURE)\n"
                               "open(sys.argv[3], 'w').write(repr(o.listdir(streams=True, storages=True)))\n"
                               "open(sys.argv[2], 'wb').write(o.openstream('Workbook').read())\n";
    const fs::path scriptFile = fs::path(file).concat(".py");
    std::ofstream(scriptFile) << script;
    const std::string command = std::string("/usr/bin/python3 '") + scriptFile.string() + "' '" +
                                file.string() + "' '" + out.string() + "' '" + list.string() + "'";
    TOleContents result;
    result.read = std::system(command.c_str()) == 0;
    if (result.read) {
        std::ifstream in(out, std::ios::binary);
        result.workbook.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::ifstream names(list);
        std::getline(names, result.entries);
    }
    std::error_code ec;
    fs::remove(out, ec);
    fs::remove(list, ec);
    fs::remove(scriptFile, ec);
    return result;
}

// A fresh, empty folder for one test, removed with its content when the object goes.
class TScratchFolder {
public:
    TScratchFolder() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("korvo-xls-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 std::to_string(reinterpret_cast<std::uintptr_t>(this) % 100000) + "-" +
                 std::to_string(++counter));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Names of the files in the folder, sorted.
    std::vector<std::string> Files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_)) {
            names.push_back(e.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path path_;
};

} // namespace korvo::test
