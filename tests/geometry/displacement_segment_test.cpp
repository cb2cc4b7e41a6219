// A segment guides a displaced point like its line: from its first point towards its second,
// whatever point is displaced (the displaced-point tool offers segments as guides).
#include "geometry/transforms.h"

#include "derived_scene.h"

#include <gtest/gtest.h>

using qorv::test::Scene;
using namespace qorv;

TEST(Displacement, AlongASegmentFromItsFirstPoint) {
    Scene s;
    s.doc.pixelsPerUnit = 40;
    s.doc.lengthUnit = LengthUnit::Cm;
    Element* seg = s.straight(Method::Segment, 30, 40, 30, 140); // pointing up
    Element* p = s.point(30, 60);
    Element* d = s.make(Method::DisplacedPoint, p, seg, s.number(1.5)); // 60 world units
    recalcDisplacement(s.doc, *d);
    ASSERT_EQ(d->defined, 1);
    EXPECT_NEAR(d->value[0], 30, 1e-12);
    EXPECT_NEAR(d->value[1], 100, 1e-12);
    // Past its far end it goes on along the line; a segment of no length gives nothing.
    Element* far = s.make(Method::DisplacedPoint, p, seg, s.number(4));
    recalcDisplacement(s.doc, *far);
    EXPECT_NEAR(far->value[1], 200, 1e-12);
    Element* dot = s.straight(Method::Segment, 5, 5, 5, 5);
    Element* none = s.make(Method::DisplacedPoint, p, dot, s.number(1));
    recalcDisplacement(s.doc, *none);
    EXPECT_EQ(none->defined, 0);
}
