// Starts a program that carries the first-paint probe and prints "START_MS RSS_MB ANON_MB": the time from
// just before the process was spawned to the end of its window's first paint, and its resident set size
// and the anonymous part of it then.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

extern char **environ;

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_launch PROGRAM [ARGUMENTS]\n");
        return 2;
    }
    int out[2];
    if (pipe(out) != 0)
        return 1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[1], &actions, nullptr, argv + 1, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        std::fprintf(stderr, "%s: cannot start it\n", argv[1]);
        return 1;
    }

    char line[128] = {};
    FILE *reply = fdopen(out[0], "r");
    const bool answered = reply && std::fgets(line, sizeof line, reply);
    int status = 0;
    waitpid(child, &status, 0);
    long long paintedNs = 0;
    long rssKb = 0;
    long anonKb = 0;
    if (!answered || std::sscanf(line, "%lld %ld %ld", &paintedNs, &rssKb, &anonKb) != 3 || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s: no first paint reported\n", argv[1]);
        return 1;
    }
    const long long startNs = static_cast<long long>(start.tv_sec) * 1000000000LL + start.tv_nsec;
    std::printf("%.3f %.3f %.3f\n", double(paintedNs - startNs) / 1e6, double(rssKb) / 1024.0, double(anonKb) / 1024.0);
    return 0;
}
