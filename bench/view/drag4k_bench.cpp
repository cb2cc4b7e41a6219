// A plain drag step on a 3840 x 2160 screen: the 10,000-element spread construction dragged by
// its driver, the view four times the usual area centred on the same point.
#include "generator.h"
#include "geometry/recalc.h"
#include "model/document.h"
#include "view/renderer.h"

#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace qorv;

// As the 1920 x 1080 drag step: round a small circle, about a pixel a step. (noinline:
// profilers can collect it alone)
[[gnu::noinline]] void step4K(Document& doc, Element* driver, Point2 start, double& angle,
                              Renderer& renderer, QImage& image, const RenderOptions& options) {
    angle += 0.0517;
    driver->value[0] = start.x + 20 * std::cos(angle);
    driver->value[1] = start.y + 20 * std::sin(angle);
    recalcMarked(doc);
    renderer.redraw(image, doc, options);
}

void BM_DragStep4K(benchmark::State& state) {
    constexpr int Width = 3840, Height = 2160;
    Document doc;
    Element* driver = bench::buildMixedConstruction(doc, int(state.range(0)));
    const Point2 start{driver->value[0] - 20, driver->value[1]};
    recalcUpTo(doc);
    RenderOptions options;
    options.view = ViewTransform{-Width / 2.0, Height / 2.0, 1.0};
    options.width = Width;
    options.height = Height;
    options.target = RenderTarget::MainBitmap;
    options.interacting = true;
    doc.markDescendants(driver);
    driver->mark = 1;
    Renderer renderer;
    QImage image(Width, Height, QImage::Format_RGB32);
    renderer.redraw(image, doc, options);
    double angle = 0;
    for (auto _ : state) {
        step4K(doc, driver, start, angle, renderer, image, options);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["elements"] = double(doc.elementCount());
}
BENCHMARK(BM_DragStep4K)
    ->Arg(10000)
    ->ArgName("n")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
