// SPDX-License-Identifier: GPL-3.0-or-later

#include "OleReadBack.h"
#include "base/ReplacingFile.h"
#include "xls/WorkbookWriter.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace korvo;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Save(const fs::path& target, const std::string& text) {
    TReplacingFile file;
    file.Open(target.string());
    file.Write(text.data(), text.size());
    file.Commit();
}

// The step and reason of a failed save; Step::Write with 0 when it went through.
std::pair<EFileReplace::Step, int> Failure(const std::function<void()>& save) {
    try {
        save();
    } catch (const EFileReplace& e) {
        return {e.FailedStep(), e.Error()};
    }
    return {EFileReplace::Step::Write, 0};
}

} // namespace

TEST(ReplaceRefusal, TheUserMayReplaceWhatItMayWrite) {
    const gid_t staff[] = {100, 50};
    EXPECT_EQ(ReplaceRefusal(0644, 1000, 100, 1000, staff), 0);      // its owner
    EXPECT_EQ(ReplaceRefusal(0644, 1001, 100, 1000, staff), EACCES); // someone else's
    EXPECT_EQ(ReplaceRefusal(0664, 1001, 100, 1000, staff), 0);      // a group the user is in
    EXPECT_EQ(ReplaceRefusal(0664, 1001, 200, 1000, staff), EACCES); // a group it is not in
    EXPECT_EQ(ReplaceRefusal(0666, 1001, 200, 1000, staff), 0);      // writable by all
    EXPECT_EQ(ReplaceRefusal(0464, 1000, 100, 1000, staff), EACCES); // the owner's own bits count
    EXPECT_EQ(ReplaceRefusal(0444, 1000, 100, 1000, staff), EACCES); // read-only
    const gid_t root[] = {0};
    EXPECT_EQ(ReplaceRefusal(0644, 1001, 100, 0, root), 0); // the superuser writes anyone's file
    EXPECT_EQ(ReplaceRefusal(0444, 0, 0, 0, root), EACCES); // but not a read-only one
    EXPECT_EQ(ReplaceRefusal(0400, 1001, 100, 0, root), EACCES);
}

// A refused or impossible save leaves the earlier file, or the folder, exactly as it was.
TEST(ReplacingFile, FailedSaveKeepsWhatWasThere) {
    const test::TScratchFolder folder;
    const fs::path earlier = folder / "Datos.xls";
    std::ofstream(earlier) << "the earlier file";
    fs::permissions(earlier, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(folder / "taken");
    std::ofstream(folder / "plain") << "a file";
    const struct {
        fs::path target;
        EFileReplace::Step step;
        int error;
    } cases[] = {
        {earlier, EFileReplace::Step::Refuse, EACCES},
        {folder / "taken", EFileReplace::Step::Create, EISDIR},
        {folder / "plain" / "x.xls", EFileReplace::Step::Create, ENOTDIR},
        {folder / "missing" / "x.xls", EFileReplace::Step::Create, ENOENT},
    };
    for (const auto& c : cases) {
        const auto [step, error] = Failure([&] { Save(c.target, "new"); });
        EXPECT_EQ(step, c.step) << c.target;
        EXPECT_EQ(error, c.error) << c.target;
    }
    EXPECT_EQ(ReadFile(earlier), "the earlier file");
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"Datos.xls", "plain", "taken"}));

    TWorkbookWriter w;
    try {
        w.OpenWorkbookFile(earlier.string());
        ADD_FAILURE() << "replaced a read-only file";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file " + earlier.string() + ". Permission denied");
    }
}

// Temporaries a killed save left behind go at the next save of that file; a
// save in progress (its temporary locked) and files of other names stay.
TEST(ReplacingFile, StaleTemporariesOfTheTargetAreRemoved) {
    const test::TScratchFolder folder;
    for (const char* name :
         {"Datos.xls.0123abcd.tmp", "Datos.xls.ffffffff.tmp", "Datos.xls.0123abcd.tmp.keep",
          "Datos.xls.backup", "Datos.xls.0123ABCD.tmp", "Otro.xls.0123abcd.tmp"})
        std::ofstream(folder / name) << "x";
    const int live = ::open((folder / "Datos.xls.00000001.tmp").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    Save(folder / "Datos.xls", "new");
    ::close(live);
    EXPECT_EQ(ReadFile(folder / "Datos.xls"), "new");
    EXPECT_EQ(folder.Files(),
              (std::vector<std::string>{"Datos.xls", "Datos.xls.00000001.tmp", "Datos.xls.0123ABCD.tmp",
                                        "Datos.xls.0123abcd.tmp.keep", "Datos.xls.backup",
                                        "Otro.xls.0123abcd.tmp"}));
}

// Run as the superuser, the check is tried for real as another user: the
// folder lets that user replace any file by renaming, so only the refusal
// keeps the earlier file, which that user may read but not write.
TEST(ReplacingFile, AnotherUsersFileIsNotReplaced) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs the superuser to act as another user";
    const test::TScratchFolder folder;
    fs::permissions(folder.Path(), fs::perms::all);
    const fs::path earlier = folder / "Datos.xls";
    std::ofstream(earlier) << "the earlier file";
    fs::permissions(earlier, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                 fs::perms::others_read);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setegid(65534) != 0 || ::seteuid(65534) != 0)
            ::_exit(2);
        const auto [step, error] = Failure([&] { Save(earlier, "new"); });
        const int ownError = Failure([&] { Save(folder / "own.xls", "mine"); }).second;
        ::_exit(step == EFileReplace::Step::Refuse && error == EACCES && ownError == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot act as another user here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(earlier), "the earlier file");
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"Datos.xls", "own.xls"}));
}

