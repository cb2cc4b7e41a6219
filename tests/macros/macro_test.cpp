// Macro-constructions: expanding and determining, recording the template with its numbering,
// macro files, the macro table, and applying macros, also from damaged templates.
#include "construction/builder.h"
#include "construction/undoredo.h"
#include "geometry/intersectionpoint.h"
#include "macros/circumcentre.h"
#include "macros/macro.h"
#include "macros/macrosession.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "model/undo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

using namespace qorv;

namespace {

struct Builder : OwningBuilder {
    Builder() { recalculate = true; }
    Element* cut(Element* a, Element* b) {
        bool swap = false;
        return intersection(a, b, intersectionBaseCode(*a, *b, swap));
    }
};

using test::circumcentre;

// Three points, the two perpendicular bisectors, their crossing (the circumcentre) and the
// circle through the first point.
struct Circumcentre : Builder, test::CircumcentreConstruction {
    Element* circle;
    Circumcentre() : CircumcentreConstruction(*this, {-60, -20}, {50, -30}, {10, 60}) {
        circle = make(Method::CircleCentrePoint, centre, a);
    }
};

std::vector<const Element*> templateOf(const MacroSlot& m) {
    std::vector<const Element*> out;
    for (const Element* e = m.first; e; e = e->next)
        out.push_back(e);
    return out;
}

bool listed(const Document& doc, const Element* e) {
    for (const Element* x = doc.head; x; x = x->next)
        if (x == e) return true;
    return false;
}

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

} // namespace

TEST(Macros, ExpansionAppendsTheDefiningElementsOnce) {
    Builder b;
    Element* p = b.point(0, 0);
    Element* q = b.point(10, 0);
    Element* r = b.point(0, 10);
    Element* s = b.point(5, 5);
    Element* t = b.point(7, 2);
    Element* seg = b.make(Method::Segment, p, q);
    Element* vec = b.make(Method::Vector, q, r);
    Element* circle = b.make(Method::CircleCentrePoint, r, p);
    Element* arc = b.make(Method::ArcThreePoints, p, s, q);
    Element* angle = b.make(Method::Angle, r, p, q);
    Element* axes = b.make(Method::Axes, s);
    Element* conic = b.make(Method::Conic, nullptr, nullptr, nullptr, {p, q, r, s, t});
    Element* line = b.make(Method::LineThroughTwoPoints, p, q);
    const struct {
        std::vector<Element*> list, expanded;
    } cases[] = {
        {{seg}, {seg, p, q}},
        {{vec, q}, {vec, q, r}},
        {{circle}, {circle, r}},
        {{arc}, {arc, p, s, q}},
        {{angle, p}, {angle, p, r, q}},
        {{axes}, {axes, s, axes->subElement(0), axes->subElement(1)}},
        {{conic}, {conic, p, q, r, s, t}},
        {{line, seg, circle}, {line, seg, circle, p, q, r}},
    };
    for (const auto& c : cases) {
        std::vector<Element*> list = c.list;
        expandInitialElements(list);
        EXPECT_EQ(list, c.expanded);
    }
}

TEST(Macros, OnlyElementsDeterminedByTheInitialOnesCanBeFinal) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(40, 0);
    Element* other = b.point(0, 40);
    Element* ac = b.make(Method::Segment, a, c);
    Element* mid = b.make(Method::Midpoint, a, c);
    Element* through = b.make(Method::LineThroughTwoPoints, mid, other); // needs `other`
    Element* length = b.make(Method::SegmentLength, ac);
    Element* circle = b.make(Method::CircleCentrePoint, mid, a);
    Element* coloured = b.make(Method::CircleCentrePoint, c, a);
    coloured->colorParam = Ref(length); // determined colour: stays
    Element* foreign = b.make(Method::CircleCentrePoint, a, c);
    foreign->colorParam = Ref(b.make(Method::Parameter)); // coloured from outside: goes
    Element* onForeign = b.make(Method::PointOnElement, foreign);
    Element* tri = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, mid});
    Element* parallel = b.make(Method::ParallelLine, tri->subElement(0), mid);

    std::vector<Element*> initial{a, c};
    expandInitialElements(initial);
    const std::vector<Element*> determined = determinedElements(b.doc, initial);
    EXPECT_EQ(determined,
              (std::vector<Element*>{ac, mid, length, circle, coloured, tri, parallel}));
    EXPECT_EQ(std::count(determined.begin(), determined.end(), through), 0);
    EXPECT_EQ(std::count(determined.begin(), determined.end(), onForeign), 0);

    // A final element that the initial ones do not determine is dropped: nothing to record.
    EXPECT_EQ(completeMacro(b.doc, "m", {a, c}, {through}), -1);
    EXPECT_EQ(b.doc.macroCount(), 0);

    // The session refuses it as well, and drops it from a final list stored before.
    MacroSession s;
    s.toggle(a);
    s.toggle(c);
    EXPECT_EQ(a->selected, 1);
    s.storeInitial(b.doc);
    EXPECT_TRUE(s.isDetermined(mid));
    EXPECT_FALSE(s.isDetermined(through));
    EXPECT_FALSE(s.isDetermined(a));
    s.toggle(a); // out of the selection again
    EXPECT_EQ(a->selected, 0);
}

