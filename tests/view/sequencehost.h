// A stand-in for the main window in tests of the tool sequences: a document seen on a 600 x 400
// area whose top-left pixel is world (-300, 200), so world (x, y) is pixel (x + 300, 200 - y)
// and integral world points are clicked exactly. It counts undo steps and keeps the messages.
#pragma once

#include "geometry/recalc.h"
#include "model/document.h"
#include "view/interaction.h"

#include <functional>
#include <map>
#include <vector>

namespace qorv::test {

class ClickHost : public InteractionHost {
  public:
    Document doc;
    CreationOptions opts;
    int undoSteps = 0;
    std::vector<int> messages;
    std::map<const Element*, PixelBox> boxes;
    std::function<bool(FontRecord&)> fontDialog;
    int fontDialogs = 0;
    Interaction in{*this};

    ClickHost() {
        doc.left = -300;
        doc.top = 200;
    }

    // ---- building without the tools
    Element* make(ElementRequest& r) {
        Element* e = createElement(doc, r, opts);
        recalcElement(doc, *e);
        return e;
    }
    Element* point(double x, double y) {
        ElementRequest r;
        r.method = Method::FreePoint;
        r.value[0] = x;
        r.value[1] = y;
        return make(r);
    }
    Element* two(ConstructionMethod m, Element* a, Element* b, Element* c = nullptr) {
        ElementRequest r;
        r.method = m;
        r.parent1 = a;
        r.parent2 = b;
        r.parent3 = c;
        return make(r);
    }

    // ---- driving the tools
    static ScreenPoint pixel(double x, double y) { return {int(x + 300), int(200 - y)}; }
    void tool(int t) { in.chooseTool(t); }
    void click(double x, double y, int modifiers = 0) {
        in.mouseMove(pixel(x, y), false, false, modifiers);
        in.mousePress(pixel(x, y), MouseButton::Left, modifiers);
        in.mouseRelease(pixel(x, y), MouseButton::Left, modifiers);
    }
    void doubleClick(double x, double y) {
        click(x, y);
        in.doubleClick(pixel(x, y), MouseButton::Left, 0);
        in.mouseRelease(pixel(x, y), MouseButton::Left, 0);
    }
    void hover(double x, double y) { in.mouseMove(pixel(x, y), false, false, 0); }
    // Gives a text-like element a box of 40 x 16 pixels with its top-left at world (x, y).
    void box(const Element* e, double x, double y) {
        const ScreenPoint p = pixel(x, y);
        boxes[e] = PixelBox{double(p.x), double(p.y), 40, 16};
    }

    // ---- queries
    int count(ConstructionMethod m) const {
        int n = 0;
        for (const Element* e = doc.head; e; e = e->next)
            n += e->method == m;
        return n;
    }
    int size() const { return doc.elementCount(); }
    Element* last() const { return doc.tail; }
    // The n-th element from the end (0 = the tail).
    Element* fromEnd(int n) const {
        Element* e = doc.tail;
        while (e && n-- > 0)
            e = e->prev;
        return e;
    }

    // ---- InteractionHost
    Document& document() override { return doc; }
    ViewTransform view() override { return documentView(doc); }
    int areaWidth() override { return 600; }
    int areaHeight() override { return 400; }
    double planeSize() override { return 4000; }
    bool showHidden() override { return false; }
    const CreationOptions& creationOptions() override { return opts; }
    bool elementBox(const Element& e, PixelBox& b) override {
        auto it = boxes.find(&e);
        if (it == boxes.end()) return false;
        b = it->second;
        return true;
    }
    void recordUndoStep() override {
        ++undoSteps;
        doc.modified = 1;
    }
    void recalculateAndRedraw() override {
        recalcUpTo(doc);
        // The window's drawing shows the picked elements: they must still exist.
        for (const Element* e : in.engine().picked()) drawnPicked += e->defined;
    }
    int drawnPicked = 0;
    void recalculateMarkedAndRedraw() override { recalcMarked(doc); }
    void redraw() override {}
    void viewOriginChanged() override {}
    void scrollBy(int, int) override {}
    void setStatusText(const std::string&) override {}
    void setCursorNumber(int) override {}
    void showHover(const HoverFeedback&) override {}
    int chooseAmong(const std::vector<Element*>&, ScreenPoint) override { return 0; }
    void toolChosen(int) override {}
    void startButtonTimer() override {}
    bool buttonTimerRunning() override { return false; }
    void showMessage(int slot) override { messages.push_back(slot); }
    bool chooseFont(FontRecord& f) override {
        ++fontDialogs;
        return fontDialog && fontDialog(f);
    }
};

} // namespace qorv::test
