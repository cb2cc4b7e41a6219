#include "construction/builder.h"
#include "construction/create.h"
#include "model/docfile.h"
#include "model/document.h"
#include "model/uitext.h"

#include <gtest/gtest.h>

#include <set>

using namespace qorv;

namespace {

struct Builder : OwningBuilder {
    std::vector<Element*> list() {
        std::vector<Element*> v;
        for (Element* e = doc.head; e; e = e->next)
            v.push_back(e);
        return v;
    }
    bool contains(const Element* x) {
        for (Element* e = doc.head; e; e = e->next)
            if (e == x) return true;
        return false;
    }
    // Points a, b, c; the triangle abc, axes on a, the coordinates of c; then a free point.
    struct Owners {
        Element *a, *b, *c, *poly, *axes, *coords, *last;
    };
    Owners owners() {
        Owners o;
        o.a = point(0, 0);
        o.b = point(1, 0);
        o.c = point(0, 1);
        o.poly = make(Method::Polygon, nullptr, nullptr, nullptr, {o.a, o.b, o.c});
        o.axes = make(Method::Axes, o.a);
        o.coords = make(Method::Coordinates, o.c, o.axes);
        o.last = point(5, 5);
        return o;
    }
};

} // namespace

TEST(KindTable, MethodsMapToTheirKinds) {
    EXPECT_EQ(kindOf(Method::FreePoint), Kind::Point);
    EXPECT_EQ(kindOf(Method::RayThroughTwoPoints), Kind::Ray);
    EXPECT_EQ(kindOf(Method::PolygonSide), Kind::Segment);
    EXPECT_EQ(kindOf(Method::Locus), Kind::Locus);
    EXPECT_EQ(kindOf(Method::Calculation), Kind::Number);
    EXPECT_EQ(kindOf(Method::Table), Kind::Table);
    EXPECT_EQ(kindOf(Method::AxisX), Kind::Line);
    EXPECT_EQ(kindOf(Method::AxisY), Kind::Line);
    EXPECT_EQ(kindOf(Method::CoordinateY), Kind::Number);
    EXPECT_EQ(kindOf(Method::Text), Kind::Text);
    EXPECT_EQ(kindOf(Method::PointWithCoordinates), Kind::Point);
    EXPECT_EQ(kindOf(Method::AlignmentCheck), Kind::Property);
    EXPECT_EQ(kindOf(Method::Intersection), Kind::Intersection);
    EXPECT_EQ(kindOf(Method::ConicEquation), Kind::Equation);
    EXPECT_EQ(kindOf(Method::Parameter), Kind::Number);
    EXPECT_EQ(kindOf(Method::FunctionGraph), Kind::Locus);
    EXPECT_EQ(kindOf(Method::Bitmap), Kind::Bitmap);
    EXPECT_EQ(kindOf(Method::Vector), Kind::Vector);
    EXPECT_EQ(kindOf(Method::Iteration), Kind::Iteration);
    EXPECT_EQ(kindOf(Method::CircleRadiusNumberCentre), Kind::Circle);
    EXPECT_EQ(kindOf(74), -1);
    EXPECT_EQ(kindOf(-1), -1);
    std::set<int> textLike;
    for (int k = 0; k < Kind::Count; ++k)
        if (isTextLike(k)) textLike.insert(k);
    EXPECT_EQ(textLike, (std::set<int>{9, 10, 11, 12, 14, 15, 16, 17, 21}));
    EXPECT_FALSE(carriesFont(Kind::Text));
    EXPECT_TRUE(carriesFont(Kind::Button));
}

