// A stand-in for the main window in tests of the tool modes: a document seen through a view
// whose top-left pixel is world (-300, 200) on a 600 x 400 area, so world (x, y) is pixel
// (x + 300, 200 - y). It counts undo steps and passes, and remembers what the hover showed.
#pragma once

#include "geometry/recalc.h"
#include "model/document.h"
#include "view/interaction.h"

#include <map>
#include <vector>

namespace qorv::test {

class ToolHost : public InteractionHost {
  public:
    Document doc;
    CreationOptions opts;
    int width = 600, height = 400;
    double plane = 4000;
    bool hidden = false;
    int undoSteps = 0, fullPasses = 0, markedPasses = 0, redraws = 0, viewChanges = 0;
    int scrolledX = 0, scrolledY = 0;
    int chosenIndex = 0; // what the ambiguity menu answers
    int menus = 0;
    size_t lastMenuSize = 0;
    int cursor = 0;
    std::string status;
    HoverFeedback hover;
    std::map<const Element*, PixelBox> boxes;
    bool timerRunning = false;
    std::vector<std::pair<int, Element*>> dialogs;

    ToolHost() {
        doc.left = -300;
        doc.top = 200;
    }

    // Construction helpers: elements are recalculated as they are made.
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
    Element* two(ConstructionMethod m, Element* a, Element* b) {
        ElementRequest r;
        r.method = m;
        r.parent1 = a;
        r.parent2 = b;
        return make(r);
    }
    Element* line(double x1, double y1, double x2, double y2, bool hidePoints = true) {
        Element* a = point(x1, y1);
        Element* b = point(x2, y2);
        if (hidePoints) a->visible = b->visible = 0;
        return two(Method::LineThroughTwoPoints, a, b);
    }
    static ScreenPoint pixel(double x, double y) { return {int(x + 300), int(200 - y)}; }
    int count(ConstructionMethod m) const {
        int n = 0;
        for (const Element* e = doc.head; e; e = e->next)
            n += e->method == m;
        return n;
    }
    Element* last() const { return doc.tail; }

    // InteractionHost.
    Document& document() override { return doc; }
    ViewTransform view() override { return documentView(doc); }
    int areaWidth() override { return width; }
    int areaHeight() override { return height; }
    double planeSize() override { return plane; }
    bool showHidden() override { return hidden; }
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
        ++fullPasses;
        recalcUpTo(doc);
    }
    void recalculateMarkedAndRedraw() override {
        ++markedPasses;
        recalcMarked(doc);
    }
    void redraw() override { ++redraws; }
    void viewOriginChanged() override { ++viewChanges; }
    void scrollBy(int h, int v) override {
        scrolledX += h;
        scrolledY += v;
    }
    void setStatusText(const std::string& t) override { status = t; }
    void setCursorNumber(int c) override { cursor = c; }
    void showHover(const HoverFeedback& f) override { hover = f; }
    int chooseAmong(const std::vector<Element*>& list, ScreenPoint) override {
        ++menus;
        lastMenuSize = list.size();
        return chosenIndex;
    }
    void toolChosen(int) override {}
    void startButtonTimer() override { timerRunning = true; }
    bool buttonTimerRunning() override { return timerRunning; }
    void openElementDialog(int tool, Element& e) override { dialogs.push_back({tool, &e}); }
};

} // namespace qorv::test
