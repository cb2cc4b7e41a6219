// The element properties dialog in the window: opened by its tool and by a double click, every
// change shown at once, Cancel taking all back, the name and point-count rules.
#include "app/elementdialogtest.h"
#include "app/windowcontext.h"

#include "construction/builder.h"
#include "construction/create.h"
#include "dialogs/tedit_elem.h"
#include "dialogs/tv_ed_param.h"
#include "dialogs/tv_lista.h"
#include "dialogs/tvcolpar.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "view/qtexts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTreeWidget>

using namespace qorv;
using namespace qorv::testing;

namespace {

TEST_F(ElementDialogWindow, ColourShownAtOnceAndCancelTakesEverythingBack) {
    ConstructionBuilder build(w->document());
    Element* p = build.point(100, -100);
    w->canvas().recalculateAndRedraw();
    Document& doc = w->document();
    doc.modified = 0;
    const Color before = p->color;
    ASSERT_NE(before, 65280);

    bool opened = false;
    dialogs.whenModal([&](QDialog& d) {
        auto& dialog = dynamic_cast<TEdit_elem&>(d);
        opened = true;
        EXPECT_EQ(dialog.element(), p);
        press(dialog, "Bverde");
        EXPECT_EQ(p->color, 65280); // the preview
        press(dialog, "BPuncruz");
        EXPECT_EQ(p->shape, 4);
        press(dialog, "verelem");
        EXPECT_EQ(p->visible, 0);
        press(dialog, "BCancelar");
    });
    w->chooseTool(Tool::EditElement);
    ASSERT_TRUE(action("M_editelem")->isEnabled());
    click(100, -100);
    ASSERT_TRUE(opened);
    Element* q = firstOf(Method::FreePoint);
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->color, before);
    EXPECT_EQ(q->shape, 1);
    EXPECT_EQ(q->visible, 1);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_FALSE(canUndo(doc));

    // OK keeps the change, marks the document and leaves one step to undo. A double click with
    // the move tool opens no dialog on a point.
    w->chooseTool(Tool::Move);
    opened = false;
    dialogs.whenModal([&](QDialog&) { opened = true; });
    QTest::mouseDClick(area(), Qt::LeftButton, {}, pixel(100, -100));
    EXPECT_FALSE(opened);
    dialogs.whenModal([&](QDialog& d) {
        auto& dialog = dynamic_cast<TEdit_elem&>(d);
        opened = true;
        press(dialog, "Bazul");
        press(dialog, "BAceptar");
    });
    w->chooseTool(Tool::EditElement);
    click(100, -100);
    ASSERT_TRUE(opened);
    q = firstOf(Method::FreePoint);
    EXPECT_EQ(q->color, 0xffff00);
    EXPECT_EQ(doc.modified, 1);
    w->edit().undo();
    EXPECT_EQ(firstOf(Method::FreePoint)->color, before);
}

TEST_F(ElementDialogWindow, CancelRestoresTheAxesScales) {
    ConstructionBuilder build(w->document());
    Element* axes = build.make(Method::Axes, build.point(0, 0));
    axes->tailAs<AxesTail>()->scaleY = 80;
    w->canvas().recalculateAndRedraw();
    edit(*axes, [](TEdit_elem& d) {
        press(d, "Bejeuni1");
        const auto* t = d.element()->tailAs<AxesTail>();
        EXPECT_EQ(t->scaleY, t->scaleX);
        EXPECT_FALSE(d.findChild<QPushButton*>(QStringLiteral("Bejeuni1"))->isEnabled());
        press(d, "BCancelar");
    });
    EXPECT_EQ(firstOf(Method::Axes)->tailAs<AxesTail>()->scaleY, 80);
}

TEST_F(ElementDialogWindow, OkWithoutChangeLeavesTheDocumentUnmodified) {
    ConstructionBuilder build(w->document());
    Element* p = build.point(10, 10);
    w->document().modified = 0;
    edit(*p, [](TEdit_elem& d) { press(d, "BAceptar"); });
    EXPECT_EQ(w->document().modified, 0);
}