TEST(CreateElement, CommonFieldsAndStyles) {
    Builder b;
    b.opts.decimals = 4;
    Element* p = b.point(3, 4);
    EXPECT_EQ(b.doc.modified, 1);
    EXPECT_EQ(p->value[0], 3);
    EXPECT_EQ(p->value[1], 4);
    EXPECT_EQ(p->defined, 1);
    EXPECT_EQ(p->visible, 1);
    EXPECT_EQ(p->decimals, 4);
    EXPECT_EQ(p->color, b.doc.kindColors[Kind::Point]);
    EXPECT_EQ(p->shape, b.doc.kindShapes[Kind::Point]);
    EXPECT_EQ(p->font, nullptr);
    // The request is reset after creation.
    EXPECT_EQ(b.req.option, -1);
    EXPECT_EQ(b.req.value[0], 0);
    EXPECT_EQ(b.req.parent1, nullptr);

    // A text-like element has no shape even when the kind's default says otherwise.
    b.doc.kindShapes[Kind::Number] = 3;
    Element* d = b.make(Method::DistancePointPoint, p, p);
    EXPECT_EQ(d->shape, -1);
    ASSERT_NE(d->font, nullptr);
    EXPECT_EQ(*d->font, b.doc.fonts[FontSlot::Numbers]);
    EXPECT_EQ(d->color, b.doc.fonts[FontSlot::Numbers].color);
    EXPECT_EQ(d->option, HasValue);
    EXPECT_EQ(d->option2, HasValue);
    EXPECT_EQ(d->unitShown, 1);
    Element* c = b.make(Method::CircleCentrePoint, p, b.point(5, 4));
    EXPECT_EQ(b.make(Method::CircleArea, c)->unitShown, 2);
    EXPECT_EQ(b.make(Method::AngleValue, p, p, p)->unitShown, 3);
    EXPECT_EQ(b.make(Method::Slope, c)->unitShown, 0);

    // The chosen colour applies when its tool-bar option is on.
    b.opts.applyChosenColor = true;
    b.opts.chosenColor = 0x123456;
    EXPECT_EQ(b.point(0, 0)->color, 0x123456);
}

TEST(CreateElement, IntersectionOptionsAndAngleMark) {
    Builder b;
    Element* a = b.point(0, 0);
    b.req.option = 42;
    b.req.option2 = 3;
    Element* i = b.make(Method::IntersectionPoint, a, a);
    EXPECT_EQ(i->option, 42);
    EXPECT_EQ(i->option2, 3);
    b.req.option = 7;
    b.req.option2 = 3;
    Element* j = b.make(Method::IntersectionPoint, a, a);
    EXPECT_EQ(j->option, 7);
    EXPECT_EQ(j->option2, 0);
    b.opts.angleMarkFactor = 0.2;
    EXPECT_DOUBLE_EQ(b.make(Method::Angle, a, a, a)->value[1], 0.2);
}

TEST(CreateElement, PolygonOfNVerticesHasNSidesClosingToTheFirst) {
    for (int n : {3, 5, 8}) {
        Builder b;
        std::vector<Element*> v;
        for (int i = 0; i < n; ++i)
            v.push_back(b.point(i, i * i));
        Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, v);
        auto* t = poly->tailAs<PolygonTail>();
        ASSERT_NE(t, nullptr);
        ASSERT_EQ(int(t->sides.size()), n);
        for (int i = 0; i < n; ++i) {
            const Element& s = *t->sides[size_t(i)];
            EXPECT_EQ(s.method, Method::PolygonSide);
            EXPECT_EQ(s.parent1, v[size_t(i)]);
            EXPECT_EQ(s.parent2, v[size_t((i + 1) % n)]);
            EXPECT_EQ(s.parent3, poly);
            EXPECT_EQ(s.color, poly->color);
            EXPECT_EQ(s.shape, poly->shape);
            EXPECT_EQ(s.owner, poly);
        }
        EXPECT_EQ(t->sides.back()->parent2, v.front());
    }
}

