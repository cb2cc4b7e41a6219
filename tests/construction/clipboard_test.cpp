#include "construction/undoredo.h"
#include "model/docfile_samples.h"
#include "model/statedump.h"

#include "construction/clipboard.h"
#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/elementcodec.h"
#include "model/undo.h"

#include <gtest/gtest.h>

#include <unordered_set>

using namespace qorv;
using namespace qorv::testing;

namespace {

std::vector<Element*> listOf(const Document& d) {
    std::vector<Element*> v;
    for (Element* e = d.head; e; e = e->next)
        v.push_back(e);
    return v;
}

} // namespace

// ---- copying elements ---------------------------------------------------------------------

TEST(CopyElements, CopiesAWholeListLinkedWithinItself) {
    SampleDocument s;
    recalcUpTo(s.doc);
    s.doc.head->selected = 1;
    std::vector<const Element*> all;
    for (const Element* e = s.doc.head; e; e = e->next)
        all.push_back(e);
    ElementChain copy = copyElements(all);

    std::unordered_set<const Element*> inCopy;
    for (Element* e = copy.head; e; e = e->next) {
        inCopy.insert(e);
        forEachSubElement(*e, [&](Element& x) { inCopy.insert(&x); });
    }
    for (Element* e = copy.head; e; e = e->next) {
        const auto check = [&](Element& x) {
            forEachReference(x, [&](Ref& ref) {
                EXPECT_TRUE(!ref || inCopy.count(ref)) << "method " << x.method;
            });
            EXPECT_TRUE(!x.nameElement || inCopy.count(x.nameElement));
        };
        check(*e);
        forEachSubElement(*e, check);
    }
    // Put in a document of its own, the copy is the same construction.
    Document other;
    for (Element* e = copy.release(); e;) {
        Element* next = e->next;
        other.append(e);
        e = next;
    }
    other.traceList = {};
    s.doc.traceList = {};
    s.doc.animations.clear();
    other.pixelsPerUnit = s.doc.pixelsPerUnit;
    EXPECT_EQ(dumpState(other), dumpState(s.doc));
}

TEST(CopyElements, ReferencesOutsideTheCopyBecomeNull) {
    Document doc;
    ConstructionBuilder mk{doc};
    Element* a = mk.point(0, 0);
    Element* b = mk.point(1, 0);
    Element* seg = mk.make(Method::Segment, a, b);
    mk.req.text = "s";
    mk.make(Method::Name, seg);
    ElementChain copy = copyElements({seg});
    ASSERT_NE(copy.head, nullptr);
    EXPECT_EQ(copy.head, copy.tail);
    EXPECT_EQ(copy.head->parent1, nullptr);
    EXPECT_EQ(copy.head->parent2, nullptr);
    EXPECT_EQ(copy.head->parent1.id, -1);
    EXPECT_EQ(copy.head->nameElement, nullptr); // its name was not copied
    EXPECT_EQ(seg->parent1, a);                 // the original is untouched
}

// ---- text of the selection ----------------------------------------------------------------

TEST(SelectionText, TableOfTwoColumnsAndThreeRowsHasThreeLinesOfTwoValues) {
    Document doc;
    ConstructionBuilder mk{doc};
    mk.req.value[0] = 1;
    Element* n1 = mk.make(Method::Parameter);
    mk.req.value[0] = 2;
    Element* n2 = mk.make(Method::Parameter);
    Element* table = mk.make(Method::Table, nullptr, nullptr, nullptr, {n1, n2});
    auto* t = table->tailAs<TableTail>();
    t->rows = 3;
    t->columns[0].values = {1.5, 2.25, -3};
    t->columns[1].values = {10, 0.126, 7};
    table->decimals = 2;
    table->selected = 1;
    EXPECT_EQ(selectionText(doc), "1.50  10.00  \r2.25  0.13  \r-3.00  7.00  \r");
    // A row without a value in a column is an empty cell.
    t->columns[1].values.resize(2);
    t->columns[0].values[1] = NotSet;
    table->decimals = 1;
    EXPECT_EQ(selectionText(doc), "1.5  10.0  \r -  0.1  \r-3.0   -  \r");
}

