// The real command: `qorv-cli render FILE OUT.png --width 1920 --height 1080` on a 10,000-element
// document written by the generator (process start, reading, the full pass, drawing and PNG
// encoding). Timed by the wall clock, since the work happens in a child process.
#include "generator.h"
#include "geometry/recalc.h"
#include "model/docfile.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace qorv;

int runCommand(std::vector<std::string> args) {
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

void BM_CliRenderPng(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string file = (dir / "qorv-bench-render.qrv").string();
    const std::string png = (dir / "qorv-bench-render.png").string();
    {
        Document doc;
        bench::buildMixedConstruction(doc, int(state.range(0)));
        recalcUpTo(doc);
        doc.left = bench::ViewLeft;
        doc.top = bench::ViewTop;
        if (!saveDocument(doc, file)) {
            state.SkipWithError("saving the document failed");
            return;
        }
    }
    const std::vector<std::string> command = {
        QORV_CLI_PATH, "render",
        file,          png,
        "--width",     std::to_string(int(bench::ViewWidth)),
        "--height",    std::to_string(int(bench::ViewHeight))};
    for (auto _ : state) {
        if (runCommand(command) != 0) {
            state.SkipWithError("qorv-cli render failed");
            break;
        }
    }
    std::error_code ec;
    state.counters["png_bytes"] = double(std::filesystem::file_size(png, ec));
    std::filesystem::remove(file, ec);
    std::filesystem::remove(png, ec);
}
BENCHMARK(BM_CliRenderPng)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
