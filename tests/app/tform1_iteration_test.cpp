// The iteration tool in the window: its dialog stays beside the drawing, clicks fill the current
// list, the number of iterations is asked for, and the new iteration draws its copies.
#include "app/testwindow.h"

#include "construction/builder.h"
#include "dialogs/tv_iterac.h"
#include "model/iteration.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace qorv;
using namespace qorv::testing;

namespace {

class IterationWindow : public WindowTest {
  protected:
    QPushButton* button(const char* name) {
        return w->iteration().dialog()->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QStringList lines() {
        QStringList out;
        for (int i = 0; i < w->iteration().dialog()->list()->count(); ++i)
            out << w->iteration().dialog()->list()->item(i)->text();
        return out;
    }
    QColor at(double x, double y) { return w->canvas().mainBitmap().pixelColor(pixel(x, y)); }
};

TEST_F(IterationWindow, ListsFilledInTheDrawingMakeAnIterationThatDrawsItsCopies) {
    ConstructionBuilder b(w->document());
    Element* a = b.point(-160, 0);
    Element* c = b.point(160, 0);
    Element* m = b.make(Method::Midpoint, a, c);
    w->canvas().recalculateAndRedraw();
    const QColor ground = at(120, 0);

    w->chooseTool(Tool::Iteration);
    ASSERT_NE(w->iteration().dialog(), nullptr);
    EXPECT_TRUE(w->iteration().dialog()->isVisible());
    EXPECT_EQ(lines(), QStringList{QStringLiteral("Elementos")});
    EXPECT_FALSE(button("B_nueva")->isEnabled());
    EXPECT_FALSE(button("B_destino")->isEnabled());
    EXPECT_TRUE(button("B_numit")->isEnabled());

    button("B_elegir")->click();
    click(-160, 0);
    EXPECT_EQ(a->selected, 1);
    EXPECT_EQ(lines(), QStringList{QStringLiteral("Elementos: 1")});
    EXPECT_TRUE(button("B_destino")->isEnabled());
    button("B_destino")->click();
    click(0, 0);
    click(160, 0); // a click on an element already in the list takes it out again
    click(160, 0);
    EXPECT_EQ(lines(),
              (QStringList{QStringLiteral("Elementos: 1"), QStringLiteral("ElementosI1: 1'")}));
    EXPECT_TRUE(button("B_nueva")->isEnabled());

    // The count asked for after a click on an empty place.
    dialogs.whenModal([](QDialog& d) {
        auto& ni = static_cast<TV_iterac_ni&>(d);
        EXPECT_EQ(ni.edit()->text(), QStringLiteral("3")); // the general option's default
        ni.edit()->setText(QStringLiteral("4"));
        ni.accept();
    });
    button("B_numit")->click();
    click(0, 120);
    ASSERT_EQ(w->document().tail->method, Method::Iteration);
    const Element* it = w->document().tail;
    EXPECT_EQ(it->tailAs<IterationTail>()->iterations, 4);
    EXPECT_EQ(it->tailAs<IterationTail>()->participants[1].ptr, m);
    EXPECT_EQ(w->currentTool(), Tool::Move);
    EXPECT_FALSE(w->iteration().dialog()->isVisible());

    // The copies of the midpoint: 80, 120, 140, 150 (halving the way to the corner).
    const QColor own = QColor(colorRed(it->color), colorGreen(it->color), colorBlue(it->color));
    for (double x : {80.0, 120.0, 140.0, 150.0})
        EXPECT_EQ(at(x, 0), own) << x;
    EXPECT_NE(ground, own);
}

TEST_F(IterationWindow, CancelLeavesTheToolAndANonIntegerCountIsIgnored) {
    TV_iterac_ni ni(5);
    ni.edit()->setText(QStringLiteral("2,5"));
    EXPECT_EQ(ni.number(), 5);
    ni.edit()->setText(QStringLiteral("-3"));
    EXPECT_EQ(ni.number(), 1);
    ni.edit()->setText(QStringLiteral("12"));
    EXPECT_EQ(ni.number(), 12);

    w->chooseTool(Tool::Iteration);
    button("B_cancelar")->click();
    EXPECT_EQ(w->currentTool(), Tool::Move);
    EXPECT_FALSE(w->iteration().dialog()->isVisible());
}

} // namespace