TEST(SelectionText, OneEntryPerSelectedDefinedTextLikeElement) {
    Document doc;
    ConstructionBuilder mk{doc};
    Element* p = mk.point(1, 2);
    mk.req.value[0] = 2.5;
    Element* number = mk.make(Method::Parameter);
    number->decimals = 3;
    mk.req.value[0] = 7;
    Element* noValue = mk.make(Method::Parameter);
    noValue->option = NoValue;
    mk.req.value[0] = 9;
    Element* undefinedNumber = mk.make(Method::Parameter);
    undefinedNumber->defined = 0;
    mk.req.value[0] = 4;
    Element* unselected = mk.make(Method::Parameter);
    mk.req.text = "X^2";
    Element* function = mk.make(Method::Function);
    mk.req.text = "Y+1";
    Element* namedFunction = mk.make(Method::Function);
    mk.req.text = "f";
    mk.make(Method::Name, namedFunction);
    mk.req.text = "uno\ndos ñ";
    Element* text = mk.make(Method::Text);
    mk.req.text = "Pe";
    Element* name = mk.make(Method::Name, p);
    Element* eq = mk.make(Method::LineEquation, p, p);
    eq->tailAs<EquationTail>()->text = "y = 2x";
    Element* coords = mk.make(Method::Coordinates, p);
    coords->decimals = 3;
    coords->subElement(0)->value[0] = 1.23456;
    coords->subElement(1)->value[0] = -2;
    Element* check = mk.make(Method::ParallelCheck, p, p);
    check->option = 1;
    Element* check2 = mk.make(Method::PerpendicularCheck, p, p);
    check2->option = 0;
    Element* button = mk.make(Method::ShowHideButton, nullptr, nullptr, nullptr, {p});
    for (Element* e : listOf(doc))
        e->selected = e != unselected ? 1 : 0;
    EXPECT_EQ(selectionText(doc), "2.500\r"
                                  "no existente\r"
                                  "X^2\r"
                                  "f\r"
                                  "uno\rdos ñ\r"
                                  "Pe\r"
                                  "y = 2x\r"
                                  "1.235  -2.000\r"
                                  "paralelos\r"
                                  "no perpendicular\r"
                                  "Ocultar/Ver\r");
    (void)text, (void)name, (void)button, (void)function;
}

// ---- copy and paste -----------------------------------------------------------------------

TEST(Clipboard, CopyingASegmentBringsItsEndPointsHidden) {
    Document doc;
    ConstructionBuilder mk{doc};
    Element* a = mk.point(10, 20);
    Element* b = mk.point(50, 20);
    Element* seg = mk.make(Method::Segment, a, b);
    recalcUpTo(doc);
    seg->selected = 1;
    InternalClipboard clip;
    copySelection(doc, clip);
    ASSERT_EQ(clip.elements.head->next->next, clip.elements.tail);
    EXPECT_EQ(clip.elements.head->visible, 0);
    EXPECT_EQ(clip.elements.head->next->visible, 0);
    EXPECT_EQ(clip.elements.tail->visible, 1);
    EXPECT_EQ(doc.head->mark, 0); // the working marks are cleared

    Element* first = paste(doc, clip);
    ASSERT_NE(first, nullptr);
    std::vector<Element*> all = listOf(doc);
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(first, all[3]);
    // The pasted points are hidden and unselected; only the pasted segment is selected.
    EXPECT_EQ(all[3]->visible, 0);
    EXPECT_EQ(all[4]->visible, 0);
    EXPECT_EQ(all[3]->selected, 0);
    EXPECT_EQ(all[5]->selected, 1);
    EXPECT_EQ(seg->selected, 0);
    EXPECT_EQ(all[5]->parent1, all[3]);
    EXPECT_EQ(all[5]->parent2, all[4]);
    // 20 units right and 20 down, recalculated.
    EXPECT_DOUBLE_EQ(all[5]->value[0], 30);
    EXPECT_DOUBLE_EQ(all[5]->value[1], 0);
    EXPECT_DOUBLE_EQ(all[5]->value[2], 70);
    EXPECT_DOUBLE_EQ(all[5]->value[3], 0);

    // With its points selected too they stay visible.
    a->selected = b->selected = seg->selected = 1;
    copySelection(doc, clip);
    EXPECT_EQ(clip.elements.head->visible, 1);
    EXPECT_EQ(clip.elements.head->next->visible, 1);
}

