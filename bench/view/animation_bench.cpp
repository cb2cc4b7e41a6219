// One animation step as the editor runs it every 30 ms: the animated point moves along its
// circle, what depends on it is recalculated (a locus driven by it is resampled), the traced
// midpoint leaves its place in the trace bitmap, and the whole view (1920 x 1080) is redrawn
// into the main drawing bitmap with the traces combined over it.
#include "construction/builder.h"
#include "generator.h"
#include "geometry/animation.h"
#include "geometry/recalc.h"
#include "model/document.h"
#include "view/renderer.h"

#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

using namespace qorv;

constexpr int Width = int(bench::ViewWidth);
constexpr int Height = int(bench::ViewHeight);

void BM_AnimationStep(benchmark::State& state) {
    Document doc;
    Element* chain = bench::buildMixedConstruction(doc, 2000, bench::Layout::Spread);
    ConstructionBuilder b(doc);
    b.recalculate = true;
    b.opts.locusPoints = int(state.range(0));
    Element* centre = b.point(-300, -200);
    Element* circle = b.make(Method::CircleCentrePoint, centre, b.point(-200, -200));
    Element* runner = b.make(Method::PointOnElement, circle);
    Element* traced = b.make(Method::Midpoint, runner, chain);
    b.make(Method::Locus, traced, runner);
    recalcUpTo(doc);
    toggleAnimation(doc, runner);
    doc.traceList.push_back(traced);

    doc.left = bench::ViewLeft;
    doc.top = bench::ViewTop;
    RenderOptions options;
    options.view = ViewTransform{doc.left, doc.top, 1.0};
    options.width = Width;
    options.height = Height;
    options.target = RenderTarget::MainBitmap;
    Renderer renderer;
    QImage image(Width, Height, QImage::Format_RGB32);
    QImage trace(Width, Height, QImage::Format_RGB32);
    trace.fill(Qt::black);
    options.trace = &trace;
    RenderOptions traceOptions = options;
    traceOptions.target = RenderTarget::Trace;
    traceOptions.trace = nullptr;
    std::vector<Element*> moved;
    int recalculated = 0;

    for (auto _ : state) {
        moved.clear();
        animationStep(doc, &moved);
        doc.markDescendantsOf(moved);
        recalculated = 0;
        for (const Element* e = doc.head; e; e = e->next)
            recalculated += e->mark == 1;
        recalcMarked(doc);
        doc.clearMarks();
        {
            QPainter p(&trace);
            for (const Element* e : doc.traceList)
                renderer.drawElement(p, doc, *e, e->color, e->shape, -1, traceOptions);
        }
        renderer.redraw(image, doc, options);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["elements"] = double(doc.elementCount());
    state.counters["recalculated"] = double(recalculated);
    state.counters["samples"] = double(state.range(0));
}

BENCHMARK(BM_AnimationStep)
    ->Arg(250)
    ->Arg(1000)
    ->ArgName("locus_points")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace
