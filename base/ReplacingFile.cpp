// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/ReplacingFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace korvo {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::size_t kHexDigits = 8;
constexpr const char* kSuffix = ".tmp";

// 2^32 / golden ratio: multiplying the counter by it spreads consecutive
// counts over all the bits of the tag, so that two saves of the same process
// draw names far apart even when the seed is the same.
constexpr unsigned kTagSpread = 0x9E3779B9u;

// The most names tried for a temporary. A name clashes only with a temporary
// that another save keeps at this moment, so a few tries suffice by far; a
// bound stops a directory that reports every name as taken from holding the
// save forever.
constexpr int kMostNameAttempts = 100;

std::string HexTag() {
    static std::atomic<unsigned> counter{0};
    static const unsigned seed = std::random_device{}();
    const unsigned tag = seed ^ (kTagSpread * ++counter);
    std::string hex(kHexDigits, '0');
    for (std::size_t i = 0; i < kHexDigits; ++i)
        hex[i] = "0123456789abcdef"[(tag >> (28 - 4 * i)) & 0xF];
    return hex;
}

// "<name>.<8 hex digits>.tmp": the temporaries of the file `name`, and nothing
// a user would name a file.
bool IsTemporaryOf(const std::string& entry, const std::string& name) {
    const std::size_t size = name.size() + 1 + kHexDigits + std::strlen(kSuffix);
    if (entry.size() != size || entry.compare(0, name.size(), name) != 0 || entry[name.size()] != '.')
        return false;
    const std::string_view hex(entry.data() + name.size() + 1, kHexDigits);
    return std::all_of(hex.begin(), hex.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }) &&
           entry.compare(size - std::strlen(kSuffix), std::string::npos, kSuffix) == 0;
}

// Removes the temporaries of `target` that no process holds: a save holds
// its temporary locked from creation to rename, and the lock goes with the
// process, so an unlocked one was left by a process that was killed. Only the
// user's own files are touched.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string name = target.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(target.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (!IsTemporaryOf(entry, name))
            continue;
        const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(it->path().c_str());
        ::close(fd);
    }
}

// The kernel's own bound on the links it follows in one path.
constexpr int kMostLinks = 40;

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// 1 or 2 when `target` is this process's standard output or error, else -1.
int StandardStreamOf(const struct stat& target) {
    for (const int fd : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat stream {};
        if (::fstat(fd, &stream) == 0 && SameFile(stream, target))
            return fd;
    }
    return -1;
}

// The temporaries of the saves in progress, for a signal handler to remove:
// fixed slots, so that the handler reads them without locks or allocation.
struct PendingTemporary {
    std::atomic<bool> used{false};
    char path[PATH_MAX] = {};
};
PendingTemporary pendingTemporaries[16];

PendingTemporary* RegisterTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX)
        return nullptr;
    for (PendingTemporary& slot : pendingTemporaries) {
        bool expected = false;
        if (slot.used.load() || !slot.used.compare_exchange_strong(expected, true))
            continue;
        // The slot is marked before its path is complete: the handler then
        // removes a shorter name, which is never a file of the user's (a
        // temporary's name is the target's name and a tag), or the empty one.
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        return &slot;
    }
    return nullptr;
}

void UnregisterTemporary(const std::string& path) {
    for (PendingTemporary& slot : pendingTemporaries)
        if (slot.used.load() && path == slot.path) {
            slot.path[0] = '\0';
            slot.used.store(false);
        }
}

extern "C" void RemoveTemporariesAndEnd(int signal) {
    for (PendingTemporary& slot : pendingTemporaries)
        if (slot.used.load() && slot.path[0] != '\0')
            ::unlink(slot.path);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// Opens a socket for writing: a named socket is connected to, as a stream.
int ConnectSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

int ReplaceRefusalForThisProcess(const struct stat& earlier) {
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)) + 1);
    const int count = ::getgroups(static_cast<int>(groups.size() - 1), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    groups.push_back(::getegid());
    return ReplaceRefusal(earlier.st_mode, earlier.st_uid, earlier.st_gid, ::geteuid(), groups);
}