TEST_F(ElementDialogWindow, NameRules) {
    ConstructionBuilder build(w->document());
    Document& doc = w->document();
    Element* p = build.point(10, 10);
    edit(*p, [](TEdit_elem& d) {
        type(d, "ed_nom", QStringLiteral("A"));
        press(d, "BAceptar");
    });
    ASSERT_NE(p->nameElement, nullptr);
    EXPECT_EQ(doc.nameOf(p), "A");
    edit(*p, [](TEdit_elem& d) {
        type(d, "ed_nom", QStringLiteral("B"));
        press(d, "BAceptar");
    });
    EXPECT_EQ(doc.nameOf(p), "B");
    EXPECT_EQ(firstOf(Method::Name), p->nameElement);

    // Emptied: the "Nombre" goes.
    edit(*p, [](TEdit_elem& d) {
        type(d, "ed_nom", QString());
        press(d, "BAceptar");
    });
    EXPECT_EQ(p->nameElement, nullptr);
    EXPECT_EQ(firstOf(Method::Name), nullptr);

    // A "Nombre" edited itself: emptied, it is deleted and the dialog closes on nothing.
    setName(doc, p, "C", w->creationOptions());
    Element* label = p->nameElement;
    ASSERT_NE(label, nullptr);
    edit(*label, [](TEdit_elem& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("ed_nom"))->text(), QStringLiteral("C"));
        type(d, "ed_nom", QString());
        press(d, "BAceptar");
        EXPECT_EQ(d.element(), nullptr);
    });
    EXPECT_EQ(firstOf(Method::Name), nullptr);
}

TEST_F(ElementDialogWindow, LocusPointCountIsBounded) {
    ConstructionBuilder build(w->document());
    Element* o = build.point(0, 0);
    Element* axes = build.make(Method::Axes, o);
    Element* driver = build.make(Method::PointOnElement, axes);
    Element* locus = build.make(Method::Locus, o, driver);
    Element* ofLocus = build.make(Method::Locus, locus, driver);
    const auto samples = [](Element* e) { return e->tailAs<SampledCurveTail>()->first.size(); };
    const struct {
        Element* e;
        const char* typed;
        size_t want;
    } cases[] = {
        {locus, "3", 10},  {locus, "100000", 50000}, {locus, "abc", 50000},
        {locus, "77", 77}, {ofLocus, "3", 5},        {ofLocus, "7.5", 5},
    };
    for (const auto& c : cases) {
        edit(*c.e, [&](TEdit_elem& d) {
            type(d, "Ed_npLG", QString::fromLatin1(c.typed));
            press(d, "BAceptar");
        });
        EXPECT_EQ(samples(c.e), c.want) << c.typed;
    }
}

} // namespace

