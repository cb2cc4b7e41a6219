// Runs a program as a child process and waits for it: the benchmarks that time whole processes.
#pragma once

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace qorv {

// The child's exit status; -1 when it could not be started or did not exit normally.
inline int runCommand(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs `command` once per benchmark iteration; the first failure ends the benchmark with an error.
inline void timeCommand(benchmark::State& state, const std::vector<std::string>& command) {
    for (auto _ : state) {
        if (runCommand(command) != 0) {
            state.SkipWithError("the command failed");
            break;
        }
    }
}

// Whole processes are timed by the wall clock, `Repetitions` runs of `Iterations` each, in
// milliseconds, with only the aggregates of the runs reported.
template <int Iterations, int Repetitions> void processRuns(benchmark::internal::Benchmark* b) {
    b->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(Iterations)
        ->Repetitions(Repetitions)
        ->ReportAggregatesOnly(true);
}

} // namespace qorv