TEST(Macros, TheTemplateKeepsWhatLeadsToTheFinalElementsNumberedAfterTheInitialOnes) {
    Circumcentre t;
    Element* unrelated = t.make(Method::Midpoint, t.a, t.b); // determined, not needed
    const int slot = completeMacro(t.doc, "circuncentro", {t.a, t.b, t.c}, {t.centre, t.circle});
    ASSERT_EQ(slot, 0);
    const MacroSlot& m = t.doc.macros[0];
    EXPECT_TRUE(m.used);
    EXPECT_EQ(m.name, "circuncentro");
    EXPECT_EQ(m.version, 900);
    EXPECT_EQ(m.head, (std::vector<int16_t>{Kind::Point, Kind::Point, Kind::Point}));
    EXPECT_TRUE(m.texts.empty());
    EXPECT_EQ(t.doc.modified, 1);
    const std::vector<const Element*> tpl = templateOf(m);
    ASSERT_EQ(tpl.size(), 4u); // two bisectors, the crossing, the circle; not the midpoint
    (void)unrelated;
    const struct {
        ConstructionMethod method;
        int32_t id, p1, p2;
        int32_t visible;
    } expected[] = {
        {Method::PerpendicularBisector, 3, 0, 1, Internal},
        {Method::PerpendicularBisector, 4, 1, 2, Internal},
        {Method::IntersectionPoint, 5, 3, 4, 1},
        {Method::CircleCentrePoint, 6, 5, 0, 1},
    };
    for (size_t i = 0; i < tpl.size(); ++i) {
        EXPECT_EQ(tpl[i]->method, expected[i].method) << i;
        EXPECT_EQ(tpl[i]->id, expected[i].id) << i;
        EXPECT_EQ(tpl[i]->parent1.id, expected[i].p1) << i;
        EXPECT_EQ(tpl[i]->parent2.id, expected[i].p2) << i;
        EXPECT_EQ(tpl[i]->parent3.id, -1) << i;
        EXPECT_EQ(tpl[i]->visible, expected[i].visible) << i;
        // Nothing of the template points into the document.
        EXPECT_EQ(tpl[i]->parent1.ptr, nullptr);
        EXPECT_EQ(tpl[i]->nameElement, nullptr);
    }
    // The construction itself is untouched.
    EXPECT_EQ(t.centre->parent1.ptr, t.ab);
    EXPECT_EQ(t.ab->visible, 1);
}

TEST(Macros, SubElementsAreNumberedAfterTheirOwner) {
    Builder b;
    Element* p = b.point(0, 0);
    Element* q = b.point(60, 0);
    Element* r = b.point(20, 50);
    Element* tri = b.make(Method::Polygon, nullptr, nullptr, nullptr, {p, q, r});
    Element* par = b.make(Method::ParallelLine, tri->subElement(1), p);
    ASSERT_EQ(completeMacro(b.doc, "m", {p, q, r}, {par}), 0);
    const std::vector<const Element*> tpl = templateOf(b.doc.macros[0]);
    ASSERT_EQ(tpl.size(), 2u);
    EXPECT_EQ(tpl[0]->id, 3);
    for (int i = 0; i < 3; ++i) {
        const Element& side = *tpl[0]->subElement(i);
        EXPECT_EQ(side.id, 4 + i);
        EXPECT_EQ(side.parent1.id, i);
        EXPECT_EQ(side.parent2.id, (i + 1) % 3);
        EXPECT_EQ(side.parent3.id, 3);
    }
    EXPECT_EQ(tpl[1]->parent1.id, 5); // the second side
    EXPECT_EQ(tpl[1]->parent2.id, 0);
}

