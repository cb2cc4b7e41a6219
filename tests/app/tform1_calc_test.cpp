// The calculator in the main window: expressions built from clicked numbers and the keys,
// calculations, parameters and functions dragged out of the result field, editing by double
// click, and points represented on axes.
#include "app/testwindow.h"
#include "construction/builder.h"
#include "dialogs/tv_calc.h"
#include "dialogs/tv_puncoord.h"
#include "model/uitext.h"
#include "view/hitgeometry.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace qorv;

namespace {

class CalcWindow : public qorv::testing::WindowTest {
  protected:
    TV_calc* calc() const { return w->calculator().window(); }
    QLineEdit* expr() const { return calc()->expressionField(); }
    QString result() const { return calc()->resultField()->text(); }
    void press(const char* name) {
        auto* b = calc()->findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QPoint centreOf(const Element* e) {
        PixelBox b;
        EXPECT_TRUE(w->canvas().elementBox(*e, b));
        return {int(b.x + b.w / 2), int(b.y + b.h / 2)};
    }
    void clickElement(const Element* e) {
        QTest::mouseClick(area(), Qt::LeftButton, {}, centreOf(e));
    }
    // A distance of two new points with its text at (tx, ty).
    Element* distance(Point2 a, Point2 b, double tx, double ty) {
        ConstructionBuilder build(w->document());
        Element* p = build.point(a.x, a.y);
        Element* q = build.point(b.x, b.y);
        build.req.value[2] = tx;
        build.req.value[3] = ty;
        return build.make(Method::DistancePointPoint, p, q);
    }
    // The result field pressed, dragged onto the drawing at `to` and released there.
    Element* dragResultTo(QPoint to) {
        ResultField* r = calc()->resultField();
        const QPoint global = area()->mapToGlobal(to);
        QTest::mousePress(r, Qt::LeftButton, {}, r->rect().center());
        QMouseEvent move(QEvent::MouseMove, QPointF(r->mapFromGlobal(global)), QPointF(global),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(r, &move);
        QTest::mouseRelease(r, Qt::LeftButton, {}, r->mapFromGlobal(global));
        return w->document().tail;
    }
    // Tool `action`, the elements clicked in order, then `typed` (when given) in place of the
    // text they made, evaluated and placed at `to`.
    Element* make(const char* action, std::vector<const Element*> clicked, const QString& typed,
                  QPoint to) {
        this->action(action)->trigger();
        for (const Element* e : clicked)
            clickElement(e);
        if (!typed.isEmpty()) expr()->setText(typed);
        press("B_exe");
        return dragResultTo(to);
    }
};

} // namespace

TEST_F(CalcWindow, CalculationOfTwoMeasurementsByClicksIsAnArea) {
    Element* ab = distance({0, -100}, {200, -100}, 50, -20); // 200 px: 5 cm
    Element* cd = distance({0, -150}, {0, -270}, 50, -60);   // 120 px: 3 cm
    w->canvas().recalculateAndRedraw();
    const int before = w->document().elementCount();

    action("M_N_calcular")->trigger();
    ASSERT_TRUE(calc() && calc()->isVisible());
    EXPECT_EQ(calc()->windowTitle(), QString::fromUtf8("Calcular"));
    EXPECT_FALSE(calc()->findChild<QPushButton*>(QStringLiteral("B_vi"))->isVisible());
    clickElement(ab);
    press("B_mul");
    clickElement(cd);
    clickElement(ab); // the same number again: its letter again, one variable
    EXPECT_EQ(expr()->text(), QStringLiteral("a*ba"));
    EXPECT_EQ(calc()->calculator().variables().size(), 2u);
    expr()->setText(QStringLiteral("a*b"));
    press("B_exe");
    EXPECT_EQ(result(), QStringLiteral("15.0000"));

    const QPoint target(300, 120);
    Element* c = dragResultTo(target);
    ASSERT_EQ(c->method, Method::Calculation);
    EXPECT_EQ(w->document().elementCount(), before + 1);
    EXPECT_NEAR(c->value[0], (200.0 / 40) * (120.0 / 40), 1e-9);
    EXPECT_EQ(c->option, HasValue);
    EXPECT_EQ(c->unitShown, UnitClass::Area);
    EXPECT_EQ(c->color, w->document().fonts[FontSlot::Numbers].color);
    const QPoint centre = centreOf(c);
    EXPECT_LE(std::abs(centre.x() - target.x()), 2);
    EXPECT_LE(std::abs(centre.y() - target.y()), 2);
    EXPECT_EQ(w->currentTool(), Tool::Move);
    EXPECT_FALSE(calc()->isVisible());
    EXPECT_TRUE(messages.isEmpty());

    w->edit().undo(); // one step takes the calculation back
    EXPECT_EQ(w->document().elementCount(), before);
}

TEST_F(CalcWindow, EditingACalculationUpdatesTheLaterOnesAndKeepsTheOrder) {
    Element* ab = distance({0, -100}, {200, -100}, 50, -20);
    Element* cd = distance({0, -150}, {0, -270}, 50, -60);
    w->canvas().recalculateAndRedraw();
    Element* area = make("M_N_calcular", {ab, cd}, QStringLiteral("a*b"), {300, 100});
    ASSERT_EQ(area->unitShown, UnitClass::Area);
    Element* twice = make("M_N_calcular", {area}, QStringLiteral("a*2"), {300, 160});
    Element* plus = make("M_N_calcular", {twice, ab}, QStringLiteral("a+b"), {300, 220});
    ASSERT_EQ(twice->unitShown, UnitClass::Area);
    EXPECT_EQ(plus->unitShown, UnitClass::None); // an area plus a length
    const int count = w->document().elementCount();

    QTest::mouseDClick(this->area(), Qt::LeftButton, {}, centreOf(area));
    ASSERT_TRUE(calc()->isVisible());
    EXPECT_EQ(w->currentTool(), Tool::Calculate);
    EXPECT_EQ(expr()->text(), QStringLiteral("a*b"));
    EXPECT_EQ(calc()->calculator().editing(), area);
    expr()->setText(QStringLiteral("a+b"));
    press("B_exe");

    // The new calculation took the old one's place before everything that used it.
    Element* edited = calc()->calculator().editing();
    ASSERT_NE(edited, nullptr);
    EXPECT_EQ(w->document().elementCount(), count);
    EXPECT_EQ(edited->next, twice);
    EXPECT_EQ(twice->next, plus);
    EXPECT_EQ(static_cast<Element*>(twice->tailAs<ExpressionTail>()->exprArgs[0]), edited);
    EXPECT_EQ(edited->unitShown, UnitClass::Length);
    EXPECT_NEAR(edited->value[0], 5.0 + 3.0, 1e-9);
    EXPECT_EQ(twice->unitShown, UnitClass::Length);
    EXPECT_NEAR(twice->value[0], 16.0, 1e-9);
    EXPECT_EQ(plus->unitShown, UnitClass::Length); // now a length plus a length
    EXPECT_NEAR(plus->value[0], 21.0, 1e-9);

    w->edit().undo();
    Element* back = w->document().tail->prev; // "twice" as it was
    ASSERT_EQ(back->method, Method::Calculation);
    EXPECT_EQ(back->unitShown, UnitClass::Area);
    EXPECT_NEAR(back->value[0], 30.0, 1e-9);
}

TEST_F(CalcWindow, ParameterFunctionAndARepresentedPoint) {
    action("M_N_parametro")->trigger();
    EXPECT_EQ(calc()->windowTitle(), QString::fromUtf8("Parámetro"));
    expr()->setText(QStringLiteral("1/0"));
    press("B_exe");
    EXPECT_EQ(messages.value(0), QString::fromUtf8("la expresión no es válida"));
    EXPECT_FALSE(calc()->calculator().hasResult());
    expr()->setText(QStringLiteral("3.5-1.5"));
    press("B_exe");
    EXPECT_EQ(result(), QStringLiteral("2.0000"));
    Element* p = dragResultTo({250, 100});
    ASSERT_EQ(p->method, Method::Parameter);
    EXPECT_DOUBLE_EQ(p->value[0], 2.0);
    const auto* range = p->tailAs<ParameterTail>();
    EXPECT_DOUBLE_EQ(range->minimum, -8.0);
    EXPECT_DOUBLE_EQ(range->maximum, 12.0);
    EXPECT_DOUBLE_EQ(range->step, w->creationOptions().parameterStep);

    action("M_N_funcion")->trigger();
    auto* vi = calc()->findChild<QPushButton*>(QStringLiteral("B_vi"));
    ASSERT_TRUE(vi->isVisible());
    EXPECT_EQ(calc()->typeButton()->text(), QStringLiteral("y=f(x)"));
    calc()->setFunctionType(FunctionType::RofW);
    EXPECT_EQ(vi->text(), QStringLiteral("w"));
    expr()->setText(QStringLiteral("x*2"));
    press("B_exe");
    EXPECT_EQ(messages.size(), 2); // X is not the variable of r=f(w)
    calc()->setFunctionType(FunctionType::YofX);
    press("B_vi");
    press("B_pot");
    QTest::keyClicks(expr(), QStringLiteral("2"));
    EXPECT_EQ(expr()->text(), QStringLiteral("x^2"));
    press("B_exe");
    EXPECT_EQ(result(), QStringLiteral("f(x)=x^2"));
    Element* f = dragResultTo({250, 160});
    ASSERT_EQ(f->method, Method::Name); // the function's label comes after it
    f = f->parent1;
    ASSERT_EQ(f->method, Method::Function);
    EXPECT_EQ(f->option, FunctionType::YofX);
    EXPECT_EQ(w->document().nameOf(f), "f(x)=x^2");

    // f1(a) with the parameter as a: 4.
    action("M_N_calcular")->trigger();
    clickElement(f);
    EXPECT_EQ(expr()->text(), QStringLiteral("f1()"));
    EXPECT_EQ(expr()->cursorPosition(), 3);
    clickElement(p);
    EXPECT_EQ(expr()->text(), QStringLiteral("f1(a)"));
    press("B_exe");
    EXPECT_EQ(result(), QStringLiteral("4.0000"));
    Element* y = dragResultTo({250, 220});
    ASSERT_EQ(y->method, Method::Calculation);

    // The point (p, f1(p)) on axes, then one in polar coordinates.
    ConstructionBuilder build(w->document());
    Element* origin = build.point(100, -350);
    Element* axes = build.make(Method::Axes, origin);
    w->canvas().recalculateAndRedraw();
    const auto* scales = axes->tailAs<AxesTail>();
    std::vector<Element*> made;
    dialogs.whenModal([&](QDialog& d) {
        auto& dialog = dynamic_cast<TV_puncoord&>(d);
        dialog.xField()->setText(QString::number(p->value[0]));
        dialog.yField()->setText(QString::number(y->value[0]));
        EXPECT_TRUE(dialog.represent());
        dialog.polarButton()->setChecked(true);
        dialog.xField()->setText(QStringLiteral("2"));
        dialog.yField()->setText(QStringLiteral("pi/2"));
        EXPECT_TRUE(dialog.represent());
        dialog.yField()->setText(QStringLiteral("pi/"));
        EXPECT_FALSE(dialog.represent());
        made = dialog.made();
    });
    w->chooseTool(Tool::RepresentPoints);
    click(300, -350); // on the x axis
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(messages.last(), QString::fromUtf8("Datos de entrada no válidos"));
    EXPECT_EQ(static_cast<Element*>(made[0]->parent1), axes);
    EXPECT_NEAR(made[0]->value[0], 100 + 2 * scales->scaleX, 1e-9);
    EXPECT_NEAR(made[0]->value[1], -350 + 4 * scales->scaleY, 1e-9);
    EXPECT_NEAR(made[1]->value[2], 0.0, 1e-12);
    EXPECT_NEAR(made[1]->value[3], 2.0, 1e-12);

    // A represented point edited by a double click: an empty field keeps its coordinate.
    w->chooseTool(Tool::Move);
    dialogs.whenModal([&](QDialog& d) {
        auto& dialog = dynamic_cast<TV_puncoord&>(d);
        EXPECT_EQ(dialog.yField()->text(), QStringLiteral("4"));
        dialog.xField()->setText(QStringLiteral("3"));
        dialog.yField()->clear();
        EXPECT_TRUE(dialog.represent());
        EXPECT_TRUE(dialog.made().empty());
    });
    QTest::mouseDClick(area(), Qt::LeftButton, {}, pixel(made[0]->value[0], made[0]->value[1]));
    EXPECT_DOUBLE_EQ(made[0]->value[2], 3.0);
    EXPECT_DOUBLE_EQ(made[0]->value[3], 4.0);
    EXPECT_NEAR(made[0]->value[0], 100 + 3 * scales->scaleX, 1e-9);
    EXPECT_EQ(w->currentTool(), Tool::Move);

    // The function edited by a double click: its label and the calculation that calls it follow.
    w->chooseTool(Tool::Move);
    QTest::mouseDClick(area(), Qt::LeftButton, {}, centreOf(f));
    ASSERT_TRUE(calc()->isVisible());
    EXPECT_EQ(w->currentTool(), Tool::Function);
    EXPECT_EQ(expr()->text(), QStringLiteral("x^2"));
    expr()->setText(QStringLiteral("x^3"));
    press("B_exe");
    Element* g = calc()->calculator().editing();
    ASSERT_TRUE(g && g != f);
    EXPECT_EQ(w->document().nameOf(g), "f(x)=x^3");
    EXPECT_EQ(static_cast<Element*>(y->tailAs<ExpressionTail>()->exprArgs[1]), g);
    EXPECT_NEAR(y->value[0], 8.0, 1e-12);
}

TEST_F(CalcWindow, MessagesKeysAndACalculationWithoutValue) {
    action("M_N_calcular")->trigger();
    expr()->setText(QStringLiteral("2+*3"));
    press("B_exe");
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], QString::fromUtf8("la expresión no es válida"));
    EXPECT_TRUE(result().isEmpty());
    EXPECT_FALSE(calc()->calculator().hasResult());