TEST(CreateElement, PerMethodTails) {
    Builder b;
    Element* o = b.point(0, 0);
    Element* axes = b.make(Method::Axes, o);
    auto* at = axes->tailAs<AxesTail>();
    ASSERT_NE(at, nullptr);
    EXPECT_EQ(at->scaleX, 40.0);
    EXPECT_EQ(at->xAxis->method, Method::AxisX);
    EXPECT_EQ(at->yAxis->method, Method::AxisY);
    EXPECT_EQ(at->xAxis->parent1, o);
    EXPECT_EQ(at->yAxis->parent2, axes);

    b.doc.coordinateSystem = 1;
    Element* coords = b.make(Method::Coordinates, o, axes);
    auto* ct = coords->tailAs<CoordinatesTail>();
    ASSERT_NE(ct, nullptr);
    EXPECT_EQ(coords->option, NoValue);
    EXPECT_EQ(coords->option2, HasValue);
    EXPECT_DOUBLE_EQ(coords->value[1], 7 * 3.141592653589793 / 4);
    EXPECT_EQ(ct->xCoord->method, Method::CoordinateX);
    EXPECT_EQ(ct->yCoord->parent2, coords);
    EXPECT_EQ(ct->yCoord->option, HasValue);

    b.opts.locusPoints = 120;
    Element* driver = b.make(Method::PointOnElement, axes);
    Element* locus = b.make(Method::Locus, o, driver);
    EXPECT_EQ(locus->tailAs<SampledCurveTail>()->first.size(), 120u);
    Element* seg = b.make(Method::Segment, o, driver);
    EXPECT_EQ(b.make(Method::Locus, seg, driver)->tailAs<SampledCurveTail>()->first.size(), 50u);
    EXPECT_EQ(b.make(Method::Locus, locus, driver)->tailAs<SampledCurveTail>()->first.size(), 30u);

    Element* check = b.make(Method::PerpendicularCheck, seg, seg);
    EXPECT_EQ(check->tailAs<CheckTail>()->trueText, "perpendicular");
    EXPECT_EQ(check->tailAs<CheckTail>()->falseText, "no perpendicular");

    b.req.value[0] = 3.7;
    Element* param = b.make(Method::Parameter);
    EXPECT_EQ(param->tailAs<ParameterTail>()->minimum, -6.0);
    EXPECT_EQ(param->tailAs<ParameterTail>()->maximum, 13.0);

    Element* hidden = b.point(1, 1);
    hidden->visible = 0;
    Element* button = b.make(Method::ShowHideButton, nullptr, nullptr, nullptr, {o, hidden});
    auto* bt = button->tailAs<ButtonTail>();
    ASSERT_NE(bt, nullptr);
    EXPECT_EQ(bt->states, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(button->color, 0);
    EXPECT_EQ(button->shape, 12632256);
    EXPECT_EQ(button->option2, 1);

    b.req.text = "uno\ndos";
    b.req.value[2] = 12.9;
    b.req.value[3] = -3.5;
    Element* text = b.make(Method::Text);
    auto* tt = text->tailAs<TextTail>();
    EXPECT_EQ(text->option, 2);
    EXPECT_EQ(tt->x, 12);
    EXPECT_EQ(tt->y, -3);
    ASSERT_EQ(tt->runs.size(), 1u);
    EXPECT_EQ(tt->runs[0].length, 3 + 2 + 3);
    EXPECT_EQ(text->font, nullptr);
    EXPECT_EQ(text->shape, -1);

    Element* prop = b.make(Method::Proportion, seg, seg);
    EXPECT_EQ(prop->option, HasValue);
    EXPECT_EQ(prop->option2, NoValue);
}

TEST(Names, NameOptionAndPlacementFollowTheNamedKind) {
    Builder b;
    Element* p = b.point(0, 0);
    setName(b.doc, p, "A", b.opts);
    ASSERT_NE(p->nameElement, nullptr);
    Element* n = p->nameElement;
    EXPECT_EQ(n->parent1, p);
    EXPECT_EQ(n->option, 1);
    EXPECT_EQ(n->tailAs<NameTail>()->placement[0], 4.0);
    EXPECT_EQ(*n->font, b.doc.fonts[FontSlot::Names]);
    EXPECT_EQ(b.doc.nameOf(p), "A");

    setName(b.doc, p, "B", b.opts);
    EXPECT_EQ(p->nameElement, n);
    EXPECT_EQ(b.doc.nameOf(p), "B");

    Element* q = b.point(1, 0);
    Element* d = b.make(Method::DistancePointPoint, p, q);
    setName(b.doc, d, "d", b.opts);
    EXPECT_EQ(d->nameElement->option, 0);
    Element* s = b.make(Method::Segment, p, q);
    setName(b.doc, s, "s", b.opts);
    EXPECT_EQ(s->nameElement->value[3], 0.5);

    Element* c = b.make(Method::CircleCentrePoint, p, q);
    b.opts.lastClick = Point2{0, 2};
    setName(b.doc, c, "c", b.opts);
    EXPECT_NEAR(c->nameElement->value[3], 3.141592653589793 / 2, 1e-12);

    setName(b.doc, p, "", b.opts);
    EXPECT_EQ(p->nameElement, nullptr);
    EXPECT_FALSE(b.contains(n));
}

TEST(Renumber, SubElementsFollowTheirOwner) {
    Builder b;
    const auto [a, bb, c, poly, axes, coords, last] = b.owners();
    b.doc.renumber();
    EXPECT_EQ(a->id, 1);
    EXPECT_EQ(c->id, 3);
    EXPECT_EQ(poly->id, 4);
    auto* pt = poly->tailAs<PolygonTail>();
    EXPECT_EQ(pt->sides[0]->id, 5);
    EXPECT_EQ(pt->sides[2]->id, 7);
    EXPECT_EQ(axes->id, 8);
    EXPECT_EQ(axes->tailAs<AxesTail>()->yAxis->id, 10);
    EXPECT_EQ(coords->id, 11);
    EXPECT_EQ(last->id, 14);

    EXPECT_EQ(b.doc.findById(6), pt->sides[1].get());
    EXPECT_EQ(b.doc.findById(13), coords->tailAs<CoordinatesTail>()->yCoord.get());
    EXPECT_EQ(b.doc.findById(14), last);
    EXPECT_EQ(b.doc.findById(15), nullptr);
    EXPECT_EQ(b.doc.findById(-1), nullptr);
    EXPECT_EQ(b.doc.findById(0), nullptr);
}

TEST(Delete, ChainsThroughEveryKindOfDependency) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* q = b.point(3, 0);
    Element* other = b.point(9, 9);
    Element* line = b.make(Method::LineThroughTwoPoints, a, q);
    Element* seg = b.make(Method::Segment, other, q);
    Element* dist = b.make(Method::DistancePointLine, other, line);
    setName(b.doc, line, "r", b.opts);
    Element* name = line->nameElement;
    Element* table = b.make(Method::Table, nullptr, nullptr, nullptr, {dist});
    Element* button = b.make(Method::ShowHideButton, nullptr, nullptr, nullptr, {seg});
    Element* calc = b.make(Method::Calculation, nullptr, nullptr, nullptr, {dist});
    Element* iter = b.make(Method::Iteration);
    iter->tailAs<IterationTail>()->participants = {Ref(calc)};
    // Coloured by a number that comes later than itself: reached by the colour restart.
    Element* early = other;
    early->colorParam = calc;
    Element* survivor = b.point(7, 7);
    b.doc.traceList.push_back(dist);
    b.doc.animations.push_back(AnimationRecord{q, {1, 2, 3}});

    b.doc.deleteWithDescendants(q);
    for (Element* gone : {q, line, seg, dist, name, table, button, calc, iter, early})
        EXPECT_FALSE(b.contains(gone));
    EXPECT_TRUE(b.contains(a));
    EXPECT_TRUE(b.contains(survivor));
    EXPECT_TRUE(b.doc.traceList.empty());
    EXPECT_TRUE(b.doc.animations.empty());
    EXPECT_EQ(b.doc.head, a);
    EXPECT_EQ(b.doc.tail, survivor);
    EXPECT_EQ(a->next, survivor);
    EXPECT_EQ(survivor->prev, a);
}

