// Whole-process start-up: `qorv-cli info` of a small document (process start to exit), and the
// editor from process start to its first drawn frame of the 10,000-element benchmark document
// (offscreen). Timed by the wall clock, as the work happens in a child process.
#include "generator.h"
#include "runcommand.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace qorv;

// The generator's construction of `elements` elements, saved in the temporary folder.
std::string writeDocument(const char* name, int elements) {
    const std::string file = (std::filesystem::temp_directory_path() / name).string();
    Document doc;
    return bench::saveMixedConstruction(doc, elements, file) ? file : std::string();
}

void BM_CliInfoSmallFile(benchmark::State& state) {
    const std::string file = writeDocument("qorv-bench-info.qrv", 25);
    if (file.empty()) return state.SkipWithError("saving the document failed");
    timeCommand(state, {QORV_CLI_PATH, "info", file});
    std::error_code ec;
    std::filesystem::remove(file, ec);
}
BENCHMARK(BM_CliInfoSmallFile)->Apply(processRuns<5, 9>);

void BM_EditorFirstFrame(benchmark::State& state) {
    const std::string file = writeDocument("qorv-bench-start.qrv", int(state.range(0)));
    if (file.empty()) return state.SkipWithError("saving the document failed");
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    timeCommand(state, {QORV_FIRST_FRAME_PATH, file});
    std::error_code ec;
    std::filesystem::remove(file, ec);
}
BENCHMARK(BM_EditorFirstFrame)->Arg(10000)->Apply(processRuns<1, 9>);

} // namespace

BENCHMARK_MAIN();
