// Words from a file that no dialog would set reach the drawing code: a line style, a font size and
// a parametric-colour mode of INT_MIN or INT_MAX draw as the nearest sensible thing, and nothing
// overflows on the way (the sanitized run checks that part).
#include "view/scene.h"

#include <gtest/gtest.h>

#include <climits>

using namespace qorv;
using namespace qorv::test;

TEST(HostileDrawing, ExtremeStylesFontSizesAndColourModesDraw) {
    for (const int32_t word : {INT32_MIN, INT32_MIN + 1, INT32_MAX, INT32_MAX - 63}) {
        SCOPED_TRACE(word);
        Scene s;
        Element* seg = s.straight(Method::Segment, 20, 150, 180, 150, word, rgb(255, 255, 255));
        Element* line = s.straight(Method::LineThroughTwoPoints, 20, 120, 180, 120, word);
        Element* n = s.number(2.25, 20, 60);
        n->font->size = word;
        n->shape = word;
        Element* p = s.point(100, 30, word);
        Element* poly =
            s.polygon({{120, 20}, {190, 20}, {190, 80}}, rgb(0, 255, 0), rgb(0, 0, 255));
        for (Element* e : {line, poly, p}) {
            e->colorParam = n;
            e->colorParamMode = word;
        }
        seg->selected = line->selected = p->selected = 1;
        for (const bool aa : {false, true}) {
            for (const RenderTarget target : {RenderTarget::MainBitmap, RenderTarget::Export}) {
                RenderOptions o = s.options();
                o.antialiased = aa;
                o.target = target;
                const QImage image = s.render(o);
                // The segment across its middle (its style counts as 1), in its own colour on
                // the plain path.
                if (aa)
                    EXPECT_NE(at(image, 100, 50), s.doc.background);
                else
                    EXPECT_EQ(at(image, 100, 50), rgb(255, 255, 255));
            }
        }
    }
}
