// Runs two programs alternately, N times each, and reports the whole-process
// time (median, min, max) and peak memory (median of the children's maximum
// resident set) of each, and their ratios.
//
//   startup_compare [-n N] PROGRAM_A PROGRAM_B

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {
struct Run {
    double ms = 0;
    long rssKiB = 0;
};

bool RunOnce(const char* program, Run& run)
{
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    char* argv[] = {const_cast<char*>(program), nullptr};
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.rssKiB = usage.ru_maxrss;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename T> T Median(std::vector<T> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
}

int main(int argc, char** argv)
{
    int n = 15;
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "-n") == 0) {
        n = std::max(1, std::atoi(argv[2]));
        first = 3;
    }
    if (argc - first != 2) {
        std::fprintf(stderr, "usage: startup_compare [-n N] PROGRAM_A PROGRAM_B\n");
        return 2;
    }
    const char* programs[2] = {argv[first], argv[first + 1]};
    std::vector<double> ms[2];
    std::vector<long> rss[2];
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 2; ++k) {
            Run run;
            if (!RunOnce(programs[k], run)) {
                std::fprintf(stderr, "startup_compare: %s failed\n", programs[k]);
                return 1;
            }
            ms[k].push_back(run.ms);
            rss[k].push_back(run.rssKiB);
        }
    for (int k = 0; k < 2; ++k)
        std::printf("%-40s median %7.1f ms  min %7.1f  max %7.1f  peak RSS %6ld KiB\n", programs[k], Median(ms[k]),
                    *std::min_element(ms[k].begin(), ms[k].end()), *std::max_element(ms[k].begin(), ms[k].end()),
                    Median(rss[k]));
    std::printf("ratio A/B: time %.2f, peak memory %.2f\n", Median(ms[0]) / Median(ms[1]),
                static_cast<double>(Median(rss[0])) / static_cast<double>(Median(rss[1])));
    return 0;
}
