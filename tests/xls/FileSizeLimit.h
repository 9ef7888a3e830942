// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// A full disk, reproduced: while a TFileSizeLimit lives, the process may not
// write files past the given size, and a write past it fails ("File too
// large") instead of ending the process. The limit goes with the object, also
// when a test fails early.
//
//     { const korvo::test::TFileSizeLimit limit(65536); save(); }
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace korvo::test {

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &saved_), 0);
        rlimit small = saved_;
        small.rlim_cur = bytes;
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*handler_)(int) = SIG_DFL;
};

} // namespace korvo::test
