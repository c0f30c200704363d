#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs check() in a child process whose files may grow to at most `bytes`, with SIGXFSZ ignored so
// that a write past the limit fails (EFBIG) as on a full disk instead of ending the child. Returns
// what check() returned, or -1 when the child did not exit by itself.
inline int inChildWithFileSizeLimit(rlim_t bytes, const std::function<int()> &check)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(check()); // nothing of the parent's is torn down twice
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}