// The earlier file's permission bits and owner pass to the new file; an owner
// the user may not give (another user's, when not the superuser) stays the user's.
void KeepModeAndOwner(int fd, const std::string& earlier) {
    struct stat st {};
    if (::stat(earlier.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    struct stat mine {};
    if (::fstat(fd, &mine) == 0 && (mine.st_uid != st.st_uid || mine.st_gid != st.st_gid)) {
        [[maybe_unused]] const int ignored = ::fchown(fd, st.st_uid, st.st_gid);
    }
    // After the owner: a change of owner clears the set-user-ID bits.
    ::fchmod(fd, st.st_mode & 07777);
}

// After the rename the folder holds the new name; writing the folder to the
// disk makes the rename survive a power cut. A file system that cannot do
// this for folders gives an error that changes nothing: the file is in place.
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

EFileReplace::EFileReplace(Step step, int error)
    : std::runtime_error(std::strerror(error)), step_(step), error_(error) {}

int ReplaceRefusal(mode_t mode, uid_t owner, gid_t group, uid_t user, std::span<const gid_t> userGroups) {
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return EACCES;
    if (user == 0)
        return 0;
    mode_t needed = S_IWOTH;
    if (user == owner)
        needed = S_IWUSR;
    else if (std::find(userGroups.begin(), userGroups.end(), group) != userGroups.end())
        needed = S_IWGRP;
    return (mode & needed) != 0 ? 0 : EACCES;
}

std::string FollowedTarget(const std::string& name) {
    std::error_code ec;
    fs::path path = fs::absolute(name, ec);
    if (ec)
        path = name;
    for (int links = 0; links < kMostLinks; ++links) {
        struct stat link {};
        if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode))
            break;
        struct stat end {};
        if (::stat(path.c_str(), &end) == 0) {
            // A regular file is replaced where it lies; anything else is
            // opened through the link, since the kernel's own links (those
            // of /proc behind /dev/stdout) name no path to follow by hand.
            if (S_ISREG(end.st_mode)) {
                fs::path real = fs::canonical(path, ec);
                if (!ec)
                    path = std::move(real);
            }
            break;
        }
        // A dangling link: one step further, to the file it would point at.
        std::string next(PATH_MAX, '\0');
        const ssize_t size = ::readlink(path.c_str(), next.data(), next.size());
        if (size < 0)
            break;
        next.resize(static_cast<std::size_t>(size));
        const fs::path step(next);
        path = step.is_absolute() ? step : path.parent_path() / step;
    }
    return path.string();
}

namespace {

// What a save of a name meets: the followed path, and whether something is
// there and is written through rather than replaced.
struct SaveTarget {
    std::string path;
    bool exists = false, through = false;
    mode_t mode = 0;
    int stream = -1;
};

// Throws EFileReplace for an empty name, a folder, an earlier file the user
// may not replace, and a path that cannot be looked at ("Not a directory"
// under a regular file); a missing file passes.
SaveTarget LookAt(const std::string& target) {
    if (target.empty())
        throw EFileReplace(EFileReplace::Step::Create, ENOENT);
    SaveTarget found{FollowedTarget(target)};
    struct stat earlier {};
    if (::stat(found.path.c_str(), &earlier) != 0) {
        if (errno != ENOENT)
            throw EFileReplace(EFileReplace::Step::Create, errno);
        return found;
    }
    // A rename could never put a file in place of a folder: say so before anything is written.
    if (S_ISDIR(earlier.st_mode))
        throw EFileReplace(EFileReplace::Step::Create, EISDIR);
    found.exists = true;
    found.mode = earlier.st_mode;
    found.stream = StandardStreamOf(earlier);
    found.through = !S_ISREG(earlier.st_mode) || found.stream >= 0;
    if (!found.through)
        if (const int refusal = ReplaceRefusalForThisProcess(earlier))
            throw EFileReplace(EFileReplace::Step::Refuse, refusal);
    return found;
}

} // namespace

void CheckSaveTarget(const std::string& target, bool foldersMade) {
    const SaveTarget found = LookAt(target);
    if (found.exists)
        return;
    const fs::path path = found.path;
    // The new file goes into the nearest folder that exists, or into folders made under it.
    fs::path folder = path.parent_path();
    struct stat nearest {};
    while (::stat(folder.c_str(), &nearest) != 0) {
        if (errno != ENOENT || !foldersMade || folder == folder.parent_path())
            throw EFileReplace(EFileReplace::Step::Create, errno);
        folder = folder.parent_path();
    }
    if (!S_ISDIR(nearest.st_mode))
        throw EFileReplace(EFileReplace::Step::Create, ENOTDIR);
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        throw EFileReplace(EFileReplace::Step::Create, errno);
}

void CreateFolders(const std::string& target) {
    std::error_code ec;
    fs::create_directories(fs::path(FollowedTarget(target)).parent_path(), ec);
    if (ec)
        throw EFileReplace(EFileReplace::Step::Create, ec.value());
}

namespace {

constexpr const char* kWriteFailure = "Error writing output file";

std::string ShownFileName(const std::string& path) {
    if (path == "-")
        return path;
    std::error_code ec;
    return fs::absolute(path, ec).lexically_normal().string();
}

// The part of a message after its opening words: the file and the reason.
std::string FileAndReason(const std::string& path, const std::string& reason) {
    return " \"" + ShownFileName(path) + "\". " + reason;
}

} // namespace

std::string WriteFailureText(const std::string& path, const std::string& reason) {
    return kWriteFailure + FileAndReason(path, reason);
}