TEST(Clipboard, EachFurtherPasteLands20UnitsFurtherRightAndDown) {
    Document doc;
    ConstructionBuilder mk{doc};
    Element* p = mk.point(-5, 7);
    mk.req.value[2] = 100;
    mk.req.value[3] = -30;
    Element* param = mk.make(Method::Parameter);
    mk.req.value[2] = 120;
    mk.req.value[3] = -40;
    mk.req.text = "hola";
    Element* text = mk.make(Method::Text);
    mk.req.text = "P";
    Element* name = mk.make(Method::Name, p);
    name->tailAs<NameTail>()->placement[0] = 4;
    std::vector<uint8_t> bmp = {'B', 'M', 1, 2};
    Element* picture = pastePicture(doc, bmp, CreationOptions{});
    picture->value[0] = -50;
    picture->value[1] = 60;
    for (Element* e : listOf(doc))
        e->selected = 1;
    InternalClipboard clip;
    copySelection(doc, clip);
    paste(doc, clip);
    paste(doc, clip);
    std::vector<Element*> all = listOf(doc);
    ASSERT_EQ(all.size(), 15u);
    for (int k = 1; k <= 2; ++k) {
        SCOPED_TRACE(k);
        const double d = 20.0 * k;
        const size_t base = size_t(5 * k);
        EXPECT_DOUBLE_EQ(all[base]->value[0], -5 + d);
        EXPECT_DOUBLE_EQ(all[base]->value[1], 7 - d);
        EXPECT_DOUBLE_EQ(all[base + 1]->value[2], 100 + d);
        EXPECT_DOUBLE_EQ(all[base + 1]->value[3], -30 - d);
        EXPECT_EQ(all[base + 2]->tailAs<TextTail>()->x, 120 + int(d));
        EXPECT_EQ(all[base + 2]->tailAs<TextTail>()->y, -40 - int(d));
        // A name stays beside its point, which moved already.
        EXPECT_EQ(all[base + 3]->tailAs<NameTail>()->placement[0], 4);
        EXPECT_EQ(all[base + 3]->parent1, all[base]);
        EXPECT_EQ(all[base]->nameElement, all[base + 3]);
        EXPECT_DOUBLE_EQ(all[base + 4]->value[0], -50 + d);
        EXPECT_DOUBLE_EQ(all[base + 4]->value[1], 60 - d);
        EXPECT_EQ(all[base + 4]->tailAs<BitmapTail>()->picture, bmp);
    }
    EXPECT_EQ(doc.pasteCounter, 3);
    (void)param, (void)text;
}

TEST(Clipboard, PasteIntoAnotherDocumentKeepsThePlaceRelativeToTheView) {
    auto source = std::make_unique<Document>();
    source->left = -100;
    source->top = 100;
    ConstructionBuilder mk{*source};
    Element* p = mk.point(10, 20);
    p->selected = 1;
    Document target;
    target.left = 500;
    target.top = -300;
    target.pasteCounter = 5;
    InternalClipboard clip;
    copySelection(*source, clip, {source.get(), &target});
    EXPECT_EQ(target.pasteCounter, 0);
    EXPECT_EQ(source->pasteCounter, 1);
    source.reset(); // the clipboard outlives the document it came from

    Element* q = paste(target, clip);
    ASSERT_NE(q, nullptr);
    EXPECT_DOUBLE_EQ(q->value[0] - target.left, 10 - -100);
    EXPECT_DOUBLE_EQ(q->value[1] - target.top, 20 - 100);
    EXPECT_EQ(q->visible, 1);
    Element* r = paste(target, clip);
    EXPECT_DOUBLE_EQ(r->value[0], q->value[0] + 20);
    EXPECT_DOUBLE_EQ(r->value[1], q->value[1] - 20);
}

