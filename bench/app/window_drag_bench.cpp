// A free point dragged through the real main window, next to the engine's drag step on the same
// document and view. The window frame is one mouse move delivered to the drawing area and the
// paint that follows (the events processed); the engine step is what the drawing area runs
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

void BM_WindowDragFrame(benchmark::State& state) {
    registry::open()->clear();
    Scene scene(int(state.range(0)));
    TForm1 w;
    w.setMessageSink([](const QString&) {});
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
    w.installDocument(std::move(scene.doc));
    QApplication::processEvents();
    QWidget* area = w.canvas().drawingArea();
    if (area->size() != QSize(AreaWidth, AreaHeight)) {
        state.SkipWithError("the drawing area did not take the benchmark's size");
        return;
    }
    double angle = 0;
    sendMouse(area, QEvent::MouseButtonPress, Scene::pointer(angle), Qt::LeftButton);
    const double startX = driver->value[0];
    for (auto _ : state) {
        angle += 0.0517;
        sendMouse(area, QEvent::MouseMove, Scene::pointer(angle), Qt::LeftButton);
        QApplication::processEvents(); // the paint
    }
    const bool moved = driver->value[0] != startX;
    sendMouse(area, QEvent::MouseButtonRelease, Scene::pointer(angle), Qt::NoButton);
    QApplication::processEvents();
    if (!moved || &w.document() != doc) state.SkipWithError("the point was not dragged");
    int marked = 0;
    for (const Element* e = doc->head; e; e = e->next)
        marked += e->mark == 1;
    state.counters["elements"] = double(doc->elementCount());
    registry::open()->clear();
}

void BM_EngineDragStep(benchmark::State& state) {
    Scene scene(int(state.range(0)));
    Document& doc = *scene.doc;
    const ViewTransform view = documentView(doc);
    Renderer renderer;
    QImage image(AreaWidth, AreaHeight, QImage::Format_RGB32);
    RenderOptions o;
    o.view = view;
    o.width = AreaWidth;
    o.height = AreaHeight;
    o.interacting = true;
    renderer.redraw(image, doc, o); // the frame before the drag
    DragLayers layers;
    DragEngine drag;
    double angle = 0;
    auto world = [&](double a) {
        const QPointF p = Scene::pointer(a);
        return view.toWorld(p.x(), p.y());
    };
    drag.begin(doc, scene.driver, world(angle), false);
    for (auto _ : state) {
        angle += 0.0517;
        drag.move(doc, world(angle));
        drag.recalculate(doc);
        if (!layers.draw(renderer, image, doc, o)) renderer.redraw(image, doc, o);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["elements"] = double(doc.elementCount());
}

void arguments(benchmark::internal::Benchmark* b) {
    b->Arg(2000)->Arg(10000)->ArgName("n")->Unit(benchmark::kMillisecond);
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