void ThrowWriteFailure(const std::string& path, const std::string& reason) {
    throw std::runtime_error(kWriteFailure + FileAndReason(path, reason));
}

std::string SaveFailureText(const std::string& path, const EFileReplace& failure) {
    if (failure.FailedStep() == EFileReplace::Step::Write)
        return WriteFailureText(path, failure.what());
    return "Cannot create file" + FileAndReason(path, failure.what());
}

void SaveWholeFile(const std::string& path, const void* data, std::size_t size) {
    try {
        TReplacingFile file;
        file.Open(path);
        file.Write(data, size);
        file.Commit();
    } catch (const EFileReplace& e) {
        throw std::runtime_error(SaveFailureText(path, e));
    }
}

void RemoveTemporariesOnSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
            continue;
        struct sigaction removing {};
        removing.sa_handler = RemoveTemporariesAndEnd;
        sigemptyset(&removing.sa_mask);
        ::sigaction(signal, &removing, nullptr);
    }
}

TReplacingFile::~TReplacingFile() {
    Discard();
}

void TReplacingFile::Discard() noexcept {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
        if (!temporary_.empty()) {
            ::unlink(temporary_.c_str());
            UnregisterTemporary(temporary_);
        }
    }
    temporary_.clear();
    buffer_.clear();
}

void TReplacingFile::Open(const std::string& target) {
    Discard();
    target_.clear();
    const SaveTarget found = LookAt(target);
    if (found.through) {
        OpenThrough(found.path, found.mode, found.stream);
        return;
    }
    const std::string& path = found.path;
    RemoveStaleTemporaries(path);
    // A signal that would remove the temporary waits until it is registered.
    sigset_t ending, saved;
    sigemptyset(&ending);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&ending, signal);
    for (int attempt = 0; attempt < kMostNameAttempts; ++attempt) {
        std::string name = path + "." + HexTag() + kSuffix;
        // O_EXCL: an existing file of that name is never overwritten, only another name tried.
        ::pthread_sigmask(SIG_BLOCK, &ending, &saved);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const int error = errno;
        if (fd >= 0)
            RegisterTemporary(name);
        ::pthread_sigmask(SIG_SETMASK, &saved, nullptr);
        if (fd < 0 && error == EEXIST)
            continue;
        if (fd < 0)
            throw EFileReplace(EFileReplace::Step::Create, error);
        ::flock(fd, LOCK_EX | LOCK_NB); // so that a sweep of another save leaves it alone
        descriptor_ = fd;
        temporary_ = std::move(name);
        target_ = path;
        buffer_.reserve(kBufferSize);
        return;
    }
    throw EFileReplace(EFileReplace::Step::Create, EEXIST);
}

void TReplacingFile::OpenThrough(const std::string& path, mode_t type, int standardStream) {
    int fd = -1;
    if (standardStream >= 0)
        fd = ::fcntl(standardStream, F_DUPFD_CLOEXEC, 0);
    else if (S_ISSOCK(type))
        fd = ConnectSocket(path);
    else
        fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        throw EFileReplace(EFileReplace::Step::Create, errno);
    descriptor_ = fd;
    target_ = path;
    buffer_.reserve(kBufferSize);
}

void TReplacingFile::Fail(int error) {
    Discard();
    throw EFileReplace(EFileReplace::Step::Write, error);
}

void TReplacingFile::Write(const void* data, std::size_t count) {
    if (descriptor_ < 0)
        throw EFileReplace(EFileReplace::Step::Write, EBADF);
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + count > kBufferSize)
        Flush();
    if (count >= kBufferSize)
        WriteThrough(bytes, count);
    else
        buffer_.insert(buffer_.end(), bytes, bytes + count);
}

void TReplacingFile::Flush() {
    WriteThrough(buffer_.data(), buffer_.size());
    buffer_.clear();
}

void TReplacingFile::WriteThrough(const char* data, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(descriptor_, data, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            Fail(written < 0 ? errno : EIO);
        data += written;
        count -= static_cast<std::size_t>(written);
    }
}

void TReplacingFile::Commit() {
    if (descriptor_ < 0)
        throw EFileReplace(EFileReplace::Step::Write, EBADF);
    Flush();
    if (WritesThrough()) {
        const int fd = descriptor_;
        descriptor_ = -1;
        buffer_.clear();
        if (::close(fd) != 0 && errno != EINTR)
            throw EFileReplace(EFileReplace::Step::Write, errno);
        return;
    }
    KeepModeAndOwner(descriptor_, target_);
    // The bytes reach the disk before the name moves to them. The file stays
    // open, and so locked against a sweep, until it has its name.
    if (::fsync(descriptor_) != 0)
        Fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    UnregisterTemporary(temporary_);
    ::close(descriptor_);
    descriptor_ = -1;
    temporary_.clear();
    buffer_.clear();
    SyncFolder(fs::path(target_).parent_path());
}

} // namespace korvo
