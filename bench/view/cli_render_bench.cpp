// The real command: `qorv-cli render FILE OUT.png --width 1920 --height 1080` on a 10,000-element
// document written by the generator (process start, reading, the full pass, drawing and PNG
// encoding). Timed by the wall clock, since the work happens in a child process.
#include "generator.h"
#include "runcommand.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace qorv;

void BM_CliRenderPng(benchmark::State& state) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string file = (dir / "qorv-bench-render.qrv").string();
    const std::string png = (dir / "qorv-bench-render.png").string();
    {
        Document doc;
        if (!bench::saveMixedConstruction(doc, int(state.range(0)), file)) {
            state.SkipWithError("saving the document failed");
            return;
        }
    }
    const std::vector<std::string> command = {
        QORV_CLI_PATH, "render",
        file,          png,
        "--width",     std::to_string(int(bench::ViewWidth)),
        "--height",    std::to_string(int(bench::ViewHeight))};
    timeCommand(state, command);
    std::error_code ec;
    state.counters["png_bytes"] = double(std::filesystem::file_size(png, ec));
    std::filesystem::remove(file, ec);
    std::filesystem::remove(png, ec);
}
BENCHMARK(BM_CliRenderPng)->Arg(10000)->Apply(processRuns<1, 9>);

} // namespace
