// A Sierpinski-like tree iteration at its limit: a point A, K corners, K midpoints of A and a
// corner as the destination lists, and a segment from A to the first midpoint. Each copy draws
// its midpoints and its segment: K = 2 gives 15 levels (65,534 copies), K = 3 gives 9 levels
// (29,523 copies). Timed: a redraw of the whole drawing, and a drag step of a corner (the
// iteration's private copy made again, then the redraw).
#include "construction/builder.h"
#include "construction/create.h"
#include "geometry/iteration.h"
#include "model/iteration.h"
#include "view/renderer.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

namespace {

using namespace qorv;

constexpr int Width = 1920;
constexpr int Height = 1080;

struct Tree : OwningBuilder {
    Element* iteration = nullptr;
    Element* corner = nullptr;

    explicit Tree(int k) {
        recalculate = true;
        doc.left = 0;
        doc.top = 0;
        Element* a = point(960, -540);
        IterationWorkspace ws;
        ws.reset();
        ws.choose(0);
        ws.toggle(a);
        Element* firstMid = nullptr;
        for (int j = 0; j < k; ++j) {
            const double t = 2 * std::numbers::pi * j / k + std::numbers::pi / 2;
            Element* c = point(960 + 500 * std::cos(t), -540 + 500 * std::sin(t));
            if (!corner) corner = c;
            Element* m = make(Method::Midpoint, a, c);
            if (!firstMid) firstMid = m;
            ws.addDestination();
            ws.toggle(m);
        }
        make(Method::Segment, a, firstMid);
        ws.pendingIterations = 1000000; // the limit decides
        iteration = createIteration(doc, ws, opts);
        recalcUpTo(doc);
    }
};

RenderOptions options() {
    RenderOptions o;
    o.view = ViewTransform{0, 0, 1.0};
    o.width = Width;
    o.height = Height;
    return o;
}

void BM_IterationTreeRedraw(benchmark::State& state) {
    Tree tree(int(state.range(0)));
    Renderer renderer;
    QImage image(Width, Height, QImage::Format_RGB32);
    const RenderOptions o = options();
    for (auto _ : state) {
        renderer.redraw(image, tree.doc, o);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["copies"] = double(walkIteration(tree.doc, *tree.iteration, nullptr));
}

void BM_IterationTreeDragStep(benchmark::State& state) {
    Tree tree(int(state.range(0)));
    Renderer renderer;
    QImage image(Width, Height, QImage::Format_RGB32);
    RenderOptions o = options();
    o.interacting = true;
    tree.doc.markDescendants(tree.corner);
    double dx = 1;
    for (auto _ : state) {
        tree.corner->value[0] += dx;
        dx = -dx;
        recalcMarked(tree.doc);
        renderer.redraw(image, tree.doc, o);
        benchmark::DoNotOptimize(image.constBits());
    }
    tree.doc.clearMarks();
}

BENCHMARK(BM_IterationTreeRedraw)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_IterationTreeDragStep)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
