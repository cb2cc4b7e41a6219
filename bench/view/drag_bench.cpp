// One step of a drag, as the editor runs it on every mouse move: the dragged free point moves,
// its marked descendants are recalculated, and the view (1920 x 1080) is drawn again into the
// main drawing bitmap: in full, or (layered) only the moving elements over the still layer made
// at the first step. The descendants are marked once, before the drag.
#include "construction/builder.h"
#include "generator.h"
#include "geometry/recalc.h"
#include "model/document.h"
#include "view/dragengine.h"
#include "view/draglayers.h"
#include "view/renderer.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace qorv;

constexpr int Width = int(bench::ViewWidth);
constexpr int Height = int(bench::ViewHeight);

struct DragScene {
    Document doc;
    Element* driver = nullptr;
    Renderer renderer;
    QImage image{Width, Height, QImage::Format_RGB32};
    RenderOptions options;
    DragLayers layers;
    bool layered = false;
    int marked = 0;

    DragScene(int elements, bench::Layout layout, bool aa, bool layers = false,
              Element* (*pick)(Document&) = nullptr)
        : layered(layers) {
        driver = bench::buildMixedConstruction(doc, elements, layout);
        if (pick) driver = pick(doc);
        start = {driver->value[0] - 20, driver->value[1]};
        recalcUpTo(doc);
        doc.left = bench::ViewLeft;
        doc.top = bench::ViewTop;
        options.view = ViewTransform{doc.left, doc.top, 1.0};
        options.width = Width;
        options.height = Height;
        options.target = RenderTarget::MainBitmap;
        options.antialiased = aa;
        options.interacting = true; // no selection highlights while dragging
        doc.markDescendants(driver);
        driver->mark = 1;
        for (const Element* e = doc.head; e; e = e->next)
            marked += e->mark == 1;
        renderer.redraw(image, doc, options); // the frame before the drag
    }

    // The pointer circles the driver's first position (radius 20 pixels, about a pixel per
    // step, never twice at the same place), so measurements change on every step as they do
    // under a real mouse and the construction stays in view.
    [[gnu::noinline]] void step() { // noinline: profilers can collect it alone
        angle += 0.0517;
        driver->value[0] = start.x + 20 * std::cos(angle);
        driver->value[1] = start.y + 20 * std::sin(angle);
        recalcMarked(doc);
        draw();
    }
    void draw() {
        if (!layered || !layers.draw(renderer, image, doc, options))
            renderer.redraw(image, doc, options);
    }
    Point2 start;
    double angle = 0;
};

void dragStep(benchmark::State& state, bool aa) {
    DragScene s(int(state.range(0)), bench::Layout(state.range(1)), aa);
    for (auto _ : state) {
        s.step();
        benchmark::DoNotOptimize(s.image.constBits());
    }
    state.counters["elements"] = double(s.doc.elementCount());
    state.counters["marked"] = double(s.marked);
}

void BM_DragStep(benchmark::State& state) {
    dragStep(state, false);
}
void BM_DragStepAA(benchmark::State& state) {
    dragStep(state, true);
}

// Arguments: element count, layout (0 spread, 1 dense).
void dragArguments(benchmark::internal::Benchmark* b) {
    for (int layout : {0, 1})
        for (int n : {2000, 10000})
            b->Args({n, layout});
    b->ArgNames({"n", "dense"});
    b->Unit(benchmark::kMillisecond);
    b->UseRealTime(); // the drawing shares its bands with a second thread
    b->Repetitions(9);
    b->ReportAggregatesOnly(true);
}

BENCHMARK(BM_DragStep)->Apply(dragArguments);
BENCHMARK(BM_DragStepAA)->Apply(dragArguments);

// The visible free point nearest the view's centre that is not a step of the chain: in the
// generator's blocks such a point has about twenty descendants.
Element* localPoint(Document& doc) {
    Element* best = nullptr;
    double bestDistance = 1e300;
    for (Element* e = doc.head; e; e = e->next) {
        if (e->method != Method::FreePoint || e->visible != 1) continue;
        const double d = std::hypot(e->value[0], e->value[1]);
        if (d < bestDistance) best = e, bestDistance = d;
    }
    return best;
}

// A local drag: a free point with about twenty descendants in a 100,000-element construction.
// Each step runs as in the editor: the drag engine moves the point (its descendants are marked at
// the first step), the marked elements are recalculated and the view is drawn (in full, or
// layered).
void BM_LocalDragStep(benchmark::State& state) {
    const bool aa = state.range(0) != 0, layered = state.range(1) != 0;
    DragScene s(100000, bench::Layout::Spread, aa, layered, localPoint);
    DragEngine drag;
    drag.begin(s.doc, s.driver, {s.start.x + 20, s.start.y}, false);
    for (auto _ : state) {
        s.angle += 0.0517;
        drag.move(s.doc, {s.start.x + 20 * std::cos(s.angle), s.start.y + 20 * std::sin(s.angle)});
        drag.recalculate(s.doc);
        s.draw();
        benchmark::DoNotOptimize(s.image.constBits());
    }
    state.counters["elements"] = double(s.doc.elementCount());
    state.counters["marked"] = double(s.marked);
}
BENCHMARK(BM_LocalDragStep)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"aa", "layered"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The 2,000-element construction with five loci of 1,000 samples: the midpoints of the dragged
// point and of a point running round a circle of their own. Dragging that point moves every
// locus (each resamples at every step); dragging one locus's own driver changes no locus (it
// keeps its samples until the drag ends).
void BM_DragStepLoci(benchmark::State& state) {
    DragScene s(2000, bench::Layout::Spread, false);
    ConstructionBuilder b(s.doc);
    b.recalculate = true;
    b.opts.locusPoints = 1000;
    Element* ownDriver = nullptr;
    for (int k = 0; k < 5; ++k) {
        Element* centre = b.point(-700 + 300 * k, -300);
        Element* circle = b.make(Method::CircleCentrePoint, centre, b.point(-640 + 300 * k, -300));
        b.req.value[3] = 0.1 * k;
        Element* d = b.make(Method::PointOnElement, circle);
        b.make(Method::Locus, b.make(Method::Midpoint, d, s.driver), d);
        ownDriver = d;
    }
    recalcUpTo(s.doc);
    const bool resample = state.range(0) != 0;
    if (!resample) {
        s.doc.markDescendants(ownDriver);
        ownDriver->mark = 1;
        s.doc.dragged = ownDriver;
    } else {
        s.doc.markDescendants(s.driver);
        s.driver->mark = 1;
    }
    for (auto _ : state) {
        if (resample) {
            s.step();
        } else {
            ownDriver->value[3] += 0.01;
            recalcMarked(s.doc);
            s.renderer.redraw(s.image, s.doc, s.options);
        }
        benchmark::DoNotOptimize(s.image.constBits());
    }
}
BENCHMARK(BM_DragStepLoci)
    ->Arg(1)
    ->Arg(0)
    ->ArgName("resample")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
