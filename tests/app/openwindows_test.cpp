// The construction list and the calculator stay open while the document changes under them: a
// deletion, an undo and a switch of documents each leave both windows showing the current
// document, and neither keeps an element that is not in it.
#include "app/testwindow.h"
#include "calc/calculator.h"
#include "construction/builder.h"
#include "dialogs/tedit_elem.h"
#include "dialogs/tv_calc.h"
#include "dialogs/tv_lista.h"
#include "view/tooltable.h"

#include <QPushButton>
#include <QTreeWidget>

namespace qorv::testing {
namespace {

class OpenWindows : public WindowTest {
  protected:
    // What the list shows: its caption and its first column.
    QString caption() const { return w->elementDialogs().constructionList()->windowTitle(); }
    int rows() const { return w->elementDialogs().constructionList()->list()->topLevelItemCount(); }
    // The elements the calculator holds, each checked to be in the current document.
    int held(bool* allInDocument) const {
        int n = 0;
        *allInDocument = true;
        w->calculator().window()->calculator().forEachHeld([&](Element*& e) {
            if (!e) return;
            ++n;
            bool there = false;
            for (const Element* x = w->document().head; x && !there; x = x->next)
                there = x == e;
            *allInDocument = *allInDocument && there;
        });
        return n;
    }
};

TEST_F(OpenWindows, TheListAndTheCalculatorFollowDeleteUndoAndSwitch) {
    Document& first = w->document();
    ConstructionBuilder build(first);
    Element* a = build.point(0, 0);
    Element* b = build.point(50, 0);
    w->recordUndoStep();
    build.req.value[2] = 100; // the distance's text
    build.req.value[3] = 100;
    Element* distance = build.make(Method::DistancePointPoint, a, b);
    w->canvas().recalculateAndRedraw();

    action("M_lista")->trigger();
    ASSERT_NE(w->elementDialogs().constructionList(), nullptr);
    ASSERT_EQ(rows(), 3);
    EXPECT_TRUE(caption().endsWith(QStringLiteral("Documento 1"))) << caption().toStdString();

    w->chooseTool(Tool::Calculate);
    ASSERT_NE(w->calculator().window(), nullptr);
    ASSERT_TRUE(w->calculator().window()->isVisible());
    PixelBox box; // the distance goes into the calculator
    ASSERT_TRUE(w->canvas().elementBox(*distance, box));
    QTest::mouseClick(area(), Qt::LeftButton, {},
                      QPoint(int(box.x + box.w / 2), int(box.y + box.h / 2)));
    bool inDocument = false;
    ASSERT_EQ(held(&inDocument), 1);

    // "Eliminar" in the properties dialog opened from the list deletes b and the distance.
    dialogs.whenModal([](QDialog& d) {
        ASSERT_NE(dynamic_cast<TEdit_elem*>(&d), nullptr);
        d.findChild<QPushButton*>(QStringLiteral("Bborrar"))->click();
    });
    QTreeWidget* list = w->elementDialogs().constructionList()->list();
    emit list->itemDoubleClicked(list->topLevelItem(1), 0);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(held(&inDocument), 0);
    EXPECT_TRUE(w->calculator().window()->isVisible());

    w->edit().undo();
    EXPECT_EQ(rows(), 3);
    // What the calculator holds (found again by id, or dropped) is in the list the undo
    // installed.
    held(&inDocument);
    EXPECT_TRUE(inDocument);
    // Undo chose the move tool; back in the calculator, the distance of the new list is taken.
    w->chooseTool(Tool::Calculate);
    ASSERT_TRUE(w->canvas().elementBox(*first.tail, box));
    QTest::mouseClick(area(), Qt::LeftButton, {},
                      QPoint(int(box.x + box.w / 2), int(box.y + box.h / 2)));
    ASSERT_EQ(held(&inDocument), 1);
    EXPECT_TRUE(inDocument);

    ASSERT_TRUE(w->documents().newDocument());
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(caption().endsWith(QStringLiteral("Documento 2"))) << caption().toStdString();
    EXPECT_EQ(held(&inDocument), 0);
    ConstructionBuilder(w->document()).point(10, 10);

    w->documents().switchTo(0);
    ASSERT_EQ(&w->document(), &first);
    EXPECT_EQ(rows(), 3);
    EXPECT_TRUE(caption().endsWith(QStringLiteral("Documento 1"))) << caption().toStdString();
    EXPECT_EQ(held(&inDocument), 0);
    // A double click on the list edits an element of the document shown.
    // (Its place in the document, taken before Cancel puts back new records.)
    int place = -1;
    dialogs.whenModal([&](QDialog& d) {
        const Element* edited = dynamic_cast<TEdit_elem&>(d).element();
        int i = 0;
        for (const Element* e = w->document().head; e; e = e->next, ++i)
            if (e == edited) place = i;
        d.reject();
    });
    emit list->itemDoubleClicked(list->topLevelItem(2), 0);
    EXPECT_EQ(place, 2);
}

} // namespace
} // namespace qorv::testing
