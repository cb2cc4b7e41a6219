// A free point dragged through the real main window, next to the engine's drag step on the same
// document and view. The window frame is one mouse move delivered to the drawing area and the
// paint that follows (the events processed), which draws the frame straight onto the window's
// pixels; the engine step is what the drawing area runs
// beneath it: the drag engine moves the point, its marked descendants are recalculated and the
// main bitmap is drawn again (only the moving elements over the still layer when the layers
// serve, as the canvas does). The documents are the drag benchmarks' blocks (2,000 and 10,000
// elements, spread), dragged by the chain's first point, which moves every block; the drawing
// area is 1920 x 1080.
#include "app/drawingcanvas.h"
#include "app/tform1.h"
#include "generator.h"
#include "geometry/recalc.h"
#include "model/document.h"
#include "settings/registry.h"
#include "view/dragengine.h"
#include "view/draglayers.h"
#include "view/renderer.h"
#include "view/viewtransform.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace {

using namespace qorv;

constexpr int AreaWidth = 1920, AreaHeight = 1080;

// The construction with the view centred on its driver, which the pointer circles (radius 20
// pixels, about a pixel per step) so that the measurements change at every step.
struct Scene {
    std::unique_ptr<Document> doc = std::make_unique<Document>();
    Element* driver = nullptr;
    explicit Scene(int elements) {
        driver = bench::buildMixedConstruction(*doc, elements);
        recalcUpTo(*doc);
        doc->left = driver->value[0] - AreaWidth / 2.0;
        doc->top = driver->value[1] + AreaHeight / 2.0;
    }
    // The pointer's place at step `angle`, in pixels of the drawing area.
    static QPointF pointer(double angle) {
        return {AreaWidth / 2.0 + 20 * std::cos(angle), AreaHeight / 2.0 - 20 * std::sin(angle)};
    }
};

void sendMouse(QWidget* area, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
    QMouseEvent event(type, at, area->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(area, &event);
}

// One frame as the user gets it: the mouse move, then the paint. Not inlined, so that profilers
// (callgrind --toggle-collect) can count it alone.
[[gnu::noinline]] void windowFrame(QWidget* area, double angle) {
    sendMouse(area, QEvent::MouseMove, Scene::pointer(angle), Qt::LeftButton);
    QApplication::processEvents();
}

void BM_WindowDragFrame(benchmark::State& state) {
    registry::open()->clear();
    Scene scene(int(state.range(0)));
    TForm1 w;
    w.prompts().setMessageSink([](const QString&) {});
    w.canvas().setAmbiguityChooser([](const std::vector<Element*>&) { return 0; });
    w.show();
    // The window grows until its drawing area has the benchmark's size.
    for (int i = 0; i < 3; ++i) {
        QApplication::processEvents();
        const QSize area = w.canvas().drawingArea()->size();
        w.resize(w.size() + QSize(AreaWidth, AreaHeight) - area);
    }
    QApplication::processEvents();
    Document* doc = scene.doc.get();
    Element* driver = scene.driver;
    w.documents().installDocument(std::move(scene.doc));
    QApplication::processEvents();
    QWidget* area = w.canvas().drawingArea();
    if (area->size() != QSize(AreaWidth, AreaHeight)) {
        state.SkipWithError("the drawing area did not take the benchmark's size");
        return;
    }
    // The press on the point, then the pointer circles where it was.
    double angle = 0;
    sendMouse(area, QEvent::MouseButtonPress, QPointF(AreaWidth / 2.0, AreaHeight / 2.0),
              Qt::LeftButton);
    const double startX = driver->value[0];
    // The first move starts the drag (one undo step, the descendants marked): not a frame of it.
    sendMouse(area, QEvent::MouseMove, Scene::pointer(angle), Qt::LeftButton);
    QApplication::processEvents();
    for (auto _ : state) {
        angle += 0.0517;
        windowFrame(area, angle);
    }
    const bool moved = driver->value[0] != startX;
    sendMouse(area, QEvent::MouseButtonRelease, Scene::pointer(angle), Qt::NoButton);
    QApplication::processEvents();
    if (!moved || &w.document() != doc) state.SkipWithError("the point was not dragged");
    state.counters["elements"] = double(doc->elementCount());
    // The share of frames drawn straight onto the window (the others were copied from the bitmap).
    state.counters["onto window"] =
        double(w.canvas().windowFrames()) / double(std::max<int64_t>(1, state.iterations()));
    registry::open()->clear();
}

struct EngineScene {
    Renderer renderer;
    QImage image{AreaWidth, AreaHeight, QImage::Format_RGB32};
    RenderOptions o;
    DragLayers layers;
    DragEngine drag;
};

// What the drawing area runs under one frame.
[[gnu::noinline]] void engineStep(EngineScene& s, Document& doc, Point2 pointer) {
    s.drag.move(doc, pointer);
    s.drag.recalculate(doc);
    if (!s.layers.draw(s.renderer, s.image, doc, s.o)) s.renderer.redraw(s.image, doc, s.o);
}

void BM_EngineDragStep(benchmark::State& state) {
    Scene scene(int(state.range(0)));
    Document& doc = *scene.doc;
    const ViewTransform view = documentView(doc);
    EngineScene s;
    s.o.view = view;
    s.o.width = AreaWidth;
    s.o.height = AreaHeight;
    s.o.interacting = true;
    s.renderer.redraw(s.image, doc, s.o); // the frame before the drag
    double angle = 0;
    auto world = [&](double a) {
        const QPointF p = Scene::pointer(a);
        return view.toWorld(p.x(), p.y());
    };
    s.drag.begin(doc, scene.driver, view.toWorld(AreaWidth / 2.0, AreaHeight / 2.0), false);
    for (auto _ : state) {
        angle += 0.0517;
        engineStep(s, doc, world(angle));
        benchmark::DoNotOptimize(s.image.constBits());
    }
    state.counters["elements"] = double(doc.elementCount());
}

void arguments(benchmark::internal::Benchmark* b) {
    b->Arg(2000)->Arg(10000)->ArgName("n")->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_EngineDragStep)->Apply(arguments);
BENCHMARK(BM_WindowDragFrame)->Apply(arguments);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's settings and options go to a home of this process's own.
    QTemporaryDir home;
    if (home.isValid()) qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