// What is not a regular file is written straight through and stays what it
// was; a link is followed to its end, dangling or not. Every node is made
// here, in the test's own folder.
TEST(ReplacingFile, DevicesPipesAndLinksAreWrittenThroughOrFollowed) {
    const test::TScratchFolder folder;
    const fs::path pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] { piped = ReadFile(pipe); });
    Save(pipe, "through the pipe");
    reader.join();
    EXPECT_EQ(piped, "through the pipe");
    EXPECT_TRUE(fs::is_fifo(pipe));

    // The character devices of "null" and "full", made here (as the superuser only).
    const fs::path null = folder / "null", full = folder / "full";
    if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0 &&
        ::mknod(full.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0) {
        Save(null, "gone");
        EXPECT_EQ(Failure([&] { Save(full, "no room"); }), std::make_pair(EFileReplace::Step::Write, ENOSPC));
        EXPECT_TRUE(fs::is_character_file(null));
        EXPECT_TRUE(fs::is_character_file(full));
    }

    // A dangling chain of links: the file at its end is created, the links stay.
    fs::create_symlink("second", folder / "first");
    fs::create_symlink(folder / "end.csv", folder / "second");
    Save(folder / "first", "at the end");
    EXPECT_TRUE(fs::is_symlink(folder / "first"));
    EXPECT_TRUE(fs::is_symlink(folder / "second"));
    EXPECT_EQ(ReadFile(folder / "end.csv"), "at the end");
    Save(folder / "first", "again");
    EXPECT_EQ(ReadFile(folder / "end.csv"), "again");
    EXPECT_TRUE(fs::is_symlink(folder / "first"));

    // A named socket is written as a stream.
    const fs::path socket = folder / "socket";
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listening, 1), 0);
    std::string received;
    std::thread server([&] {
        const int peer = ::accept(listening, nullptr, nullptr);
        char chunk[256];
        for (ssize_t n; (n = ::read(peer, chunk, sizeof chunk)) > 0;)
            received.append(chunk, static_cast<std::size_t>(n));
        ::close(peer);
    });
    Save(socket, "to the socket");
    server.join();
    ::close(listening);
    EXPECT_EQ(received, "to the socket");
    EXPECT_TRUE(fs::is_socket(socket));
}

// The check before a long run says what the save would say, creates nothing
// and never waits for a pipe's reader.
TEST(ReplacingFile, CheckTellsWhatTheSaveWouldMeet) {
    const test::TScratchFolder folder;
    fs::create_directory(folder / "taken");
    std::ofstream(folder / "plain") << "a file";
    std::ofstream(folder / "locked") << "read-only";
    fs::permissions(folder / "locked", fs::perms::owner_read);
    ASSERT_EQ(::mkfifo((folder / "pipe").c_str(), 0600), 0);
    const auto check = [](const fs::path& target, bool foldersMade) {
        return Failure([&] { CheckSaveTarget(target.string(), foldersMade); });
    };
    const std::pair<EFileReplace::Step, int> fine{EFileReplace::Step::Write, 0};
    EXPECT_EQ(check(folder / "new.csv", false), fine);
    EXPECT_EQ(check(folder / "plain", false), fine);
    EXPECT_EQ(check(folder / "pipe", false), fine);
    EXPECT_EQ(check(folder / "deep" / "er" / "x.csv", true), fine);
    EXPECT_EQ(check(folder / "deep" / "x.csv", false), std::make_pair(EFileReplace::Step::Create, ENOENT));
    EXPECT_EQ(check(folder / "taken", true), std::make_pair(EFileReplace::Step::Create, EISDIR));
    EXPECT_EQ(check(folder / "plain" / "x" / "y.csv", true),
              std::make_pair(EFileReplace::Step::Create, ENOTDIR));
    EXPECT_EQ(check(folder / "locked", true), std::make_pair(EFileReplace::Step::Refuse, EACCES));
    EXPECT_EQ(check("", true), std::make_pair(EFileReplace::Step::Create, ENOENT));
    EXPECT_EQ(folder.Files(), (std::vector<std::string>{"locked", "pipe", "plain", "taken"}));

    CreateFolders((folder / "deep" / "er" / "x.csv").string());
    EXPECT_TRUE(fs::is_directory(folder / "deep" / "er"));
}

// A save ended by SIGTERM leaves no temporary and the earlier file as it was.
TEST(ReplacingFile, SignalDuringASaveRemovesTheTemporary) {
    const test::TScratchFolder folder;
    std::ofstream(folder / "Datos.xls") << "the earlier file";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RemoveTemporariesOnSignals();
        TReplacingFile file;
        file.Open((folder / "Datos.xls").string());
        const std::string bytes(1 << 20, 'x');
        file.Write(bytes.data(), bytes.size());
        ::kill(::getpid(), SIGTERM);
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(folder.Files(), std::vector<std::string>{"Datos.xls"});
    EXPECT_EQ(ReadFile(folder / "Datos.xls"), "the earlier file");
}
