// One mouse-move step of a drag with the move tool: the dragged free point follows the pointer,
// its descendants are marked and recalculated, and the whole drawing is redrawn at 1920 x 1080.
#include "generator.h"

#include "geometry/recalc.h"
#include "model/document.h"
#include "view/dragengine.h"
#include "view/renderer.h"

#include <QImage>
#include <benchmark/benchmark.h>

namespace {

using namespace qorv;

void BM_ToolDragStep(benchmark::State& state) {
    Document doc;
    Element* driver = bench::buildMixedConstruction(doc, int(state.range(0)));
    recalcUpTo(doc);
    constexpr int Width = 1920, Height = 1080;
    doc.left = -Width / 2;
    doc.top = Height / 2;
    Renderer renderer;
    QImage image(Width, Height, QImage::Format_RGB32);
    RenderOptions o;
    o.view = documentView(doc);
    o.width = Width;
    o.height = Height;
    o.interacting = true;
    DragEngine drag;
    const Point2 start{driver->value[0], driver->value[1]};
    drag.begin(doc, driver, start, false);
    int64_t marked = 0;
    double dx = 1;
    for (auto _ : state) {
        drag.move(doc, {start.x + dx, start.y});
        dx = -dx;
        recalcMarked(doc);
        renderer.redraw(image, doc, o);
        benchmark::DoNotOptimize(image.constBits());
    }
    for (Element* e = doc.head; e; e = e->next)
        marked += e->mark == 1;
    state.counters["elements"] = double(doc.elementCount());
    state.counters["recalculated"] = double(marked);
}

BENCHMARK(BM_ToolDragStep)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