    // 101 characters (a valid text would be shorter); 100 with a blank are fine.
    QString text = QStringLiteral("1");
    while (text.size() < 101)
        text += QStringLiteral("+1");
    expr()->setText(text);
    press("B_exe");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], QString::fromUtf8("La expresión está limitada a 100 caracteres"));
    expr()->setText(QStringLiteral("1 ") + text.mid(3)); // 100 characters, 99 without blanks
    ASSERT_EQ(expr()->text().size(), 100);
    press("B_exe");
    EXPECT_EQ(messages.size(), 2);
    EXPECT_EQ(result(), QStringLiteral("50.0000"));
    expr()->setText(expr()->text() + QStringLiteral(" ")); // trimmed before it is counted
    press("B_exe");
    EXPECT_EQ(messages.size(), 2);
    QTest::keyClick(expr(), Qt::Key_Backspace); // any change forgets the result
    EXPECT_TRUE(result().isEmpty());
    EXPECT_FALSE(calc()->calculator().hasResult());

    // The keys: "(" gets its ")" at the end of the text or before a ")".
    expr()->clear();
    press("B_sen");
    EXPECT_EQ(expr()->text(), QStringLiteral("sin()"));
    EXPECT_EQ(expr()->cursorPosition(), 4);
    press("B_arc");
    press("B_cos");
    EXPECT_EQ(expr()->text(), QStringLiteral("sin(acos())"));
    press("B_pi");
    EXPECT_EQ(expr()->text(), QStringLiteral("sin(acos(pi))"));
    expr()->setCursorPosition(0);
    press("B_abs");
    EXPECT_EQ(expr()->text(), QStringLiteral("abs(sin(acos(pi))"));

    // 1/0 has no value: shown as such, and placed all the same.
    expr()->setText(QStringLiteral("1/0"));
    press("B_exe");
    EXPECT_EQ(result(), QString::fromUtf8("no existente"));
    Element* c = dragResultTo({200, 100});
    ASSERT_EQ(c->method, Method::Calculation);
    EXPECT_EQ(c->option, NoValue);
    EXPECT_EQ(messages.size(), 2);

    // Escape closes the calculator and selects the move tool.
    action("M_N_calcular")->trigger();
    QTest::keyClick(expr(), Qt::Key_Escape);
    EXPECT_FALSE(calc()->isVisible());
    EXPECT_EQ(w->currentTool(), Tool::Move);
}

// Ctrl+A, Ctrl+X leave the calculator open: its result named the cut parameter and must not make
// a calculation of the freed element.
TEST_F(CalcWindow, CutLeavesNoResultNamingTheCutElement) {
    action("M_N_parametro")->trigger();
    expr()->setText(QStringLiteral("3"));
    press("B_exe");
    Element* p = dragResultTo({250, 100});
    ASSERT_EQ(p->method, Method::Parameter);
    action("M_N_calcular")->trigger();
    clickElement(p);
    expr()->setText(QStringLiteral("a*2"));
    press("B_exe");
    ASSERT_EQ(result(), QStringLiteral("6.0000"));

    action("M_seltodo")->trigger();
    w->cutAction()->trigger();
    ASSERT_EQ(w->document().elementCount(), 0);
    ASSERT_TRUE(calc()->isVisible());
    EXPECT_EQ(result(), QString());
    EXPECT_TRUE(calc()->calculator().variables().empty());
    dragResultTo({250, 160});
    EXPECT_EQ(w->document().elementCount(), 0);
}
