// Times the three steps of one conversion apart: loading the rule file, reading its items and
// building the project, each in CPU and wall seconds with the peak memory reached by its end.
//   conversion_steps RULE_FILE TARGET_FOLDER [--no-log]
// The log goes into the target folder; with --no-log there is none, which shows what its lines,
// each written and flushed on its own, cost.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "kbfile/KBItemsConvertor.h"
#include "log/Log.h"

namespace {

struct Clock {
    double cpu;
    double wall;
};

Clock Now()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    const auto wall = std::chrono::steady_clock::now().time_since_epoch();
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime),
            std::chrono::duration<double>(wall).count()};
}

long PeakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

// Runs step and prints its times and the peak memory so far; false when the step failed.
template <typename Step>
bool Timed(const char* name, Step&& step)
{
    const Clock start = Now();
    const bool done = step();
    const Clock end = Now();
    std::printf("%-12s cpu %6.3f s  wall %6.3f s  peak so far %5ld MB%s\n", name,
                end.cpu - start.cpu, end.wall - start.wall, PeakMegabytes(), done ? "" : "  FAILED");
    return done;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool noLog = argc == 4 && std::strcmp(argv[3], "--no-log") == 0;
    if (argc != 3 && !noLog) {
        std::fprintf(stderr, "usage: conversion_steps RULE_FILE TARGET_FOLDER [--no-log]\n");
        return 2;
    }
    const std::string target = argv[2];
    CLog::Restart(noLog ? std::nullopt : std::optional<std::string>(target + "/"));
    std::optional<CKBItemsConvertor> reader(std::in_place);
    const bool converted = Timed("load", [&] { return reader->LoadModule(argv[1], target); }) &&
                           Timed("read items", [&] { return reader->ReadItems(); }) &&
                           Timed("build", [&] { return reader->BuildProject(); });
    Timed("free", [&] {
        reader.reset();
        return true;
    });
    CLog::Restart(std::nullopt);
    return converted ? 0 : 1;
}
