// A stand-in for the main window in tests of the tool modes: a document seen on a 600 x 400 area
// whose top-left pixel is world (-300, 200), so world (x, y) is pixel (x + 300, 200 - y) and
// integral world points are clicked exactly. It counts undo steps, passes and redraws, and keeps
// what the window would show: messages, hover feedback, status text, cursor and dialogs.
#pragma once

#include "construction/builder.h"
#include "view/interaction.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace qorv::test {

// Elements built directly are recalculated as they are made, as the tools do.
class ToolHost : public DocumentHolder,
                 public ConstructionBuilder,
                 public InteractionHost,
                 public ToolRequests {
  public:
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
    HoverFeedback feedback; // what the hover showed last
    std::map<const Element*, PixelBox> boxes;
    bool timerRunning = false;
    std::vector<std::pair<int, Element*>> dialogs;
    std::vector<int> messages;
    std::function<bool(FontRecord&)> fontDialog;
    int fontDialogs = 0;
    int drawnPicked = 0;          // picked elements that a full pass found still defined
    bool busy = false;            // the wait cursor is on
    int busySpells = 0;           // how often it was put on
    MacroSession macros;          // the macro feature's work, lent to the tools
    IterationWorkspace iteration; // the iteration feature's lists, lent to the tools
    Interaction in{*this, *this};

    ToolHost() : ConstructionBuilder(doc) {
        in.lendMacroSession(&macros);
        in.lendIterationWorkspace(&iteration);
        recalculate = true;
        doc.left = -300;
        doc.top = 200;
    }

    // ---- building without the tools
    // A line through two new points, hidden unless asked otherwise.
    Element* line(double x1, double y1, double x2, double y2, bool hidePoints = true) {
        Element* a = point(x1, y1);
        Element* b = point(x2, y2);
        if (hidePoints) a->visible = b->visible = 0;
        return make(Method::LineThroughTwoPoints, a, b);
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
        // The window's drawing shows the picked elements: they must still exist.
        for (const Element* e : in.engine().picked())
            drawnPicked += e->defined;
    }
    void recalculateMarkedAndRedraw() override {
        ++markedPasses;
        recalcMarked(doc);
    }
    void recalculateDragAndRedraw(const DragEngine& drag) override {
        ++markedPasses;
        drag.recalculate(doc);
    }
    void redraw() override { ++redraws; }
    void viewOriginChanged() override { ++viewChanges; }
    void scrollBy(int h, int v) override {
        scrolledX += h;
        scrolledY += v;
    }
    void setStatusText(const std::string& t) override { status = t; }
    void setCursorNumber(int c) override { cursor = c; }
    void showHover(const HoverFeedback& f) override { feedback = f; }
    int chooseAmong(const std::vector<Element*>& list, ScreenPoint) override {
        ++menus;
        lastMenuSize = list.size();
        return chosenIndex;
    }
    void toolChosen(int) override {}
    void startButtonTimer() override { timerRunning = true; }
    bool buttonTimerRunning() override { return timerRunning; }
    // ---- ToolRequests
    void openElementDialog(int tool, Element& e) override { dialogs.push_back({tool, &e}); }
    void showMessage(int slot) override { messages.push_back(slot); }
    void setBusy(bool on) override {
        busy = on;
        busySpells += on;
    }
    bool chooseFont(FontRecord& f) override {
        ++fontDialogs;
        return fontDialog && fontDialog(f);
    }
};

// A defined point at (x, y).
inline void expectAt(const Element* e, double x, double y, double tol = 1e-7) {
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->defined, 1);
    EXPECT_NEAR(e->value[0], x, tol);
    EXPECT_NEAR(e->value[1], y, tol);
}

} // namespace qorv::test