TEST(Delete, ElementsBuiltOnAPolygonSideGoWithTheVertex) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(1, 0);
    Element* d = b.point(0, 1);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, d});
    Element* side = poly->tailAs<PolygonTail>()->sides[1].get();
    Element* len = b.make(Method::SegmentLength, side);
    Element* area = b.make(Method::PolygonArea, poly);
    b.doc.deleteWithDescendants(d);
    EXPECT_FALSE(b.contains(poly));
    EXPECT_FALSE(b.contains(len));
    EXPECT_FALSE(b.contains(area));
    EXPECT_EQ(b.list(), (std::vector<Element*>{a, c}));
}

// Names, traces and animations may point at a side, an axis line or a coordinate number; the
// owner's deletion must take them all, and must not touch the sub-elements once freed.
TEST(Delete, ReferencesToSubElementsGoWithTheirOwner) {
    Builder b;
    const auto [a, bb, c, poly, axes, coords, keep] = b.owners();
    b.doc.traceList.push_back(keep);
    b.doc.animations.push_back(AnimationRecord{keep, {1, 2, 3}});
    for (Element* owner : {poly, axes, coords}) {
        Element* first = owner->subElement(0);
        Element* second = owner->subElement(1);
        setName(b.doc, first, "s", b.opts);
        ASSERT_NE(first->nameElement, nullptr);
        b.doc.traceList.push_back(second);
        b.doc.animations.push_back(AnimationRecord{first, {1, 2, 3}});
    }
    setName(b.doc, keep, "k", b.opts);

    b.doc.deleteWithDescendants(coords->subElement(1)); // a coordinate number takes its owner
    b.doc.deleteWithDescendants(c);                     // takes the polygon
    b.doc.deleteWithDescendants(a);                     // takes the axes
    EXPECT_EQ(b.list(), (std::vector<Element*>{bb, keep, keep->nameElement}));
    EXPECT_EQ(b.doc.traceList, (std::vector<Element*>{keep}));
    ASSERT_EQ(b.doc.animations.size(), 1u);
    EXPECT_EQ(b.doc.animations[0].element, keep);
}

