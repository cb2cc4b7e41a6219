#include "construction/create.h"
#include "construction/undoredo.h"
#include "docfile_samples.h"
#include "statedump.h"

#include "construction/clipboard.h"
#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/undo.h"

#include <gtest/gtest.h>

#include <random>

using namespace qorv;
using namespace qorv::testing;

namespace {

// A document as the editor has it right after opening a file.
void openFromBytes(Document& doc, const std::vector<uint8_t>& bytes) {
    ASSERT_EQ(readDocumentData(doc, bytes.data(), bytes.size(), FileType::Document).kind,
              FileKind::Document);
    recalcUpTo(doc);
}

std::vector<uint8_t> sampleFile() {
    SampleDocument s;
    recalcUpTo(s.doc);
    return encodeDocument(s.doc);
}

} // namespace

// ---- the rules of the history ---------------------------------------------------------------

TEST(UndoHistory, UndoRightAfterOpeningIsDisabledAndOneChangeGoesBackAndForth) {
    Document doc;
    openFromBytes(doc, sampleFile());
    EXPECT_FALSE(canUndo(doc));
    EXPECT_FALSE(canRedo(doc));
    EXPECT_FALSE(undo(doc));
    const std::vector<uint8_t> opened = encodeDocument(doc);

    ASSERT_TRUE(recordUndoStep(doc));
    EXPECT_EQ(doc.modified, 1);
    ConstructionBuilder(doc).make(Method::Segment, doc.head, doc.head->next);
    recalcUpTo(doc);
    const std::vector<uint8_t> changed = encodeDocument(doc);
    EXPECT_TRUE(canUndo(doc));
    EXPECT_FALSE(canRedo(doc));

    ASSERT_TRUE(undo(doc));
    EXPECT_EQ(encodeDocument(doc), opened);
    EXPECT_FALSE(canUndo(doc));
    EXPECT_TRUE(canRedo(doc));
    ASSERT_TRUE(redo(doc));
    EXPECT_EQ(encodeDocument(doc), changed);
    EXPECT_TRUE(canUndo(doc));
    EXPECT_FALSE(canRedo(doc));
    EXPECT_FALSE(redo(doc));
}

TEST(UndoHistory, PositionCountAndCurrentSavedFollowTheSteps) {
    Document doc;
    ConstructionBuilder mk(doc);
    Element* a = mk.point(0, 0);
    UndoHistory& h = undoHistory(doc);
    ASSERT_TRUE(recordUndoStep(doc)); // before b
    mk.point(1, 1);
    ASSERT_TRUE(recordUndoStep(doc)); // before c
    mk.point(2, 2);
    EXPECT_EQ(h.position(), 2);
    EXPECT_EQ(h.count(), 2);
    EXPECT_FALSE(h.currentSaved());

    ASSERT_TRUE(undo(doc)); // the state shown is stored at the end first
    EXPECT_EQ(h.count(), 3);
    EXPECT_EQ(h.position(), 1);
    EXPECT_TRUE(h.currentSaved());
    EXPECT_EQ(doc.elementCount(), 2);
    ASSERT_TRUE(undo(doc));
    EXPECT_EQ(h.position(), 0);
    EXPECT_EQ(h.count(), 3);
    EXPECT_EQ(doc.elementCount(), 1);
    EXPECT_FALSE(canUndo(doc));
    ASSERT_TRUE(redo(doc));
    ASSERT_TRUE(redo(doc));
    EXPECT_EQ(doc.elementCount(), 3);
    EXPECT_EQ(h.position(), 2);
    EXPECT_FALSE(canRedo(doc));

    // Going on from the newest state: the stored current state becomes the step's snapshot.
    ASSERT_TRUE(recordUndoStep(doc));
    EXPECT_EQ(h.position(), 3);
    EXPECT_EQ(h.count(), 3);
    EXPECT_FALSE(h.currentSaved());

    h.clear();
    EXPECT_EQ(h.count(), 0);
    EXPECT_FALSE(canUndo(doc));
    EXPECT_EQ(doc.elementCount(), 3);
    ASSERT_TRUE(recordUndoStep(doc));
    doc.deleteWithDescendants(doc.head); // `a` went with the first undo: the list is new
    ASSERT_TRUE(undo(doc));
    EXPECT_EQ(doc.elementCount(), 3);
    EXPECT_EQ(doc.head->value[0], 0);
    (void)a;
}

