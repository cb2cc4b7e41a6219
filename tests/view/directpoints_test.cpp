// Points written straight into the image on the plain path come out as the painter paints them.
#include "view/renderer.h"

#include "scene.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace qorv;
using namespace qorv::test;

TEST(DirectPoints, EveryShapeAndTheHighlightMatchThePainterPath) {
    Scene s;
    // Every shape, selected and not, inside, on the edges and half outside the image.
    const double places[][2] = {{20, 180}, {0, 100}, {199, 3}, {100, 0}, {57.4, 123.6}, {1, 199}};
    int count = 0;
    for (int shape = 1; shape <= 6; ++shape)
        for (const auto& p : places) {
            Element* e = s.point(p[0] + shape * 13 % 40, p[1], shape, rgb(250, 40 * shape, 90));
            e->selected = count % 2;
            ++count;
        }
    for (bool showHighlights : {true, false}) {
        RenderOptions o = s.options();
        o.interacting = !showHighlights;
        const QImage direct = s.render(o);
        QImage painted(o.width, o.height, QImage::Format_RGB32);
        painted.fill(Qt::magenta);
        {
            QPainter p(&painted);
            p.setClipRect(QRect(0, 0, o.width, o.height)); // the renderer then leaves all to Qt
            Renderer other;
            other.redraw(p, s.doc, o);
        }
        EXPECT_EQ(direct, painted) << "highlights " << showHighlights;
        int drawn = 0;
        for (int y = 0; y < o.height; ++y)
            for (int x = 0; x < o.width; ++x)
                drawn += at(direct, x, y) != s.doc.background;
        EXPECT_GT(drawn, 150);
    }
}