// Recorded, saved to a file, read into another document and applied to three new points: the
// new crossing is the circumcentre of those points.
TEST(Macros, TheCircumcentreMacroTravelsThroughItsFileAndFindsTheCircumcentre) {
    Circumcentre t;
    ASSERT_EQ(completeMacro(t.doc, "circuncentro", {t.a, t.b, t.c}, {t.centre}), 0);
    t.doc.macros[0].texts = {"centro de la circunferencia", "por tres puntos"};
    const std::string path = tempPath("qorv_circumcentre_test.mac");
    ASSERT_TRUE(writeMacroFile(t.doc.macros[0], path));

    Builder other;
    const Point2 pa{-130, 17}, pb{95, -48}, pc{12, 140};
    Element* a = other.point(pa.x, pa.y);
    Element* b = other.point(pb.x, pb.y);
    Element* c = other.point(pc.x, pc.y);
    const ReadResult r = readDocumentFile(other.doc, path, FileType::Macro);
    std::filesystem::remove(path);
    ASSERT_EQ(r.kind, FileKind::Macro);
    ASSERT_EQ(r.macroSlot, 0);
    const MacroSlot& m = other.doc.macros[0];
    EXPECT_EQ(m.name, "circuncentro");
    EXPECT_EQ(m.texts, t.doc.macros[0].texts);
    EXPECT_EQ(encodeMacroFile(m), encodeMacroFile(t.doc.macros[0]));

    Element* first = instantiateMacro(other.doc, m, {a, b, c}, {0, 0}, true);
    ASSERT_NE(first, nullptr);
    recalcUpTo(other.doc);
    Element* centre = other.doc.tail;
    ASSERT_EQ(centre->method, Method::IntersectionPoint);
    const Point2 expected = circumcentre(pa, pb, pc);
    EXPECT_EQ(centre->defined, 1);
    EXPECT_NEAR(centre->value[0], expected.x, 1e-7);
    EXPECT_NEAR(centre->value[1], expected.y, 1e-7);
    EXPECT_EQ(centre->visible, 1);
    // The bisectors are there, internal; they are built on the new points.
    EXPECT_EQ(first->visible, Internal);
    EXPECT_EQ(first->parent1.ptr, a);
    EXPECT_EQ(first->parent2.ptr, b);
    EXPECT_EQ(other.doc.elementCount(), 6);

    // Moving a point moves the copy with it.
    c->value[0] = -20;
    recalcUpTo(other.doc);
    const Point2 moved = circumcentre(pa, pb, {-20, pc.y});
    EXPECT_NEAR(centre->value[0], moved.x, 1e-7);
    EXPECT_NEAR(centre->value[1], moved.y, 1e-7);
}

TEST(Macros, ApplyingIsOneUndoStep) {
    Circumcentre t;
    ASSERT_EQ(completeMacro(t.doc, "m", {t.a, t.b, t.c}, {t.centre}), 0);
    Element* p = t.point(1, 2);
    Element* q = t.point(80, 9);
    Element* r = t.point(30, 70);
    recordUndoStep(t.doc);
    const std::vector<uint8_t> before = encodeDocument(t.doc);
    const int32_t count = t.doc.elementCount();
    ASSERT_NE(instantiateMacro(t.doc, t.doc.macros[0], {p, q, r}, {0, 0}, true), nullptr);
    recalcUpTo(t.doc);
    EXPECT_EQ(t.doc.elementCount(), count + 3);
    ASSERT_TRUE(undo(t.doc));
    EXPECT_EQ(t.doc.elementCount(), count);
    EXPECT_EQ(encodeDocument(t.doc), before);
    EXPECT_FALSE(canUndo(t.doc));
}