TEST(UndoHistory, TwoUndosFollowedByANewConstructionDisableRedo) {
    Document doc;
    ConstructionBuilder mk(doc);
    mk.point(0, 0);
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(recordUndoStep(doc));
        mk.point(i, i);
    }
    ASSERT_TRUE(undo(doc));
    ASSERT_TRUE(undo(doc));
    EXPECT_TRUE(canRedo(doc));
    EXPECT_EQ(doc.elementCount(), 2);

    ASSERT_TRUE(recordUndoStep(doc));
    mk.make(Method::Segment, doc.head, doc.tail);
    EXPECT_FALSE(canRedo(doc));
    EXPECT_EQ(undoHistory(doc).count(), undoHistory(doc).position());
    // Undo goes back to the state the construction was made on, then further back.
    ASSERT_TRUE(undo(doc));
    EXPECT_EQ(doc.elementCount(), 2);
    EXPECT_EQ(doc.tail->method, Method::FreePoint);
    ASSERT_TRUE(undo(doc));
    EXPECT_EQ(doc.elementCount(), 1);
}

TEST(UndoHistory, RecordingKeepsTheWorkingListSoHeldElementsStayValid) {
    Document doc;
    Element* a = ConstructionBuilder(doc).point(3, 4);
    ASSERT_TRUE(recordUndoStep(doc));
    ASSERT_TRUE(undo(doc));
    ASSERT_TRUE(redo(doc));
    Element* shown = doc.head;
    // After an undo the next step drops the steps undone but keeps the very same elements.
    ASSERT_TRUE(undo(doc));
    shown = doc.head;
    ASSERT_TRUE(recordUndoStep(doc));
    EXPECT_EQ(doc.head, shown);
    shown->value[0] = 10; // a drag after the step
    ASSERT_TRUE(undo(doc));
    EXPECT_EQ(doc.head->value[0], 3);
    (void)a;
}

TEST(UndoHistory, ReadingAFileStartsAnEmptyHistory) {
    Document doc;
    ConstructionBuilder mk(doc);
    mk.point(0, 0);
    ASSERT_TRUE(recordUndoStep(doc));
    mk.point(1, 0);
    ASSERT_TRUE(canUndo(doc));
    doc.pasteCounter = 3;
    openFromBytes(doc, sampleFile());
    EXPECT_FALSE(canUndo(doc));
    EXPECT_FALSE(canRedo(doc));
    EXPECT_EQ(doc.pasteCounter, 0);
}

TEST(UndoHistory, RestoresTraceAnimationAndPixelsPerUnit) {
    Document doc;
    ConstructionBuilder mk(doc);
    Element* a = mk.point(0, 0);
    Element* b = mk.point(1, 0);
    doc.traceList = {b};
    doc.animations.push_back(AnimationRecord{a, {1, 2, 3}});
    doc.pixelsPerUnit = 25;
    ASSERT_TRUE(recordUndoStep(doc));
    doc.deleteWithDescendants(b);
    doc.animations.clear();
    doc.pixelsPerUnit = 80;
    ASSERT_TRUE(undo(doc));
    ASSERT_EQ(doc.traceList.size(), 1u);
    EXPECT_EQ(doc.traceList[0], doc.tail);
    ASSERT_EQ(doc.animations.size(), 1u);
    EXPECT_EQ(doc.animations[0].element, doc.head);
    EXPECT_EQ(doc.animations[0].settings[2], 3);
    EXPECT_EQ(doc.pixelsPerUnit, 25);
    ASSERT_TRUE(redo(doc));
    EXPECT_TRUE(doc.traceList.empty());
    EXPECT_EQ(doc.pixelsPerUnit, 80);
}

TEST(HeldReferences, AreFoundAgainByIdAfterUndoAndRedo) {
    Document doc;
    ConstructionBuilder mk(doc);
    mk.point(0, 0);
    Element* b = mk.point(1, 0);
    Element* edited = b;
    Element* gone = nullptr;
    std::vector<Element*> clicked = {doc.head, b, nullptr};
    HeldReferences held;
    held.add([&](const HeldReferences::Visit& visit) {
        visit(edited);
        visit(gone);
        for (Element*& e : clicked)
            visit(e);
    });
    const int other = held.add([&](const HeldReferences::Visit& visit) { visit(edited); });
    held.remove(other);

    ASSERT_TRUE(recordUndoStep(doc));
    gone = mk.point(2, 0);
    held.remember(doc);
    ASSERT_TRUE(undo(doc));
    held.reresolve(doc);
    EXPECT_EQ(edited, doc.tail);
    EXPECT_EQ(edited->value[0], 1);
    EXPECT_EQ(gone, nullptr); // no element has its id in the state undone to
    EXPECT_EQ(clicked[0], doc.head);
    EXPECT_EQ(clicked[1], doc.tail);
    EXPECT_EQ(clicked[2], nullptr);

    held.remember(doc);
    ASSERT_TRUE(redo(doc));
    held.reresolve(doc);
    EXPECT_EQ(edited, doc.head->next);
    EXPECT_EQ(clicked[0], doc.head);
}