namespace {

TEST_F(ElementDialogWindow, ConstructionListNavigatesAndCopies) {
    ConstructionBuilder build(w->document());
    Document& doc = w->document();
    Element* a = build.point(0, 0);
    Element* b = build.point(50, 0);
    setName(doc, a, "A", w->creationOptions());
    Element* s = build.make(Method::Segment, a, b);
    build.req.text = "uno\r\ndos";
    build.req.value[2] = 10;
    build.make(Method::Text);
    build.req.text.clear();
    Element* hidden = build.point(9, 9);
    hidden->visible = 0;
    w->canvas().recalculateAndRedraw();
    // With the window against the screen's right edge the list still lies on the screen.
    const QRect screen = w->screen()->availableGeometry();
    w->move(screen.right() - w->frameGeometry().width() + 1, screen.top());

    action("M_lista")->trigger();
    TV_lista* v = w->elementDialogs().constructionList();
    ASSERT_NE(v, nullptr);
    ASSERT_TRUE(v->isVisible());
    EXPECT_GE(v->height(), 300);
    EXPECT_LE(v->frameGeometry().right(), screen.right());
    EXPECT_GE(v->frameGeometry().left(), screen.left());
    QTreeWidget* list = v->list();
    ASSERT_EQ(list->topLevelItemCount(), 4);
    const QString segment = qtext(uiText().methodName(Method::Segment));
    EXPECT_EQ(list->topLevelItem(2)->text(0), segment);
    EXPECT_EQ(list->topLevelItem(2)->text(1), QStringLiteral("A,_"));
    EXPECT_EQ(list->topLevelItem(3)->text(1), QStringLiteral("uno..."));

    const auto pressIn = [&](const char* name) {
        v->findChild<QPushButton*>(QString::fromLatin1(name))->click();
        return list->indexOfTopLevelItem(list->currentItem());
    };
    EXPECT_EQ(pressIn("B_ult"), 3);
    EXPECT_EQ(pressIn("B_ant"), 2);
    EXPECT_EQ(pressIn("B_sig"), 3);
    EXPECT_EQ(pressIn("B_sig"), 3);
    EXPECT_EQ(pressIn("B_pri"), 0);
    // The buttons whose captions are symbols have hints from the text table.
    EXPECT_EQ(v->findChild<QPushButton*>(QStringLiteral("B_colfon"))->toolTip(),
              qtext(uiText().message(Msg::ListColourHint)));
    EXPECT_EQ(v->findChild<QPushButton*>(QStringLiteral("B_ult"))->toolTip(),
              qtext(uiText().message(Msg::ListLast)));
    v->findChild<QPushButton*>(QStringLiteral("B_vertodo"))->click();
    EXPECT_EQ(list->topLevelItemCount(), 5);
    v->findChild<QPushButton*>(QStringLiteral("B_vertodo"))->click();

    v->findChild<QAction*>(QStringLiteral("Copiar"))->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("1. ") + qtext(uiText().methodName(Method::FreePoint)) +
                            QStringLiteral(" A"));
    EXPECT_EQ(lines[2], QStringLiteral("3. ") + segment + QStringLiteral(": A,_"));

    // A double click edits the element; deleting it clears the selection.
    dialogs.whenModal(
        [](QDialog& d) { d.findChild<QPushButton*>(QStringLiteral("Bborrar"))->click(); });
    list->setCurrentItem(list->topLevelItem(2));
    emit list->itemDoubleClicked(list->topLevelItem(2), 0);
    EXPECT_EQ(list->topLevelItemCount(), 3);
    EXPECT_EQ(list->selectedItems().size(), 0);
    (void)s;
}

} // namespace