TEST(Clipboard, InternalAncestorsStayInternalAndAreNotSelected) {
    Document doc;
    ConstructionBuilder mk{doc};
    Element* hidden = mk.point(1, 1);
    hidden->visible = Internal;
    Element* a = mk.point(5, 5);
    Element* mid = mk.make(Method::Midpoint, hidden, a);
    mid->selected = 1;
    InternalClipboard clip;
    copySelection(doc, clip);
    EXPECT_EQ(clip.elements.head->visible, Internal);
    paste(doc, clip);
    std::vector<Element*> all = listOf(doc);
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[3]->visible, Internal);
    EXPECT_EQ(all[3]->selected, 0);
    EXPECT_EQ(all[4]->selected, 0); // hidden ancestor
    EXPECT_EQ(all[5]->selected, 1);
}

TEST(Clipboard, PastingNothingDoesNothingAndPasteIsOneUndoStep) {
    Document doc;
    ConstructionBuilder mk{doc};
    mk.point(0, 0)->selected = 1;
    InternalClipboard clip;
    EXPECT_EQ(paste(doc, clip), nullptr);
    EXPECT_FALSE(canUndo(doc));
    EXPECT_EQ(doc.elementCount(), 1);

    copySelection(doc, clip);
    const std::string before = dumpState(doc);
    ASSERT_NE(paste(doc, clip), nullptr);
    EXPECT_EQ(doc.elementCount(), 2);
    EXPECT_EQ(doc.modified, 1);
    ASSERT_TRUE(undo(doc));
    EXPECT_EQ(dumpState(doc), before);
}

TEST(Clipboard, CutCopiesThenDeletesTheSelectionAsOneStep) {
    Document doc;
    ConstructionBuilder mk{doc};
    Element* a = mk.point(0, 0);
    Element* b = mk.point(10, 0);
    mk.make(Method::Segment, a, b);
    recalcUpTo(doc);
    const std::string before = dumpState(doc);
    InternalClipboard clip;
    cutSelection(doc, clip); // nothing selected: nothing happens
    EXPECT_TRUE(clip.empty());
    EXPECT_FALSE(canUndo(doc));

    a->selected = 1;
    cutSelection(doc, clip);
    ASSERT_EQ(doc.elementCount(), 1);
    EXPECT_EQ(doc.head, b);
    ASSERT_FALSE(clip.empty());
    EXPECT_EQ(clip.elements.head, clip.elements.tail);
    ASSERT_TRUE(undo(doc));
    doc.head->selected = 0;
    EXPECT_EQ(dumpState(doc), before);
}

TEST(Clipboard, PictureIsAnchoredToTheFirstSelectedPointSegmentOrVector) {
    Document doc;
    doc.left = -40;
    doc.top = 30;
    ConstructionBuilder mk{doc};
    Element* c0 = mk.point(0, 0);
    Element* c1 = mk.point(5, 0);
    Element* circle = mk.make(Method::CircleCentrePoint, c0, c1);
    Element* seg = mk.make(Method::Segment, c0, c1);
    recalcUpTo(doc);

    EXPECT_EQ(pastePicture(doc, {}, CreationOptions{}), nullptr);
    EXPECT_FALSE(canUndo(doc));

    seg->selected = 1;
    Element* anchored = pastePicture(doc, {'B', 'M'}, CreationOptions{});
    ASSERT_NE(anchored, nullptr);
    EXPECT_EQ(anchored->method, Method::Bitmap);
    EXPECT_EQ(anchored->parent1, seg);
    EXPECT_EQ(anchored->selected, 1);
    EXPECT_TRUE(canUndo(doc));

    doc.selectNone();
    circle->selected = 1;
    seg->selected = 1; // the first selected is the circle
    Element* free = pastePicture(doc, {'B', 'M', 9}, CreationOptions{});
    EXPECT_EQ(free->parent1, nullptr);
    EXPECT_EQ(free->value[0], -40);
    EXPECT_EQ(free->value[1], 30);
    EXPECT_EQ(free->tailAs<BitmapTail>()->picture.size(), 3u);

    doc.selectNone();
    c1->selected = 1;
    Element* onPoint = pastePicture(doc, {'B', 'M'}, CreationOptions{});
    EXPECT_EQ(onPoint->parent1, c1);
    EXPECT_EQ(onPoint->option, 1);
}
