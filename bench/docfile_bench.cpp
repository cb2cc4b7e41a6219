// Writing and reading a large document (100,000 elements).
#include "construction/builder.h"
#include "construction/create.h"
#include "generator.h"
#include "geometry/recalc.h"
#include "model/docfile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace qorv;

// Points, segments joining consecutive points, midpoints of those and a name every 100.
void buildLargeDocument(Document& doc, int elements) {
    ConstructionBuilder mk(doc);
    Element* previous = nullptr;
    int names = 0;
    for (int i = 0; mk.made + names < elements; ++i) {
        Element* p = mk.point(i, i % 17);
        if (previous) mk.make(Method::PointOnElement, mk.make(Method::Segment, previous, p));
        if (i % 100 == 0) {
            setName(doc, p, "P" + std::to_string(i), mk.opts);
            ++names;
        }
        previous = p;
    }
}

Document& largeDocument() {
    static Document doc;
    if (!doc.head) buildLargeDocument(doc, 100000);
    return doc;
}

void BM_EncodeDocument(benchmark::State& state) {
    Document& doc = largeDocument();
    size_t bytes = 0;
    for (auto _ : state) {
        auto data = encodeDocument(doc);
        bytes = data.size();
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
}
BENCHMARK(BM_EncodeDocument)->Unit(benchmark::kMillisecond);

void BM_ReadDocument(benchmark::State& state) {
    const auto data = encodeDocument(largeDocument());
    for (auto _ : state) {
        Document doc;
        const ReadResult r = readDocumentData(doc, data.data(), data.size(), FileType::Document);
        if (r.kind != FileKind::Document) state.SkipWithError("the document was refused");
        benchmark::DoNotOptimize(doc.head);
    }
    state.SetBytesProcessed(int64_t(data.size()) * state.iterations());
}
BENCHMARK(BM_ReadDocument)->Unit(benchmark::kMillisecond);

void BM_SaveAndReadFile(benchmark::State& state) {
    const auto path = (std::filesystem::temp_directory_path() / "qorv-bench.qrv").string();
    Document& doc = largeDocument();
    for (auto _ : state) {
        if (!saveDocument(doc, path)) state.SkipWithError("saving failed");
        Document read;
        if (readDocumentFile(read, path, FileType::Document).kind != FileKind::Document)
            state.SkipWithError("reading failed");
        benchmark::DoNotOptimize(read.head);
    }
    std::error_code ec;
    std::filesystem::remove(path, ec);
}
BENCHMARK(BM_SaveAndReadFile)->Unit(benchmark::kMillisecond);

// The mixed construction of the drawing benchmarks, 100,000 elements, written to a file once.
struct MixedFile {
    Document doc;
    std::string path = (std::filesystem::temp_directory_path() / "qorv-bench-mixed.qrv").string();
    bool saved = false;
    MixedFile() {
        bench::buildMixedConstruction(doc, 100000);
        recalcUpTo(doc);
        saved = saveDocument(doc, path);
    }
    ~MixedFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

MixedFile& mixedFile() {
    static MixedFile file;
    return file;
}

// What opening a document costs before it is drawn: reading the file and the full pass.
void BM_ReadAndRecalculateMixed(benchmark::State& state) {
    MixedFile& file = mixedFile();
    if (!file.saved) state.SkipWithError("saving failed");
    for (auto _ : state) {
        Document doc;
        const int kind = readDocumentFile(doc, file.path, FileType::Document).kind;
        if (kind != FileKind::Document && kind != FileKind::DocumentWithWindow) {
            state.SkipWithError("reading failed");
            break;
        }
        recalcUpTo(doc);
        benchmark::DoNotOptimize(doc.tail->value[0]);
    }
}
BENCHMARK(BM_ReadAndRecalculateMixed)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void BM_SaveMixed(benchmark::State& state) {
    MixedFile& file = mixedFile();
    for (auto _ : state)
        if (!saveDocument(file.doc, file.path)) state.SkipWithError("saving failed");
}
BENCHMARK(BM_SaveMixed)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

// Saving first removes the internal elements nothing uses: n unused internal points, half of them
// each carrying an unused internal midpoint, before one visible point.
void BM_RemoveUnusedInternal(benchmark::State& state) {
    const int n = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Document doc;
        ConstructionBuilder mk(doc);
        for (int i = 0; i < n; ++i) {
            Element* p = mk.point(i % 200, i / 200);
            p->visible = Internal;
            if (i % 2 == 1) mk.make(Method::Midpoint, p, doc.tail->prev)->visible = Internal;
        }
        mk.point(0, 0);
        state.ResumeTiming();
        removeUnusedInternalElements(doc);
        if (doc.elementCount() != 1) state.SkipWithError("the wrong elements were removed");
    }
}
BENCHMARK(BM_RemoveUnusedInternal)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond);

} // namespace