TEST(Macros, ASegmentBindsTheCopiesToItsEndPointsAndTheOptionHidesIntermediates) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(40, 20);
    Element* seg = b.make(Method::Segment, a, c);
    Element* bis = b.make(Method::PerpendicularBisector, a, c);
    Element* mid = b.make(Method::Midpoint, a, c);
    Element* circle = b.make(Method::CircleCentrePoint, mid, a);
    (void)bis;
    ASSERT_EQ(completeMacro(b.doc, "m", {seg}, {circle}), 0);
    EXPECT_EQ(b.doc.macros[0].head, std::vector<int16_t>{Kind::Segment});

    Element* p = b.point(100, 100);
    Element* q = b.point(160, 100);
    Element* other = b.make(Method::Segment, p, q);
    for (bool keep : {true, false}) {
        Element* first = instantiateMacro(b.doc, b.doc.macros[0], {other}, {0, 0}, keep);
        ASSERT_NE(first, nullptr);
        recalcUpTo(b.doc);
        EXPECT_EQ(first->method, Method::Midpoint);
        EXPECT_EQ(first->parent1.ptr, p);
        EXPECT_EQ(first->parent2.ptr, q);
        EXPECT_EQ(first->visible, keep ? Internal : 1);
        Element* copy = b.doc.tail;
        EXPECT_EQ(copy->visible, 1);
        EXPECT_NEAR(copy->value[0], 130, 1e-9); // centred on the new midpoint
        EXPECT_NEAR(copy->value[2], 100, 1e-9); // through the first end point
    }
    // Wrong kinds or counts are refused, the document unchanged.
    const int32_t n = b.doc.elementCount();
    EXPECT_EQ(instantiateMacro(b.doc, b.doc.macros[0], {p}, {0, 0}, true), nullptr);
    EXPECT_EQ(instantiateMacro(b.doc, b.doc.macros[0], {other, other}, {0, 0}, true), nullptr);
    EXPECT_EQ(instantiateMacro(b.doc, b.doc.macros[0], {nullptr}, {0, 0}, true), nullptr);
    EXPECT_EQ(b.doc.elementCount(), n);
}

TEST(Macros, TextLikeCopiesTakeTheClickAsTheirPlace) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(30, 40);
    Element* d = b.make(Method::DistancePointPoint, a, c);
    Element* check = b.make(Method::AlignmentCheck, a, c, b.make(Method::Midpoint, a, c));
    ASSERT_EQ(completeMacro(b.doc, "m", {a, c}, {d, check}), 0);
    Element* p = b.point(5, 5);
    Element* q = b.point(5, 17);
    ASSERT_NE(instantiateMacro(b.doc, b.doc.macros[0], {p, q}, {-70, 33}, true), nullptr);
    recalcUpTo(b.doc);
    int placed = 0;
    for (Element* e = b.doc.head; e; e = e->next) {
        if (e->parent1.ptr != p || !isTextLike(e->kind())) continue;
        EXPECT_EQ(e->value[2], -70) << e->method;
        EXPECT_EQ(e->value[3], 33) << e->method;
        if (e->method == Method::DistancePointPoint) {
            EXPECT_NEAR(e->value[0], 12 / b.doc.pixelsPerUnit, 1e-9); // in length units
        }
        placed += e->method == Method::DistancePointPoint || e->method == Method::AlignmentCheck;
    }
    EXPECT_EQ(placed, 2);
}

// A damaged template (numbers out of range, forward, its own) binds what it can and leaves the
// rest unbound: the list stays in dependency order and every reference points into it.
TEST(Macros, ADamagedTemplateNeverBreaksTheList) {
    Circumcentre t;
    ASSERT_EQ(completeMacro(t.doc, "m", {t.a, t.b, t.c}, {t.centre, t.circle}), 0);
    MacroSlot& m = t.doc.macros[0];
    Element* second = m.first->next;
    const int32_t damaged[][3] = {{-5, 99, 6}, {3, 3, 4}, {INT32_MIN, INT32_MAX, 2}};
    for (const auto& ids : damaged) {
        second->parent1.id = ids[0];
        second->parent2.id = ids[1];
        second->parent3.id = ids[2];
        m.first->colorParam.id = ids[1];
        Element* first = instantiateMacro(t.doc, m, {t.a, t.b, t.c}, {0, 0}, true);
        ASSERT_NE(first, nullptr);
        recalcUpTo(t.doc);
        Element* copy = first->next;
        for (Element* ref : {copy->parent1.ptr, copy->parent2.ptr, copy->parent3.ptr}) {
            if (!ref) continue;
            EXPECT_TRUE(ref == t.a || ref == t.b || ref == t.c || ref == first) << ref->method;
        }
        EXPECT_TRUE(listed(t.doc, first->colorParam.ptr) || !first->colorParam.ptr);
    }
    EXPECT_EQ(t.doc.elementCount(), 7 + 3 * 4);
}

