// Drawing 10,000 elements into a 1920 x 1080 image: the plain path, the antialiased path, with
// everything on screen or spread over the plane, and a drag step (one free point moved, then
// everything redrawn).
#include "construction/builder.h"
#include "view/renderer.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

using namespace qorv;

constexpr int Width = 1920;
constexpr int Height = 1080;

// A construction of about `count` list elements spread over a view of 1920 x 1080 (and a
// margin around it), with the numbers recalculation would give them: points, segments, lines,
// rays, vectors, circles, triangles, arcs, angles and measurements.
struct Construction : OwningBuilder {
    std::mt19937 rng{12345};
    Element* firstFree = nullptr;

    double spread = 100; // how far beyond the view the construction reaches
    double rx() { return std::uniform_real_distribution<double>(-spread, Width + spread)(rng); }
    double ry() { return std::uniform_real_distribution<double>(-Height - spread, spread)(rng); }

    Element* point() {
        const double x = rx();
        Element* e = OwningBuilder::point(x, ry());
        if (!firstFree) firstFree = e;
        return e;
    }
    Element* two(ConstructionMethod m, Element* a, Element* b) {
        Element* e = make(m, a, b);
        e->value[0] = a->value[0], e->value[1] = a->value[1];
        e->value[2] = b->value[0], e->value[3] = b->value[1];
        return e;
    }

    explicit Construction(int count, double reach = 100) : spread(reach) {
        doc.left = 0;
        doc.top = 0;
        while (doc.elementCount() < count) {
            Element* a = point();
            Element* b = point();
            Element* c = point();
            // Nearby points make shapes of a sensible size.
            b->value[0] = a->value[0] + 60, b->value[1] = a->value[1] + 25;
            c->value[0] = a->value[0] + 20, c->value[1] = a->value[1] - 50;
            two(Method::Segment, a, b);
            two(Method::Segment, b, c);
            Element* circle = two(Method::CircleCentrePoint, a, c);
            if (doc.elementCount() % 3 == 0) circle->option = rgb(20, 40, 80);
            two(Method::Vector, c, b);
            if (doc.elementCount() % 4 == 0) two(Method::LineThroughTwoPoints, a, b);
            if (doc.elementCount() % 5 == 0) two(Method::RayThroughTwoPoints, c, a);
            Element* poly = make(Method::Polygon, nullptr, nullptr, nullptr, {a, b, c});
            auto* t = poly->tailAs<PolygonTail>();
            for (size_t i = 0; i < 3; ++i) {
                Element* s = t->sides[i].get();
                s->value[0] = s->parent1->value[0], s->value[1] = s->parent1->value[1];
                s->value[2] = s->parent2->value[0], s->value[3] = s->parent2->value[1];
            }
            Element* angle = make(Method::Angle, b, a, c);
            angle->value[0] = 1.0;
            angle->value[2] = 12;
            Element* arc = make(Method::ArcThreePoints, a, b, c);
            arc->value[0] = a->value[0] + 30, arc->value[1] = a->value[1] - 10;
            arc->value[2] = b->value[0], arc->value[3] = b->value[1];
            arc->option = 1;
            Element* m = two(Method::DistancePointPoint, a, b);
            m->value[0] = 1.625;
            m->value[2] = a->value[0] + 10, m->value[3] = a->value[1] + 20;
        }
    }
};

RenderOptions options(const Document& doc, bool aa) {
    RenderOptions o;
    o.view = ViewTransform{doc.left, doc.top, 1.0};
    o.width = Width;
    o.height = Height;
    o.antialiased = aa;
    return o;
}

void drawAll(benchmark::State& state, bool aa, double spread = 100) {
    Construction c(int(state.range(0)), spread);
    Renderer renderer;
    QImage image(Width, Height, QImage::Format_RGB32);
    const RenderOptions o = options(c.doc, aa);
    for (auto _ : state) {
        renderer.redraw(image, c.doc, o);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["elements"] = double(c.doc.elementCount());
}

void BM_RedrawPlain(benchmark::State& state) {
    drawAll(state, false);
}
void BM_RedrawAntialiased(benchmark::State& state) {
    drawAll(state, true);
}
// The same number of elements spread over a 4000-pixel plane: most are culled.
void BM_RedrawSpreadPlain(benchmark::State& state) {
    drawAll(state, false, 1500);
}
void BM_RedrawSpreadAntialiased(benchmark::State& state) {
    drawAll(state, true, 1500);
}

// One step of a drag: a free point moves one pixel, everything is redrawn.
void BM_DragStepPlain(benchmark::State& state) {
    Construction c(int(state.range(0)));
    Renderer renderer;
    QImage image(Width, Height, QImage::Format_RGB32);
    RenderOptions o = options(c.doc, false);
    o.interacting = true;
    double dx = 1;
    for (auto _ : state) {
        c.firstFree->value[0] += dx;
        dx = -dx;
        renderer.redraw(image, c.doc, o);
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(BM_RedrawPlain)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawAntialiased)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawSpreadPlain)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RedrawSpreadAntialiased)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DragStepPlain)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
