// Undo steps on large constructions: the time to record one, the time to undo one, and the memory
// a long session holds.
#include "generator.h"

#include "construction/builder.h"
#include "construction/undoredo.h"
#include "geometry/recalc.h"
#include "model/snapshot.h"
#include "model/undo.h"

#include <benchmark/benchmark.h>

namespace {

using namespace qorv;

// Every free point, the driver first.
std::vector<Element*> freePoints(Document& doc) {
    std::vector<Element*> v;
    for (Element* e = doc.head; e; e = e->next)
        if (e->method == Method::FreePoint) v.push_back(e);
    return v;
}

struct Construction {
    Document doc;
    Element* driver = nullptr;
    std::vector<Element*> points;
    explicit Construction(int n) {
        driver = bench::buildMixedConstruction(doc, n);
        recalcUpTo(doc);
        points = freePoints(doc);
    }
    void moveDriver(double d) {
        driver->value[0] += d;
        recalcUpTo(doc);
    }
    // The worst case for sharing: every position in the construction changes.
    void moveEverything(double d) {
        for (Element* p : points) {
            p->value[0] += d;
            p->value[1] -= d / 2;
        }
        recalcUpTo(doc);
    }
};

size_t fullSnapshotBytes(Document& doc) {
    return snapshotBytes({takeSnapshot(doc)});
}

// arg 0: nothing changed since the step before; 1: the driver moved; 2: every point moved.
void BM_RecordUndoStep(benchmark::State& state) {
    Construction c(int(state.range(0)));
    const int64_t change = state.range(1);
    recordUndoStep(c.doc);
    double d = 0.25;
    for (auto _ : state) {
        if (change) {
            state.PauseTiming();
            d = -d;
            if (change == 1)
                c.moveDriver(d);
            else
                c.moveEverything(d);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(recordUndoStep(c.doc));
    }
    state.counters["elements"] = double(c.doc.elementCount());
    state.counters["history_bytes"] = double(undoHistory(c.doc).bytesHeld());
    state.counters["steps"] = double(undoHistory(c.doc).count());
}
BENCHMARK(BM_RecordUndoStep)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({10000, 2})
    ->Unit(benchmark::kMicrosecond);

// Undo and redo (install and full recalculation) of one step.
void BM_UndoRedo(benchmark::State& state) {
    Construction c(int(state.range(0)));
    recordUndoStep(c.doc);
    c.moveEverything(1.5);
    for (auto _ : state) {
        benchmark::DoNotOptimize(undo(c.doc));
        benchmark::DoNotOptimize(redo(c.doc));
    }
}
BENCHMARK(BM_UndoRedo)->Arg(10000)->Unit(benchmark::kMillisecond);

// A session of 1,000 steps; the counters give the memory the history holds at the end.
// arg 0: the driver dragged at every step; 1: every point moved at every step (worst case);
// 2: a mix of drags, new elements, style changes and deletions.
void BM_UndoSessionMemory(benchmark::State& state) {
    const int64_t kind = state.range(1);
    size_t held = 0, full = 0;
    int elements = 0;
    for (auto _ : state) {
        Construction c(int(state.range(0)));
        full = fullSnapshotBytes(c.doc);
        ConstructionBuilder mk(c.doc);
        mk.recalculate = true;
        for (int step = 0; step < 1000; ++step) {
            recordUndoStep(c.doc);
            const double d = step % 2 ? 0.75 : -0.5;
            if (kind == 0) {
                c.moveDriver(d);
            } else if (kind == 1) {
                c.moveEverything(d);
            } else {
                switch (step % 5) {
                case 0:
                    c.moveDriver(d);
                    break;
                case 1:
                    c.points[size_t(step) % c.points.size()]->value[1] += d;
                    recalcUpTo(c.doc);
                    break;
                case 2:
                    mk.make(Method::Segment, c.points[size_t(step) % c.points.size()], c.driver);
                    break;
                case 3:
                    c.points[size_t(step * 7) % c.points.size()]->color = step;
                    break;
                default:
                    c.doc.deleteWithDescendants(c.doc.tail);
                    break;
                }
            }
        }
        held = undoHistory(c.doc).bytesHeld();
        elements = c.doc.elementCount();
    }
    state.counters["elements"] = double(elements);
    state.counters["full_snapshot_bytes"] = double(full);
    state.counters["history_bytes"] = double(held);
    state.counters["bytes_per_step"] = double(held) / 1000.0;
}
BENCHMARK(BM_UndoSessionMemory)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({10000, 2})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