namespace {

TEST_F(ElementDialogWindow, ParameterDialogTrackBarAndOk) {
    ConstructionBuilder build(w->document());
    Document& doc = w->document();
    build.req.value[0] = 5;
    Element* p = build.make(Method::Parameter);
    build.req.value[0] = 0;
    auto* range = p->tailAs<ParameterTail>();
    ASSERT_NE(range, nullptr);
    range->minimum = 0;
    range->maximum = 10;
    setName(doc, p, "k", w->creationOptions());
    w->canvas().recalculateAndRedraw();
    const auto param = [&] { return firstOf(Method::Parameter); };

    const auto run = [&](const std::function<void(TV_ed_param&)>& script) {
        bool ran = false;
        dialogs.whenModal([&](QDialog& d) {
            script(dynamic_cast<TV_ed_param&>(d));
            ran = true;
        });
        w->calculator().editParameter(*param());
        EXPECT_TRUE(ran);
    };
    // Moved, then closed without OK: nothing stays.
    run([&](TV_ed_param& d) {
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Modificar parámetro: k"));
        EXPECT_EQ(d.valueField()->text(), QStringLiteral("5.00"));
        EXPECT_EQ(d.trackBar()->value(), TV_ed_param::TrackRange / 2);
        d.trackBar()->setValue(TV_ed_param::TrackRange / 4);
        EXPECT_DOUBLE_EQ(param()->value[0], 2.5);
        d.reject();
    });
    EXPECT_DOUBLE_EQ(param()->value[0], 5.0);
    EXPECT_FALSE(canUndo(doc));

    // A bad field keeps the dialog and what was typed; then OK keeps the values in one step.
    run([&](TV_ed_param& d) {
        d.minimumField()->setText(QStringLiteral("1+"));
        d.valueField()->setText(QStringLiteral("2*3"));
        EXPECT_FALSE(d.confirm());
        EXPECT_EQ(messages.last(), QString::fromUtf8("Datos de entrada no válidos"));
        EXPECT_EQ(d.minimumField()->text(), QStringLiteral("1+"));
        d.minimumField()->setText(QStringLiteral("1"));
        EXPECT_TRUE(d.confirm());
    });
    EXPECT_DOUBLE_EQ(param()->value[0], 6.0);
    EXPECT_DOUBLE_EQ(param()->tailAs<ParameterTail>()->minimum, 1.0);
    EXPECT_EQ(doc.modified, 1);
    w->edit().undo();
    EXPECT_DOUBLE_EQ(param()->value[0], 5.0);
    EXPECT_DOUBLE_EQ(param()->tailAs<ParameterTail>()->minimum, 0.0);

    // Values with more decimals than the fields show: a plain OK keeps them exactly and marks
    // nothing; a field typed anew takes what was typed, the others keep their exact values.
    param()->value[0] = 3.14159265;
    param()->tailAs<ParameterTail>()->minimum = -0.123456;
    param()->tailAs<ParameterTail>()->maximum = 9.87654321;
    doc.modified = 0;
    const bool couldUndo = canUndo(doc);
    run([&](TV_ed_param& d) {
        EXPECT_EQ(d.valueField()->text(), QStringLiteral("3.14"));
        EXPECT_TRUE(d.confirm());
    });
    EXPECT_EQ(param()->value[0], 3.14159265);
    EXPECT_EQ(param()->tailAs<ParameterTail>()->minimum, -0.123456);
    EXPECT_EQ(param()->tailAs<ParameterTail>()->maximum, 9.87654321);
    EXPECT_EQ(doc.modified, 0);
    EXPECT_EQ(canUndo(doc), couldUndo);
    run([&](TV_ed_param& d) {
        d.maximumField()->setText(QStringLiteral("12"));
        EXPECT_TRUE(d.confirm());
    });
    EXPECT_EQ(param()->value[0], 3.14159265);
    EXPECT_EQ(param()->tailAs<ParameterTail>()->minimum, -0.123456);
    EXPECT_EQ(param()->tailAs<ParameterTail>()->maximum, 12.0);
    EXPECT_EQ(doc.modified, 1);
}

} // namespace

namespace {

TEST(ParametricColourDialog, ModesAndEndColours) {
    TVcolpar d;
    EXPECT_EQ(d.mode(), 1);
    EXPECT_EQ(d.fromColour(), 0xff0000);
    EXPECT_EQ(d.toColour(), 255);
    d.choice(1)->setChecked(true);
    EXPECT_EQ(d.mode(), 2);
    d.choice(2)->setChecked(true);
    EXPECT_EQ(d.mode(), 1000);
    d.bar1()->setValue(40); // moving a bar chooses it
    EXPECT_EQ(d.mode(), 40);
    d.bar2()->setValue(500);
    EXPECT_EQ(d.mode(), 201);

    Element e, number;
    setParamColour(e, number, 1000, true, 0x123456, 0x654321);
    EXPECT_EQ(static_cast<Element*>(e.colorParam), &number);
    EXPECT_EQ(e.colorParamMode, -1000);
    EXPECT_EQ(e.colorParamFrom, 0x123456);
    EXPECT_EQ(e.colorParamTo, 0x654321);
    setParamColour(e, number, 40, false, 0, 0);
    EXPECT_EQ(e.colorParamMode, 40);
    EXPECT_EQ(e.colorParamFrom, 0x123456);
}

TEST_F(ElementDialogWindow, TextWithSeveralLinesSurvivesASave) {
    ConstructionBuilder build(w->document());
    build.req.text = "primera\r\n\r\ntercera línea";
    build.req.value[2] = 20;
    build.req.value[3] = -30;
    build.make(Method::Text);
    const QString path = file(QStringLiteral("texto.qrv"));
    dialogs.files.push_back(path);
    ASSERT_TRUE(w->documents().saveDocumentAsAt(w->documents().currentDocumentIndex()));
    Document read;
    ASSERT_EQ(readDocumentFile(read, path.toStdString(), FileType::Document).kind,
              FileKind::Document);
    const Element* t = read.head;
    while (t && t->method != Method::Text)
        t = t->next;
    ASSERT_NE(t, nullptr);
    const auto* tail = t->tailAs<TextTail>();
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(tail->lines, (std::vector<std::string>{"primera", "", "tercera línea"}));
    EXPECT_EQ(t->option, 3);
    EXPECT_EQ(tail->x, 20);
    EXPECT_EQ(tail->y, -30);
}

} // namespace