TEST(Delete, HeadAndTailStayRight) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(1, 0);
    Element* d = b.point(2, 0);
    b.doc.deleteWithDescendants(d);
    EXPECT_EQ(b.doc.tail, c);
    EXPECT_EQ(c->next, nullptr);
    b.doc.deleteWithDescendants(a);
    EXPECT_EQ(b.doc.head, c);
    EXPECT_EQ(c->prev, nullptr);
    b.doc.deleteWithDescendants(c);
    EXPECT_EQ(b.doc.head, nullptr);
    EXPECT_EQ(b.doc.tail, nullptr);
    // The list grows again normally afterwards.
    Element* e = b.point(3, 3);
    EXPECT_EQ(b.doc.head, e);
    EXPECT_EQ(b.doc.tail, e);
}

// A damaged file can give a sub-element an end point or an origin that its owner does not list:
// a side that does not start where the one before it ends, an axis line or a coordinate number on
// another point. The owner depends on that element all the same: it goes with it, and it is among
// its parents.
TEST(Delete, OwnersGoWithWhatTheirSubElementsReferTo) {
    for (int which = 0; which < 3; ++which) {
        Builder b;
        Element* a = b.point(0, 0);
        Element* c = b.point(1, 0);
        Element* d = b.point(0, 1);
        if (which == 0) {
            Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, d});
            poly->tailAs<PolygonTail>()->sides[2]->parent1 = nullptr; // d: only side 1's end
        } else if (which == 1) {
            b.make(Method::Axes, a)->tailAs<AxesTail>()->xAxis->parent1 = d;
        } else {
            b.make(Method::Coordinates, a)->tailAs<CoordinatesTail>()->yCoord->parent1 = d;
        }
        const std::vector<uint8_t> file = encodeDocument(b.doc);
        Document doc;
        ASSERT_EQ(readDocumentData(doc, file.data(), file.size(), FileType::Document).kind,
                  FileKind::Document);
        Element* owner = doc.tail;
        Element* target = owner->prev;
        owner->selected = 1;
        EXPECT_TRUE(doc.selectParents());
        EXPECT_EQ(target->selected, 1) << which;
        doc.deleteWithDescendants(target);
        EXPECT_EQ(doc.elementCount(), 2) << which;
        EXPECT_EQ(doc.tail->method, Method::FreePoint) << which;
    }
}

