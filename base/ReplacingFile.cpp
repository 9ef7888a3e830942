#include "base/ReplacingFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
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

// The file a save of `name` replaces: absolute, and a link followed, so that
// the file it points at is replaced and the link stays.
fs::path ReplacedPath(const std::string& name) {
    std::error_code ec;
    fs::path path = fs::absolute(name, ec);
    if (fs::is_symlink(path, ec)) {
        fs::path real = fs::weakly_canonical(path, ec);
        if (!ec)
            path = std::move(real);
    }
    return path;
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

TReplacingFile::~TReplacingFile() {
    Discard();
}

void TReplacingFile::Discard() noexcept {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
        ::unlink(temporary_.c_str());
    }
    temporary_.clear();
    buffer_.clear();
}

void TReplacingFile::Open(const std::string& target) {
    Discard();
    target_.clear();
    if (target.empty())
        throw EFileReplace(EFileReplace::Step::Create, ENOENT);
    const fs::path path = ReplacedPath(target);
    struct stat earlier {};
    if (::stat(path.c_str(), &earlier) == 0) {
        // A rename could never put a file in place of a folder: say so before anything is written.
        if (S_ISDIR(earlier.st_mode))
            throw EFileReplace(EFileReplace::Step::Create, EISDIR);
        if (S_ISREG(earlier.st_mode))
            if (const int refusal = ReplaceRefusalForThisProcess(earlier))
                throw EFileReplace(EFileReplace::Step::Refuse, refusal);
    } else if (errno != ENOENT) {
        throw EFileReplace(EFileReplace::Step::Create, errno); // "Not a directory" under a regular file
    }
    RemoveStaleTemporaries(path);
    for (int attempt = 0; attempt < kMostNameAttempts; ++attempt) {
        std::string name = path.string() + "." + HexTag() + kSuffix;
        // O_EXCL: an existing file of that name is never overwritten, only another name tried.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            throw EFileReplace(EFileReplace::Step::Create, errno);
        ::flock(fd, LOCK_EX | LOCK_NB); // so that a sweep of another save leaves it alone
        descriptor_ = fd;
        temporary_ = std::move(name);
        target_ = path.string();
        buffer_.reserve(kBufferSize);
        return;
    }
    throw EFileReplace(EFileReplace::Step::Create, EEXIST);
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
    KeepModeAndOwner(descriptor_, target_);
    // The bytes reach the disk before the name moves to them. The file stays
    // open, and so locked against a sweep, until it has its name.
    if (::fsync(descriptor_) != 0)
        Fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    ::close(descriptor_);
    descriptor_ = -1;
    temporary_.clear();
    buffer_.clear();
    SyncFolder(fs::path(target_).parent_path());
}

} // namespace korvo