// The first column of the construction list holds its widest text with a clear gap before the
// second, also in a font that arrives only when the list is shown.
TEST_F(ElementDialogWindow, ConstructionListFirstColumnClearsTheSecond) {
    ConstructionBuilder build(w->document());
    Element* a = build.point(0, 0);
    Element* b = build.point(50, 0);
    build.make(Method::Segment, a, b);
    TV_lista v(w->dialogContext());
    QFont big = v.font();
    big.setPointSize(big.pointSize() * 2);
    v.setFont(big);
    v.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&v));
    QTreeWidget* list = v.list();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    const QFontMetrics fm(list->font());
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        EXPECT_GE(list->columnWidth(0),
                  fm.horizontalAdvance(list->topLevelItem(i)->text(0)) + fm.averageCharWidth())
            << i;
}

namespace {

// The construction list stays open while the document changes under it: undo, "Eliminar Todo"
// and switching documents refill it, so that a double click edits an element of the current
// document that still exists.
TEST_F(ElementDialogWindow, ConstructionListFollowsUndoDeletionAndTheCurrentDocument) {
    Document& first = w->document();
    ConstructionBuilder build(first);
    Element* a = build.point(0, 0);
    Element* b = build.point(50, 0);
    w->recordUndoStep();
    build.make(Method::Segment, a, b);
    w->canvas().recalculateAndRedraw();
    action("M_lista")->trigger();
    QTreeWidget* list = w->elementDialogs().constructionList()->list();
    ASSERT_EQ(list->topLevelItemCount(), 3);
    // The element the double click edits, as its place in the current document (-1: not there).
    const auto editedByDoubleClick = [&](int row) {
        int place = -2;
        dialogs.whenModal([&](QDialog& d) {
            const Element* edited = dynamic_cast<TEdit_elem&>(d).element();
            place = 0;
            const Element* e = w->document().head;
            for (; e && e != edited; e = e->next)
                ++place;
            if (!e) place = -1;
            d.reject();
        });
        emit list->itemDoubleClicked(list->topLevelItem(row), 0);
        return place;
    };

    w->edit().undo();
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(editedByDoubleClick(1), 1);

    action("M_elimtodo")->trigger();
    EXPECT_EQ(list->topLevelItemCount(), 0);
    w->edit().undo();
    ASSERT_EQ(list->topLevelItemCount(), 2);

    ASSERT_TRUE(w->documents().newDocument());
    EXPECT_EQ(list->topLevelItemCount(), 0);
    ConstructionBuilder(w->document()).point(10, 10);
    w->documents().switchTo(0);
    ASSERT_EQ(&w->document(), &first);
    ASSERT_EQ(list->topLevelItemCount(), 2);
    w->documents().switchTo(1);
    ASSERT_EQ(list->topLevelItemCount(), 1);
    EXPECT_EQ(editedByDoubleClick(0), 0);
}

} // namespace