// A side coloured by a number further down the list goes with that number, like its owner would.
TEST(Delete, ASideColouredByALaterNumberTakesItsPolygonAlong) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(1, 0);
    Element* d = b.point(0, 1);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, d});
    Element* param = b.make(Method::Parameter);
    poly->tailAs<PolygonTail>()->sides[1]->colorParam = param;
    b.doc.deleteWithDescendants(param);
    EXPECT_EQ(b.list(), (std::vector<Element*>{a, c, d}));
}

TEST(Delete, SelectedAndAll) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(1, 0);
    Element* s = b.make(Method::Segment, a, c);
    Element* d = b.point(5, 5);
    Element* e = b.point(6, 6);
    a->selected = 1;
    e->selected = 1;
    b.doc.deleteSelected();
    EXPECT_EQ(b.list(), (std::vector<Element*>{c, d}));
    (void)s;
    b.doc.modified = 0;
    b.doc.deleteAll();
    EXPECT_EQ(b.doc.head, nullptr);
    EXPECT_EQ(b.doc.modified, 1);
}

TEST(Select, ChildrenAndParents) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(1, 0);
    Element* loose = b.point(4, 4);
    Element* mid = b.make(Method::Midpoint, a, c);
    Element* line = b.make(Method::LineThroughTwoPoints, mid, loose);
    Element* dist = b.make(Method::DistancePointPoint, a, loose);

    a->selected = 1;
    EXPECT_TRUE(b.doc.selectChildren());
    EXPECT_FALSE(a->selected);
    EXPECT_TRUE(mid->selected);
    EXPECT_TRUE(line->selected);
    EXPECT_TRUE(dist->selected);
    EXPECT_FALSE(c->selected);
    EXPECT_FALSE(loose->selected);

    b.doc.selectNone();
    line->selected = 1;
    EXPECT_TRUE(b.doc.selectParents());
    EXPECT_FALSE(line->selected);
    EXPECT_TRUE(mid->selected);
    EXPECT_TRUE(a->selected);
    EXPECT_TRUE(c->selected);
    EXPECT_TRUE(loose->selected);
    EXPECT_FALSE(dist->selected);

    b.doc.selectNone();
    dist->selected = 1;
    EXPECT_FALSE(b.doc.selectChildren());
    EXPECT_EQ(b.doc.selectedCount(), 0);
}

