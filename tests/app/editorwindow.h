// A main window for the widget tests of the tools: an empty document whose world origin is in
// the middle of the drawing area, warnings dropped, the first of several elements chosen.
#pragma once

#include "app/tform1.h"
#include "construction/builder.h"
#include "view/viewtransform.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <memory>

namespace qorv::testing {

struct EditorWindow {
    TForm1 w;
    EditorWindow() {
        w.resize(1000, 760);
        w.show();
        QApplication::processEvents();
        auto doc = std::make_unique<Document>();
        doc->left = -w.canvas().drawingArea()->width() / 2;
        doc->top = w.canvas().drawingArea()->height() / 2;
        w.installDocument(std::move(doc));
        w.setMessageSink([](const QString&) {});
        w.canvas().setAmbiguityChooser([](const std::vector<Element*>&) { return 0; });
    }
    Document& doc() { return w.document(); }
    QWidget* area() { return w.canvas().drawingArea(); }
    QPoint pixel(double x, double y) {
        const ScreenPoint p = documentView(doc()).toScreen(x, y);
        return {p.x, p.y};
    }
    // A builder with the window's creation options, as its tools have.
    ConstructionBuilder build() {
        ConstructionBuilder b(doc());
        b.opts = w.creationOptions();
        return b;
    }
    void done() { w.canvas().recalculateAndRedraw(); }
    void drag(QPoint from, QPoint to, int steps, Qt::MouseButton b = Qt::LeftButton,
              Qt::KeyboardModifiers mods = {}) {
        QTest::mousePress(area(), b, mods, from);
        for (int i = 1; i <= steps; ++i)
            QTest::mouseMove(area(), from + (to - from) * i / steps);
        QTest::mouseRelease(area(), b, mods, to);
    }
    // What the user sees now.
    QImage shot() { return area()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

} // namespace qorv::testing