// ---- random sessions --------------------------------------------------------------------------

namespace {

// Random editing operations on a document, each preceded by an undo step like the editor's.
class Session {
  public:
    Session(Document& doc, uint32_t seed) : doc_(doc), rng_(seed) {}

    // Runs one operation; returns false for one that records no step (a selection change).
    bool step(InternalClipboard& clip) {
        switch (below(10)) {
        case 0:
            record();
            mk_.point(coordinate(), coordinate());
            break;
        case 1:
            return construct();
        case 2:
            if (!name()) return false;
            break;
        case 3:
        case 4:
            return drag();
        case 5:
            return remove();
        case 6:
            return copyAndPaste(clip);
        case 7:
            return style();
        case 8:
            return trace();
        default:
            for (int i = 0; i < 3; ++i)
                if (Element* e = any()) e->selected = !e->selected;
            return false;
        }
        recalcUpTo(doc_);
        return true;
    }

  private:
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    double coordinate() { return std::uniform_real_distribution<double>(-300, 300)(rng_); }
    void record() { ASSERT_TRUE(recordUndoStep(doc_)); }

    std::vector<Element*> all(ElementKind kind = -1) {
        std::vector<Element*> v;
        for (Element* e = doc_.head; e; e = e->next)
            if (kind < 0 || e->kind() == kind) v.push_back(e);
        return v;
    }
    Element* any(ElementKind kind = -1) {
        std::vector<Element*> v = all(kind);
        return v.empty() ? nullptr : v[size_t(below(int(v.size())))];
    }

    bool construct() {
        Element* a = any(Kind::Point);
        Element* b = any(Kind::Point);
        if (!a || !b || a == b) return false;
        static constexpr ConstructionMethod methods[] = {
            Method::Segment,  Method::LineThroughTwoPoints, Method::CircleCentrePoint,
            Method::Midpoint, Method::DistancePointPoint,   Method::Vector};
        record();
        const ConstructionMethod m = methods[below(6)];
        mk_.req.value[2] = coordinate();
        mk_.req.value[3] = coordinate();
        mk_.make(m, a, b);
        recalcUpTo(doc_);
        return true;
    }

    bool name() {
        Element* e = any();
        if (!e || e->method == Method::Name) return false;
        record();
        static const char* const texts[] = {"A", "Punto ñ", "中文 😀", ""};
        std::string text = texts[below(4)];
        if (below(4) == 0) text = std::string(1200, 'n') + "€";
        setName(doc_, e, text, CreationOptions{});
        return true;
    }

    bool drag() {
        Element* p = nullptr;
        for (int tries = 0; tries < 5 && !p; ++tries)
            if (Element* e = any(Kind::Point); e && e->method == Method::FreePoint) p = e;
        if (!p) return false;
        record();
        p->value[0] += coordinate() / 10;
        p->value[1] += coordinate() / 10;
        recalcUpTo(doc_);
        return true;
    }

    bool remove() {
        Element* e = any();
        if (!e || below(2)) return false;
        record();
        doc_.deleteWithDescendants(e);
        recalcUpTo(doc_);
        return true;
    }

    // Either copies a new selection (no step) or pastes.
    bool copyAndPaste(InternalClipboard& clip) {
        if (below(2) || clip.empty()) {
            doc_.selectNone();
            for (int i = 0; i < 2; ++i)
                if (Element* e = any()) e->selected = 1;
            copySelection(doc_, clip);
            return false;
        }
        return paste(doc_, clip) != nullptr;
    }

