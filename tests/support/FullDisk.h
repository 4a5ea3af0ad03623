// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace tessel::test {

// Makes every write past `bytes` into any file fail (EFBIG), as on a full disk, for the object's
// life and for every thread of the test. Needs no privileges, unlike a small mounted file system.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes = 16)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        // The kernel's default for a write past the limit is to kill the process.
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDisk()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace tessel::test