TEST(Select, ByKindFollowsTheSelectableRules) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* hidden = b.point(1, 0);
    hidden->visible = 0;
    Element* internal = b.point(2, 0);
    internal->visible = Internal;
    Element* undefinedPt = b.point(3, 0);
    undefinedPt->defined = 0;
    Element* seg = b.make(Method::Segment, a, hidden);

    b.doc.selectKind(Kind::Point, false);
    EXPECT_TRUE(a->selected);
    EXPECT_FALSE(hidden->selected);
    EXPECT_FALSE(internal->selected);
    EXPECT_FALSE(undefinedPt->selected);
    EXPECT_FALSE(seg->selected);
    EXPECT_TRUE(b.doc.hasUnselectedSelectable(Kind::Segment, false));
    EXPECT_FALSE(b.doc.hasUnselectedSelectable(Kind::Point, false));
    EXPECT_TRUE(b.doc.hasUnselectedSelectable(Kind::Point, true));

    // Twice in a row leaves the selection unchanged.
    b.doc.selectKind(Kind::Point, false);
    EXPECT_EQ(b.doc.selectedCount(), 1);

    b.doc.selectKind(Kind::Point, true);
    EXPECT_TRUE(hidden->selected);
    EXPECT_FALSE(internal->selected);
    EXPECT_EQ(b.doc.selectedCount(), 2);

    b.doc.selectNone();
    setName(b.doc, a, "A", b.opts);
    Element* d = b.make(Method::DistancePointPoint, a, hidden);
    setName(b.doc, d, "d", b.opts);
    b.doc.selectKind(Kind::Name, false);
    EXPECT_TRUE(a->nameElement->selected);
    EXPECT_FALSE(d->nameElement->selected);
    EXPECT_FALSE(b.doc.selectionHasTextLike() == false);

    b.doc.selectNone();
    b.doc.selectKinds({Kind::Segment, Kind::Number}, false);
    EXPECT_TRUE(seg->selected);
    EXPECT_TRUE(d->selected);
    EXPECT_TRUE(b.doc.selectionHasTextLike());

    b.doc.selectAll();
    EXPECT_TRUE(internal->selected);
    EXPECT_FALSE(b.doc.isListable(a->nameElement, true));
    EXPECT_FALSE(b.doc.isListable(hidden, false));
    EXPECT_TRUE(b.doc.isListable(hidden, true));
    EXPECT_FALSE(b.doc.isListable(internal, true));
}

TEST(Axes, FindAndCreate) {
    Builder b;
    EXPECT_EQ(findAxes(b.doc, false, b.opts), nullptr);
    Element* made = findAxes(b.doc, true, b.opts);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->method, Method::Axes);
    ASSERT_NE(made->parent1, nullptr);
    EXPECT_EQ(made->parent1->visible, 0);
    EXPECT_EQ(findAxes(b.doc, true, b.opts), made);
    EXPECT_EQ(b.doc.elementCount(), 2);

    Element* second = b.make(Method::Axes, made->parent1);
    made->visible = 0;
    EXPECT_EQ(findAxes(b.doc, false, b.opts), second); // the only visible one
    made->visible = 1;
    EXPECT_EQ(findAxes(b.doc, false, b.opts), made); // two visible: the first
}

TEST(Clone, CopiesTailsAndSubElementsDeeply) {
    Builder b;
    Element* a = b.point(0, 0);
    Element* c = b.point(1, 0);
    Element* d = b.point(0, 1);
    Element* poly = b.make(Method::Polygon, nullptr, nullptr, nullptr, {a, c, d});
    auto copy = poly->clone();
    auto* t = copy->tailAs<PolygonTail>();
    ASSERT_NE(t, nullptr);
    ASSERT_EQ(t->sides.size(), 3u);
    EXPECT_NE(t->sides[0].get(), poly->tailAs<PolygonTail>()->sides[0].get());
    EXPECT_EQ(t->sides[0]->owner, copy.get());
    EXPECT_EQ(t->sides[0]->parent1, a);
    EXPECT_EQ(copy->next, nullptr);
}

TEST(UiText, SlotsAreCutToTheirSize) {
    UiTextTable t;
    EXPECT_EQ(t.kindName(Kind::Circle), "circunferencia");
    EXPECT_EQ(t.kindName(29), "coordenada y o theta");
    EXPECT_EQ(t.methodName(Method::CircleRadiusNumberCentre),
              "Circunferencia dados el radio(numero) y el centro");
    EXPECT_EQ(t.checkWord(Method::AlignmentCheck, false), "no alineados");
    EXPECT_EQ(t.message(Msg::InvalidFile), "no es un archivo válido");
    t.setKindName(0, std::string(200, 'x'));
    EXPECT_EQ(t.kindName(0).size(), 79u);
    t.setMessage(0, std::string(400, 'y'));
    EXPECT_EQ(t.message(0).size(), 255u);
    EXPECT_EQ(t.kindName(99), "");
    t.fillBuiltInTexts();
    EXPECT_EQ(t.kindName(0), "punto");
}