    bool style() {
        Element* e = any();
        if (!e) return false;
        record();
        e->color = Color(rng_() & 0xffffff);
        if (!isTextLike(e->kind())) e->shape = 1 + below(6);
        if (below(3) == 0) e->visible = e->visible == 1 ? 0 : 1;
        if (e->subElementCount() > 0) {
            Element* s = e->subElement(below(e->subElementCount()));
            s->color = Color(rng_() & 0xffffff);
            s->selected = below(2);
        }
        if (auto* t = e->tailAs<TextTail>()) {
            t->lines.push_back("otra línea ☺");
            e->option = int32_t(t->lines.size());
        }
        recalcUpTo(doc_);
        return true;
    }

    bool trace() {
        Element* e = any();
        if (!e) return false;
        record();
        auto it = std::find(doc_.traceList.begin(), doc_.traceList.end(), e);
        if (it != doc_.traceList.end())
            doc_.traceList.erase(it);
        else
            doc_.traceList.push_back(e);
        doc_.pixelsPerUnit = 20 + below(40);
        recalcUpTo(doc_);
        return true;
    }

    Document& doc_;
    ConstructionBuilder mk_{doc_};
    std::mt19937 rng_;
};

struct State {
    std::vector<uint8_t> file;
    std::string dump;
    bool operator==(const State&) const = default;
};

State stateOf(Document& doc) {
    return State{encodeDocument(doc), dumpState(doc)};
}

// The first lines in which two states differ, to say what went wrong.
std::string difference(const State& a, const State& b) {
    std::string out = a.file == b.file ? "" : "files differ\n";
    size_t i = 0, j = 0;
    int shown = 0;
    while (shown < 4 && (i < a.dump.size() || j < b.dump.size())) {
        const size_t ei = std::min(a.dump.find('\n', i), a.dump.size());
        const size_t ej = std::min(b.dump.find('\n', j), b.dump.size());
        const std::string la = a.dump.substr(i, ei - i), lb = b.dump.substr(j, ej - j);
        if (la != lb) {
            out += "got      " + la + "\nexpected " + lb + "\n";
            ++shown;
        }
        i = ei + 1;
        j = ej + 1;
    }
    return out;
}

} // namespace

TEST(UndoHistory, RandomSessionsUndoneAndRedoneGiveBackEveryStateExactly) {
    int steps = 0;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        SampleDocument s;
        Document& doc = s.doc;
        recalcUpTo(doc);
        InternalClipboard clip;
        Session session(doc, seed);
        // before[i]: the state when step i was recorded.
        std::vector<State> before;
        const int operations = 6 + int(seed % 12);
        for (int i = 0; i < operations; ++i) {
            const State now = stateOf(doc);
            const int countBefore = undoHistory(doc).count();
            if (session.step(clip)) {
                ASSERT_EQ(undoHistory(doc).count(), countBefore + 1);
                before.push_back(now);
            }
            if (::testing::Test::HasFatalFailure()) return;
        }
        steps += int(before.size());
        const State last = stateOf(doc);

        for (size_t i = before.size(); i-- > 0;) {
            ASSERT_TRUE(undo(doc));
            const State got = stateOf(doc);
            ASSERT_TRUE(got == before[i]) << "undo to step " << i << "\n"
                                          << difference(got, before[i]);
        }
        EXPECT_FALSE(canUndo(doc));
        for (size_t i = 1; i <= before.size(); ++i) {
            ASSERT_TRUE(redo(doc));
            const State& expected = i < before.size() ? before[i] : last;
            const State got = stateOf(doc);
            ASSERT_TRUE(got == expected) << "redo to step " << i << "\n"
                                         << difference(got, expected);
        }
        EXPECT_FALSE(canRedo(doc));

        // Back a few steps and on with new ones: the steps undone are gone, the older ones stay.
        const size_t back = seed % (before.size() + 1);
        for (size_t i = 0; i < back; ++i)
            ASSERT_TRUE(undo(doc));
        before.resize(before.size() - back);
        for (int i = 0; i < 5; ++i) {
            const State now = stateOf(doc);
            if (session.step(clip)) before.push_back(now);
            if (::testing::Test::HasFatalFailure()) return;
        }
        EXPECT_FALSE(canRedo(doc));
        for (size_t i = before.size(); i-- > 0;) {
            ASSERT_TRUE(undo(doc));
            const State got = stateOf(doc);
            ASSERT_TRUE(got == before[i]) << "second undo to step " << i << "\n"
                                          << difference(got, before[i]);
        }
        EXPECT_FALSE(canUndo(doc));
    }
    EXPECT_GT(steps, 700);
}
