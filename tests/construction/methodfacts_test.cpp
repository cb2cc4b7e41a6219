// The facts of the method rows against what recalculation does with the elements of a document
// holding one element of every method.
#include "geometry/elementgeometry.h"
#include "geometry/recalc.h"
#include "model/docfile_samples.h"
#include "model/methodtable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace qorv {
namespace {

// Distance from p to the curve e, computed here from its defining positions; negative when the
// kind is not one of the straight kinds, circles or arcs.
double distanceToCurve(const Element& e, Point2 p) {
    const ElementKind k = e.kind();
    if (k == Kind::Line || k == Kind::Ray || k == Kind::Segment || k == Kind::Vector) {
        const Point2 a{e.value[0], e.value[1]}, b{e.value[2], e.value[3]};
        const double dx = b.x - a.x, dy = b.y - a.y;
        return std::fabs(dx * (p.y - a.y) - dy * (p.x - a.x)) / std::hypot(dx, dy);
    }
    if (k == Kind::Circle) {
        const double r = std::hypot(e.value[2] - e.value[0], e.value[3] - e.value[1]);
        return std::fabs(std::hypot(p.x - e.value[0], p.y - e.value[1]) - r);
    }
    if (k == Kind::Arc) {
        ArcData arc;
        if (!arcDataOf(e, arc) || arc.straight) return -1;
        return std::fabs(std::hypot(p.x - arc.centre.x, p.y - arc.centre.y) - arc.radius);
    }
    return -1;
}

TEST(MethodFacts, TheElementsACurvePassesThroughLieOnIt) {
    testing::SampleDocument s;
    recalcUpTo(s.doc);
    int checked = 0;
    s.doc.forEachWithSubs([&](Element& e) {
        if (!e.defined) return;
        const Element* through[5];
        const int n = throughPointsOf(e, through);
        EXPECT_EQ(n > 0, methodRow(e.method).through != ThroughPoints::None)
            << methodRow(e.method).name;
        for (int i = 0; i < n; ++i) {
            const double d = distanceToCurve(e, {through[i]->value[0], through[i]->value[1]});
            if (d < 0) continue;
            EXPECT_LT(d, 1e-6) << methodRow(e.method).name << ", point " << i;
            ++checked;
        }
    });
    EXPECT_GT(checked, 20);
}

TEST(MethodFacts, RecalculationRebuildsTheValueWordsThatUndoLeavesOut) {
    testing::SampleDocument s;
    recalcUpTo(s.doc);
    std::vector<Element*> all;
    s.doc.forEachWithSubs([&](Element& e) { all.push_back(&e); });
    int checked = 0;
    for (Element* e : all) {
        const ValueWords words = methodRow(e->method).rebuiltByUndo;
        if (!e->defined || !words) continue;
        double kept[4];
        std::memcpy(kept, e->value, sizeof kept);
        for (int i = 0; i < 4; ++i)
            if (words & (1u << i)) e->value[i] = 0;
        recalcUpTo(s.doc);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(e->value[i], kept[i]) << methodRow(e->method).name << ", value " << i;
        ++checked;
    }
    EXPECT_GE(checked, 12);
}

} // namespace
} // namespace qorv
