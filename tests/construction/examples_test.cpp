#include "construction/examples.h"
#include "geometry/iteration.h"
#include "geometry/recalc.h"
#include "model/docfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

using namespace qorv;

namespace {

std::vector<Element*> listOf(Document& doc) {
    std::vector<Element*> v;
    for (Element* e = doc.head; e; e = e->next)
        v.push_back(e);
    return v;
}

Element* firstOf(Document& doc, int method, int skip = 0) {
    for (Element* e = doc.head; e; e = e->next)
        if (e->method == method && skip-- == 0) return e;
    return nullptr;
}

double dist(const Element* a, double x, double y) {
    return std::hypot(a->value[0] - x, a->value[1] - y);
}

} // namespace

TEST(Examples, TriangleMeasuresAgreeWithHandComputedValues) {
    Document doc;
    ASSERT_TRUE(buildExample("triangle", doc));
    recalcUpTo(doc);
    for (Element* e : listOf(doc))
        EXPECT_EQ(e->defined, 1) << "method " << e->method;

    // A(-160,-100), B(180,-80), C(10,150); 40 pixels per centimetre.
    const double ab = std::hypot(340, 20), bc = std::hypot(170, 230), ca = std::hypot(170, 250);
    EXPECT_NEAR(firstOf(doc, Method::DistancePointPoint)->value[0], ab / 40, 1e-12);
    EXPECT_NEAR(firstOf(doc, Method::PolygonPerimeter)->value[0], (ab + bc + ca) / 40, 1e-12);
    EXPECT_NEAR(firstOf(doc, Method::PolygonArea)->value[0], 40800.0 / 1600, 1e-12);
    EXPECT_NEAR(firstOf(doc, Method::AngleValue)->value[0], std::atan2(81600, 62800), 1e-12);

    // The circumcentre is as far from the three vertices; the circle passes through A.
    const Element* o = firstOf(doc, Method::IntersectionPoint, 0);
    const double r = dist(o, -160, -100);
    EXPECT_NEAR(dist(o, 180, -80), r, 1e-9);
    EXPECT_NEAR(dist(o, 10, 150), r, 1e-9);

    // The incentre is as far from the three side lines.
    const Element* in = firstOf(doc, Method::IntersectionPoint, 1);
    auto lineDist = [&](double x1, double y1, double x2, double y2) {
        return std::fabs((x2 - x1) * (in->value[1] - y1) - (y2 - y1) * (in->value[0] - x1)) /
               std::hypot(x2 - x1, y2 - y1);
    };
    const double d1 = lineDist(-160, -100, 180, -80);
    EXPECT_NEAR(lineDist(180, -80, 10, 150), d1, 1e-9);
    EXPECT_NEAR(lineDist(10, 150, -160, -100), d1, 1e-9);

    // Line AC: slope 250/170, through (-4, -2.5) in centimetres.
    const auto* eq = firstOf(doc, Method::LineEquation)->tailAs<EquationTail>();
    EXPECT_EQ(eq->text, "y = 1.47x +3.38");
}

TEST(Examples, ConicIsTheEllipseThroughItsPoints) {
    Document doc;
    ASSERT_TRUE(buildExample("conic", doc));
    recalcUpTo(doc);
    const auto* t = firstOf(doc, Method::Conic)->tailAs<ConicTail>();
    EXPECT_EQ(t->conicType, 1);
    // y^2 + x^2/4 - 10000 = 0, normalised on the y^2 coefficient.
    const double expected[6] = {1, 0, 0.25, 0, 0, -10000};
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(t->coefficients[i], expected[i], 1e-7) << i;
    for (const Point2& s : t->samples)
        EXPECT_NEAR(s.x * s.x / 40000 + s.y * s.y / 10000, 1.0, 1e-9);
}

TEST(Examples, IntersectionsLieOnBothCurves) {
    Document doc;
    ASSERT_TRUE(buildExample("intersections", doc));
    recalcUpTo(doc);
    int found = 0;
    for (Element* e : listOf(doc)) {
        if (e->method != Method::IntersectionPoint) continue;
        ASSERT_EQ(e->defined, 1);
        ++found;
        for (Element* curve : {e->parent1, e->parent2}) {
            const double x = e->value[0], y = e->value[1];
            if (curve->kind() == Kind::Line) {
                const double* v = curve->value;
                EXPECT_NEAR((v[2] - v[0]) * (y - v[1]) - (v[3] - v[1]) * (x - v[0]), 0, 1e-6);
            } else if (curve->kind() == Kind::Circle) {
                const double* v = curve->value;
                EXPECT_NEAR(std::hypot(x - v[0], y - v[1]), std::hypot(v[2] - v[0], v[3] - v[1]),
                            1e-9);
            } else {
                const double* k = curve->tailAs<ConicTail>()->coefficients;
                EXPECT_NEAR(k[0] * y * y + k[1] * x * y + k[2] * x * x + k[3] * y + k[4] * x + k[5],
                            0, 1e-6);
            }
        }
    }
    EXPECT_EQ(found, 7);
    // The two candidates of a line and a circle are distinct points.
    const Element* p6 = firstOf(doc, Method::IntersectionPoint, 1);
    const Element* p7 = firstOf(doc, Method::IntersectionPoint, 2);
    EXPECT_GT(std::hypot(p6->value[0] - p7->value[0], p6->value[1] - p7->value[1]), 100);
}

// Each copy's midpoints lie inside the triangle PQR (0, 300), (-280, -180), (280, -180): a
// point is inside when it is on the inner side of each of the three edges.
TEST(Examples, SierpinskiCopiesStayInsideItsTriangle) {
    Document doc;
    ASSERT_TRUE(buildExample("sierpinski", doc));
    recalcUpTo(doc);
    const Element* it = firstOf(doc, Method::Iteration);
    ASSERT_NE(it, nullptr);
    struct Inside : IterationVisitor {
        int points = 0, outside = 0;
        bool visit(const IterationCopy& c, int32_t) override {
            const double v[3][2] = {{0, 300}, {-280, -180}, {280, -180}};
            for (const Element* e : c.drawn) {
                if (e->kind() != Kind::Point) continue;
                ++points;
                for (int i = 0; i < 3; ++i) {
                    const double* p = v[i];
                    const double* q = v[(i + 1) % 3];
                    const double cross =
                        (q[0] - p[0]) * (e->value[1] - p[1]) - (q[1] - p[1]) * (e->value[0] - p[0]);
                    outside += cross < -1e-9; // the corners run counter-clockwise
                }
            }
            return true;
        }
    } inside;
    EXPECT_EQ(walkIteration(doc, *it, &inside), 3 + 9 + 27 + 81 + 243);
    EXPECT_EQ(inside.points, 3 * (3 + 9 + 27 + 81 + 243));
    EXPECT_EQ(inside.outside, 0);
}

TEST(Examples, BundledFilesAreWhatTheBuilderMakes) {
    for (auto name : exampleNames()) {
        Document doc;
        ASSERT_TRUE(buildExample(name, doc));
        recalcUpTo(doc);
        const std::vector<uint8_t> made = encodeDocument(doc);
        const std::string path =
            std::string(QORV_SOURCE_DIR) + "/examples/" + std::string(name) + ".qrv";
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in) << path << " is missing: run qorv-cli example " << name;
        const std::vector<uint8_t> bundled{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(made, bundled) << path << " is stale: run qorv-cli example " << name;
    }
    Document doc;
    EXPECT_FALSE(buildExample("nothing", doc));
}
