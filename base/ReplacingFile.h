// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A file that replaces an earlier file of its name whole or not at all: the
// workbook and the chart bitmap are both saved through it.
//
//     korvo::TReplacingFile file;
//     file.Open("GraficoTrayectoriaReal.bmp"); // the earlier file is untouched
//     file.Write(bytes.data(), bytes.size());
//     file.Commit();                           // now the new file is in place
//
// Open creates a new file beside the target, "<name>.<8 hex digits>.tmp";
// Commit writes it to the disk, renames it over the target and writes the
// folder to the disk, so that after a power cut the name holds the earlier
// file or the new one, never an empty or a partial one. A file that is not
// committed (a failure, or destruction while open) is removed and the earlier
// file stays as it was. A temporary that a killed process left behind is
// removed at the next Open of that target; one still being written (another
// program saving the same file) is locked and is left alone.
//
// The earlier file keeps its permission bits and, where the user may set it,
// its owner. A link is followed to its end, dangling or not: the file it
// points at is replaced or created, the link stays. An earlier file that the
// user may not write is not replaced (see ReplaceRefusal), as a
// create-or-replace open of it would be refused.
//
// Only a regular file is replaced. A target that exists and is something else
// (a terminal or another character device, a block device, a named pipe, a
// socket), and a name of this process's standard output or error (/dev/stdout,
// /proc/self/fd/1), is written straight through in one stream, as a shell's
// ">" writes it: nothing is created, renamed or removed there, and a failed
// write cannot take back what already went through. A folder is refused.
#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <vector>

namespace korvo {

// A file that could not be replaced: the step that failed and the system's
// error number (what strerror explains).
class EFileReplace : public std::runtime_error {
public:
    enum class Step {
        Refuse, // the earlier file may not be replaced (ReplaceRefusal); it is untouched
        Create, // the new file cannot be made (a folder of that name, a missing folder)
        Write,  // writing, flushing or renaming failed; the earlier file is untouched
    };
    EFileReplace(Step step, int error);
    Step FailedStep() const { return step_; }
    int Error() const { return error_; }

private:
    Step step_;
    int error_;
};

// Whether a user may replace an earlier file with these permission bits,
// owner and group: 0 when it may, EACCES when it may not. A file that nobody
// may write (mode 0444) is refused to everyone, the superuser included, as a
// read-only file is; otherwise the superuser may; any other user needs the
// write permission of the class it falls in (the owner's, a group member's,
// everyone else's), just as for writing the file in place.
//
//   ReplaceRefusal(0644, 1000, 1000, 1000, {1000})  -> 0       its owner
//   ReplaceRefusal(0644, 1000, 1000, 1001, {1001})  -> EACCES  someone else's
//   ReplaceRefusal(0444, 0, 0, 0, {0})              -> EACCES  read-only
int ReplaceRefusal(mode_t mode, uid_t owner, gid_t group, uid_t user, std::span<const gid_t> userGroups);

// The file a save of `name` writes: absolute, and a symbolic link followed to
// its end; for a dangling link, the missing file it points at. Links to
// devices and pipes (/dev/stdout) are kept as they are, to be opened through.
std::string FollowedTarget(const std::string& name);

// Checks what TReplacingFile::Open checks, without creating, opening or
// removing anything (a named pipe is not opened, so the check never waits for
// a reader): throws EFileReplace(Refuse) for an earlier file the user may not
// replace, EFileReplace(Create) for a folder, a path under a regular file, or
// a missing folder. With `foldersMade` a missing folder passes when the
// nearest folder that exists can take new entries, as CreateFolders needs.
void CheckSaveTarget(const std::string& target, bool foldersMade);

// Creates the missing folders of the file a save of `target` writes (a
// dangling link's folders included). Throws EFileReplace(Create) on failure.
void CreateFolders(const std::string& target);

// The message of a save of `path` that failed: "Cannot create file
// "<absolute path>". <reason>", or WriteFailureText for a failed write.
std::string SaveFailureText(const std::string& path, const EFileReplace& failure);

// The one message of bytes that did not reach their file, naming it as the
// messages of a file that cannot be created do:
//   WriteFailureText("out.pdf", "No space left on device")
//     -> "Error writing output file "/home/ana/out.pdf". No space left on device"
// "-" stands for standard output and is shown as it is.
std::string WriteFailureText(const std::string& path, const std::string& reason);
// Throws std::runtime_error with WriteFailureText(path, reason).
[[noreturn]] void ThrowWriteFailure(const std::string& path, const std::string& reason);

// Writes `size` bytes to `path` through a TReplacingFile and throws
// std::runtime_error with the messages the program shows: "Cannot create file
// "<absolute path>". <reason>" when the file cannot be started, "Error writing
// output file "<absolute path>". <reason>" when the bytes do not go through.
void SaveWholeFile(const std::string& path, const void* data, std::size_t size);

// From now on, SIGINT, SIGTERM and SIGHUP first remove the temporary files of
// the saves in progress and then end the process as the signal would. A
// signal whose handling the program has already set is left alone.
void RemoveTemporariesOnSignals();

class TReplacingFile {
public:
    TReplacingFile() = default;
    ~TReplacingFile(); // discards a file not committed
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    // Starts the new file for `target` (relative names resolve against the
    // current folder now). Throws EFileReplace(Refuse) when the earlier file
    // may not be replaced, EFileReplace(Create) when the target is a folder or
    // its folder is missing or takes no files, or a device or pipe cannot be
    // opened for writing. A named pipe waits here for its reader, as a shell's
    // ">" does. A file still open is discarded first.
    void Open(const std::string& target);
    // Throws EFileReplace(Write) when the bytes do not go through.
    void Write(const void* data, std::size_t count);
    // Puts the new file in place of the earlier one (or, written through,
    // sends the last bytes and closes). On failure throws EFileReplace(Write)
    // and leaves the earlier file and no temporary file.
    void Commit();
    // Removes the new file; the earlier file stays. Does nothing when closed.
    void Discard() noexcept;

    bool IsOpen() const { return descriptor_ >= 0; }
    // The file that Commit replaces: absolute, a link followed.
    const std::string& Target() const { return target_; }
    // Whether the bytes go straight to the target (a device, a pipe, standard
    // output) rather than to a temporary file that replaces it.
    bool WritesThrough() const { return IsOpen() && temporary_.empty(); }

private:
    void OpenThrough(const std::string& path, mode_t type, int standardStream);
    void Flush();
    void WriteThrough(const char* data, std::size_t count);
    [[noreturn]] void Fail(int error);

    int descriptor_ = -1;
    std::string target_;
    std::string temporary_;
    std::vector<char> buffer_;
};

} // namespace korvo