TEST(Macros, TheTableCopiesDeletesAndReordersMacros) {
    Circumcentre t;
    ASSERT_EQ(completeMacro(t.doc, "uno", {t.a, t.b, t.c}, {t.centre}), 0);
    ASSERT_EQ(completeMacro(t.doc, "dos", {t.a, t.b}, {t.ab}), 1);
    Document other;
    EXPECT_EQ(copyMacro(t.doc.macros[1], other), 0);
    EXPECT_EQ(copyMacro(t.doc.macros[0], other), 1);
    EXPECT_EQ(encodeMacroFile(other.macros[1]), encodeMacroFile(t.doc.macros[0]));
    EXPECT_NE(other.macros[1].first, t.doc.macros[0].first); // a copy of its own
    EXPECT_FALSE(swapMacros(other, 0, 2));
    EXPECT_FALSE(swapMacros(other, -1, 0)); // the first cannot move up
    EXPECT_TRUE(swapMacros(other, 0, 1));
    EXPECT_EQ(other.macros[0].name, "uno");
    deleteMacro(other, 0);
    EXPECT_EQ(other.macroCount(), 1);
    EXPECT_EQ(other.macros[0].name, "dos");
    EXPECT_FALSE(other.macros[1].used);
    EXPECT_EQ(macroPrompt(t.doc.macros[1], 1), "dos -> " + uiText().kindName(Kind::Point));

    // A full table takes no more.
    for (int i = other.macroCount(); i < Document::MacroSlots; ++i)
        ASSERT_EQ(copyMacro(t.doc.macros[0], other), i);
    EXPECT_EQ(copyMacro(t.doc.macros[0], other), -1);
    EXPECT_EQ(completeMacro(other, "x", {t.a}, {t.ab}), -1);
    const std::vector<uint8_t> file = encodeMacroFile(t.doc.macros[0]);
    EXPECT_EQ(readDocumentData(other, file.data(), file.size(), FileType::Macro).kind,
              FileKind::Invalid);
}

// The template's numbers follow the recording: the clicked elements may expand to more or fewer
// than the recorded ones (a segment and one of its own ends shares a point that the recording
// had separately, and the other way round), and the template's own elements keep their copies.
TEST(Macros, CopiesBindByTheRecordedNumbering) {
    struct Case {
        const char* name;
        bool recordWithOwnEnd; // record [AB, A], else [AB, X] with X off the segment
        bool applyToOwnEnd;    // apply to [CD, C], else [CD, Y] with Y off the segment
        Point2 m, p;           // where the copies of M and P must be
    };
    // A(0, 0), B(40, 20), X(0, 60); C(100, 0), D(160, 40), Y(100, 100). M = midpoint(A, B) is
    // internal, P = midpoint(M, second initial) is final. Recorded [AB, A] numbers AB, A, B;
    // [CD, Y] expands to CD, Y, C, D, so M's "B" is C. Recorded [AB, X] numbers AB, X, A, B;
    // [CD, C] gives CD, C, then C and D as the ends.
    const Case cases[] = {
        {"own end recorded, other point applied", true, false, {100, 50}, {100, 75}},
        {"other point recorded, own end applied", false, true, {130, 20}, {115, 10}},
        {"other point recorded and applied", false, false, {130, 20}, {115, 60}},
        {"own end recorded and applied", true, true, {130, 20}, {115, 10}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Builder b;
        Element* a = b.point(0, 0);
        Element* ab = b.make(Method::Segment, a, b.point(40, 20));
        Element* second = k.recordWithOwnEnd ? a : b.point(0, 60);
        Element* m = b.make(Method::Midpoint, a, ab->parent2.ptr);
        Element* p = b.make(Method::Midpoint, m, second);
        ASSERT_EQ(completeMacro(b.doc, "m", {ab, second}, {p}), 0);

        Element* c = b.point(100, 0);
        Element* cd = b.make(Method::Segment, c, b.point(160, 40));
        Element* clicked = k.applyToOwnEnd ? c : b.point(100, 100);
        Element* first = instantiateMacro(b.doc, b.doc.macros[0], {cd, clicked}, {0, 0}, true);
        ASSERT_NE(first, nullptr);
        recalcUpTo(b.doc);
        Element* mCopy = first;
        Element* pCopy = b.doc.tail;
        ASSERT_EQ(mCopy->next, pCopy);
        EXPECT_EQ(pCopy->parent1.ptr, mCopy);
        EXPECT_EQ(pCopy->parent2.ptr, clicked);
        for (const Element* e : {mCopy, pCopy})
            ASSERT_TRUE(e->defined && e->parent1 && e->parent2) << e->method;
        EXPECT_NEAR(mCopy->value[0], k.m.x, 1e-9);
        EXPECT_NEAR(mCopy->value[1], k.m.y, 1e-9);
        EXPECT_NEAR(pCopy->value[0], k.p.x, 1e-9);
        EXPECT_NEAR(pCopy->value[1], k.p.y, 1e-9);
    }
}
