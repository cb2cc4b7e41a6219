// The real command on the generator's costly documents (a few kilobytes each that repeat costly
// work: iterations of loci, chains of calls, long programs, loci over graphs, huge pictures):
// `qorv-cli dump`, a 1920 x 1080 PNG render and a DXF export, each a child process timed by the
// wall clock, with its user time and peak memory as counters. Each must stay within 2 s and
// 512 MB.
#include "fuzz/docgen.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace qorv;

// Runs a command; false when it fails. `usage` receives the child's resource use.
bool runChild(std::vector<std::string> args, rusage& usage) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_CostlyDocument(benchmark::State& state) {
    const auto shape = fuzz::CostlyShape(state.range(0));
    const int command = int(state.range(1));
    const auto dir = std::filesystem::temp_directory_path();
    const std::string file = (dir / "qorv-bench-costly.qrv").string();
    const std::string out =
        (dir / (command == 1 ? "qorv-bench-costly.png" : "qorv-bench-costly.dxf")).string();
    const std::vector<uint8_t> bytes = fuzz::costlyDocument(shape, 1);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    std::vector<std::string> args = {QORV_CLI_PATH, "dump", file};
    if (command > 0)
        args = {QORV_CLI_PATH, "render", file, out, "--width", "1920", "--height", "1080"};
    double user = 0, peak = 0;
    for (auto _ : state) {
        rusage usage{};
        if (!runChild(args, usage)) {
            state.SkipWithError("qorv-cli failed");
            break;
        }
        user = std::max(user, double(usage.ru_utime.tv_sec) + usage.ru_utime.tv_usec / 1e6);
        peak = std::max(peak, double(usage.ru_maxrss) / 1024.0);
    }
    state.counters["file_kb"] = double(bytes.size()) / 1024.0;
    state.counters["user_s"] = user;
    state.counters["peak_mb"] = peak;
    std::error_code ec;
    std::filesystem::remove(file, ec);
    std::filesystem::remove(out, ec);
}
// Shapes 0 .. 7 (see fuzz::CostlyShape); commands 0 dump, 1 PNG, 2 DXF.
BENCHMARK(BM_CostlyDocument)
    ->ArgsProduct({benchmark::CreateDenseRange(0, int(fuzz::CostlyShape::Count) - 1, 1), {0, 1, 2}})
    ->ArgNames({"shape", "command"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

} // namespace
