// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/CommandOutputs.h"

#include "base/ErrorText.h"
#include "base/ReplacingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace korvo {
namespace {

// What an output path names, for telling two outputs of one file apart: the
// file's device and inode where it exists, else its path with links followed;
// standard output under any of its names.
std::string FileKey(const std::string& path) {
    if (path == "-")
        return "-";
    const std::string target = std::filesystem::path(FollowedTarget(path)).lexically_normal().string();
    struct stat file {};
    if (::stat(target.c_str(), &file) != 0)
        return target;
    struct stat out {};
    if (::fstat(STDOUT_FILENO, &out) == 0 && out.st_dev == file.st_dev && out.st_ino == file.st_ino)
        return "-";
    return std::to_string(file.st_dev) + ":" + std::to_string(file.st_ino);
}

} // namespace

void PrintError(const std::string& message) {
    const std::string line = "KORVO: " + ErrorReportText(message) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

void Print(std::FILE* stream, std::string_view text) {
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() || std::fflush(stream) != 0)
        ThrowWriteFailure("-", std::strerror(errno));
}

Outputs::Outputs(const CommandArguments& arguments, std::span<const CommandOption> options) {
    std::map<std::string, std::string> owners;
    for (const CommandOption& option : options) {
        const auto path = arguments.Value(option.name);
        if (!path)
            continue;
        const std::string key = FileKey(*path);
        const std::string name = "--" + std::string(option.name);
        if (const auto [owner, added] = owners.emplace(key, name); !added)
            throw ERefused(owner->second + " y " + name + " escriben el mismo archivo: " + *path);
        if (key == "-")
            toStandardOutput_ = true;
        else
            try {
                CheckSaveTarget(*path, true);
            } catch (const EFileReplace& failure) {
                throw ERefused(SaveFailureText(*path, failure));
            }
        paths_.emplace(std::string(option.name), *path);
    }
}

void Outputs::Save(const std::string& option, const std::function<std::string()>& bytes) {
    const auto path = Path(option);
    if (!path)
        return;
    Attempt([&] {
        std::string data;
        try {
            data = bytes();
        } catch (const EFileReplace& failure) {
            throw std::runtime_error(SaveFailureText(*path, failure));
        }
        if (*path == "-")
            return Print(stdout, data);
        try {
            CreateFolders(*path);
        } catch (const EFileReplace& failure) {
            throw std::runtime_error(SaveFailureText(*path, failure));
        }
        SaveWholeFile(*path, data.data(), data.size());
    });
}

} // namespace korvo
