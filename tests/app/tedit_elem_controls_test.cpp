// The kind-specific controls of the element properties dialog: the unit of numbers, the font,
// the full angle, the inverted button, the numeric settings of graphs and parameters, the
// redefinitions it closes for, and what Cancel takes back.
#include "app/elementdialogtest.h"

#include "calc/expression.h"
#include "construction/builder.h"
#include "construction/create.h"
#include "dialogs/tv_calc.h"
#include "dialogs/tv_ed_param.h"
#include "model/buttonaction.h"
#include "model/uitext.h"
#include "view/qtexts.h"

#include <QMenu>

#include <array>

using namespace qorv;
using namespace qorv::testing;

namespace {

class ElementControls : public ElementDialogWindow {
  protected:
    Element* calculation(const char* text, ConstructionMethod m = Method::Calculation,
                         int32_t type = 0) {
        ConstructionBuilder build(w->document());
        build.req.option = type;
        Element* e = build.make(m);
        EXPECT_TRUE(compileToTail(*e->tailAs<ExpressionTail>(), text, {}, {}, type));
        e->unitShown = inferUnitClass(*e);
        return e;
    }
    Element* parameter(double value) {
        ConstructionBuilder build(w->document());
        build.req.value[0] = value;
        return build.make(Method::Parameter);
    }
    static QPushButton* buttonOf(TEdit_elem& d, const char* name) {
        return d.findChild<QPushButton*>(QString::fromLatin1(name));
    }
};

// A measurement switches between no unit and its own; a parameter and a calculation without a
// unit of its own offer the four choices in a menu.
TEST_F(ElementControls, UnitButtonTogglesOrOffersTheFourUnits) {
    ConstructionBuilder build(w->document());
    Element* distance =
        build.make(Method::DistancePointPoint, build.point(0, 0), build.point(80, 0));
    Element* area = calculation("2*3");
    Element* p = parameter(2);
    ASSERT_EQ(distance->unitShown, 1);
    edit(*distance, [&](TEdit_elem& d) {
        press(d, "Buni");
        EXPECT_EQ(distance->unitShown, 0);
        press(d, "Buni");
        EXPECT_EQ(distance->unitShown, 1);
        press(d, "Buni");
        press(d, "BAceptar");
    });
    EXPECT_EQ(distance->unitShown, 0);
    EXPECT_EQ(w->document().modified, 1);
    for (Element* e : {area, p}) {
        edit(*e, [&](TEdit_elem& d) {
            press(d, "Buni");
            auto* menu = d.findChild<QMenu*>(QStringLiteral("Buni_menu"));
            ASSERT_NE(menu, nullptr);
            EXPECT_TRUE(menu->isVisible());
            ASSERT_EQ(menu->actions().size(), 4);
            EXPECT_EQ(menu->actions()[3]->text(), text(Msg::ElemUnitAngle));
            menu->actions()[2]->trigger();
            menu->hide();
            EXPECT_EQ(e->unitShown, 2);
            press(d, "BAceptar");
        });
        EXPECT_EQ(e->unitShown, 2) << e->method;
    }
}

TEST_F(ElementControls, FontButtonChangesTheElementsFont) {
    Element* c = calculation("1+1");
    ASSERT_NE(c->font, nullptr);
    w->document().modified = 0;
    w->dialogContext().setFontDialogHook([](FontRecord& f) {
        f.size = 31;
        f.italic = 1;
        return true;
    });
    edit(*c, [](TEdit_elem& d) {
        press(d, "B_tiplet");
        press(d, "BAceptar");
    });
    EXPECT_EQ(c->font->size, 31);
    EXPECT_EQ(c->font->italic, 1);
    EXPECT_EQ(w->document().modified, 1);
}

// The marker of the full 0..2pi range: value[3] of an angle, value[1] of the measured angle of
// three points.
TEST_F(ElementControls, FullAngleButtonSetsTheMarker) {
    ConstructionBuilder build(w->document());
    Element* a = build.point(100, 0);
    Element* v = build.point(0, 0);
    Element* b = build.point(0, 100);
    const struct {
        Element* e;
        int slot;
    } cases[] = {{build.make(Method::Angle, a, v, b), 3},
                 {build.make(Method::AngleValue, a, v, b), 1}};
    for (const auto& c : cases) {
        ASSERT_NE(c.e->value[c.slot], NotSet);
        edit(*c.e, [&](TEdit_elem& d) {
            EXPECT_FALSE(buttonOf(d, "B02pi")->isChecked());
            press(d, "B02pi");
            EXPECT_TRUE(buttonOf(d, "B02pi")->isChecked());
            press(d, "BAceptar");
        });
        EXPECT_EQ(c.e->value[c.slot], NotSet) << c.e->method;
        edit(*c.e, [&](TEdit_elem& d) {
            press(d, "B02pi");
            press(d, "BAceptar");
        });
        EXPECT_EQ(c.e->value[c.slot], 0.0) << c.e->method;
    }
}

TEST_F(ElementControls, InvertButtonTurnsTheImposedStateOver) {
    ConstructionBuilder build(w->document());
    Element* p = build.point(50, 50);
    Element* button = build.make(Method::ShowHideButton, nullptr, nullptr, nullptr, {p});
    applyShowHideButton(*button, 1);
    ASSERT_EQ(p->visible, 0);
    edit(*button, [&](TEdit_elem& d) {
        QPushButton* inv = buttonOf(d, "Binvom");
        ASSERT_NE(inv, nullptr);
        EXPECT_FALSE(inv->font().bold());
        press(d, "Binvom");
        EXPECT_EQ(button->option2, 0);
        EXPECT_EQ(p->visible, 1);
        EXPECT_TRUE(inv->font().bold());
        press(d, "Binvom");
        EXPECT_EQ(p->visible, 0);
        EXPECT_FALSE(inv->font().bold());
        press(d, "Binvom");
        press(d, "BAceptar");
    });
    EXPECT_EQ(button->option2, 0);
    EXPECT_EQ(p->visible, 1);
}

// The range of a function graph and the settings of a parameter take expressions; bad text is
// refused with the message, the dialog stays open with what was typed and nothing changes.
TEST_F(ElementControls, NumericSettingsTakeExpressionsAndRefuseBadText) {
    ConstructionBuilder build(w->document());
    Element* axes = build.make(Method::Axes, build.point(0, 0));
    Element* fn = calculation("X^2", Method::Function, 1);
    Element* graph = build.make(Method::FunctionGraph, fn, axes);
    Element* p = parameter(1);
    w->canvas().recalculateAndRedraw();
    const double from = graph->value[1];
    w->document().modified = 0;
    edit(*graph, [&](TEdit_elem& d) {
        bool closed = false;
        QObject::connect(&d, &QDialog::finished, [&] { closed = true; });
        type(d, "Ed_exta", QStringLiteral("1+"));
        type(d, "Ed_extb", QStringLiteral("7"));
        press(d, "BAceptar");
        EXPECT_FALSE(closed);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_EQ(messages.back(), text(Msg::InvalidInput));
        EXPECT_EQ(d.findChild<QLineEdit*>(QStringLiteral("Ed_exta"))->text(), QStringLiteral("1+"));
        EXPECT_EQ(graph->value[1], from);
        EXPECT_NE(graph->value[2], 7.0);
        type(d, "Ed_exta", QStringLiteral("-(1+2)"));
        type(d, "Ed_extb", QStringLiteral("SQR(16)"));
        press(d, "BAceptar");
        EXPECT_TRUE(closed);
    });
    EXPECT_DOUBLE_EQ(graph->value[1], -3);
    EXPECT_DOUBLE_EQ(graph->value[2], 4);
    EXPECT_EQ(w->document().modified, 1);

    const struct {
        const char* field;
        const char* typed;
    } typed[] = {{"Ed_kpe", "3"}, {"Ed_exta", "-1"}, {"Ed_extb", "2*5"}, {"Ed_parinct", "1/4"}};
    edit(*p, [&](TEdit_elem& d) {
        for (const auto& t : typed)
            type(d, t.field, QString::fromLatin1(t.typed));
        press(d, "BAceptar");
    });
    const auto* range = p->tailAs<ParameterTail>();
    EXPECT_DOUBLE_EQ(p->value[0], 3);
    EXPECT_DOUBLE_EQ(range->minimum, -1);
    EXPECT_DOUBLE_EQ(range->maximum, 10);
    EXPECT_DOUBLE_EQ(range->step, 0.25);
}

// Bmodpr and Bmodcpf take the dialog's changes back, then start the redefinition.
TEST_F(ElementControls, RedefineButtonsRevertThenStartTheirTool) {
    ConstructionBuilder build(w->document());
    Element* q = build.point(100, -100);
    w->canvas().recalculateAndRedraw();
    const Color colour = q->color;
    edit(*q, [](TEdit_elem& d) {
        press(d, "Bverde");
        press(d, "Bmodpr");
        EXPECT_TRUE(d.closing().revert && d.closing().parents);
    });
    q = firstOf(Method::FreePoint);
    EXPECT_EQ(q->color, colour);
    EXPECT_EQ(w->currentTool(), Tool::RedefinePoint);
    ASSERT_EQ(w->canvas().interaction().engine().picked().size(), 1u);
    EXPECT_EQ(w->canvas().interaction().engine().picked()[0], q);
    click(200, 60); // an empty place: the point goes there
    q = firstOf(Method::FreePoint);
    EXPECT_NEAR(q->value[0], 200, 1.5);
    EXPECT_NEAR(q->value[1], 60, 1.5);

    Element* p = parameter(4);
    bool parameterDialog = false;
    dialogs.whenModal([&](QDialog& d) {
        if (auto* e = dynamic_cast<TEdit_elem*>(&d)) {
            press(*e, "Bverde");
            press(*e, "Bmodcpf");
            return;
        }
        parameterDialog = dynamic_cast<TV_ed_param*>(&d) != nullptr;
        d.reject();
    });
    w->elementDialogs().editElement(*p);
    EXPECT_TRUE(parameterDialog);
    EXPECT_NE(firstOf(Method::Parameter)->color, 65280);

    Element* c = calculation("1+2");
    edit(*c, [](TEdit_elem& d) { press(d, "Bmodcpf"); });
    EXPECT_EQ(w->currentTool(), Tool::Calculate);
    ASSERT_NE(w->calculator().window(), nullptr);
    EXPECT_TRUE(w->calculator().window()->isVisible());
}

// Bmodbvnv: the button's elements selected, hidden ones shown; clicks change the selection and
// an empty place gives it to the button, after which "Ver lo oculto" goes off again.
TEST_F(ElementControls, ButtonListRedefinedFromTheSelection) {
    ConstructionBuilder build(w->document());
    Element* p = build.point(50, 50);
    Element* q = build.point(150, 50);
    Element* button = build.make(Method::ShowHideButton, nullptr, nullptr, nullptr, {p});
    applyShowHideButton(*button, 1);
    w->canvas().recalculateAndRedraw();
    ASSERT_FALSE(w->showHiddenAction()->isChecked());
    edit(*button, [](TEdit_elem& d) { press(d, "Bmodbvnv"); });
    // The dialog took its step back: the list is a new one.
    button = firstOf(Method::ShowHideButton);
    p = firstOf(Method::FreePoint);
    q = p->next;
    ASSERT_EQ(q->method, Method::FreePoint);
    EXPECT_EQ(w->currentTool(), Tool::ShowHideButton);
    EXPECT_TRUE(w->showHiddenAction()->isChecked());
    EXPECT_EQ(p->selected, 1);
    click(150, 50);
    click(50, 50);
    EXPECT_EQ(q->selected, 1);
    EXPECT_EQ(p->selected, 0);
    click(-200, -200);
    const auto* t = button->tailAs<ButtonTail>();
    ASSERT_EQ(t->elements.size(), 1u);
    EXPECT_EQ(t->elements[0], q);
    EXPECT_EQ(w->currentTool(), Tool::Move);
    EXPECT_FALSE(w->showHiddenAction()->isChecked());
}

TEST_F(ElementControls, CancelRestoresUnitNameVisibilityIterationFlagsAndTheModifiedFlag) {
    ConstructionBuilder build(w->document());
    Document& doc = w->document();
    Element* distance =
        build.make(Method::DistancePointPoint, build.point(0, 0), build.point(80, 0));
    setName(doc, distance, "d", w->creationOptions());
    doc.modified = 0;
    edit(*distance, [](TEdit_elem& d) {
        press(d, "Buni");
        press(d, "vernom");
        press(d, "BCancelar");
    });
    distance = firstOf(Method::DistancePointPoint);
    EXPECT_EQ(distance->unitShown, 1);
    EXPECT_EQ(distance->nameElement->visible, 1);
    EXPECT_EQ(doc.modified, 0);

    Element* it = build.make(Method::Iteration);
    const auto flags = [](const Element* e) {
        const auto* t = e->tailAs<IterationTail>();
        return std::array{t->lastOnly, t->drawPoints, t->ownColour};
    };
    const auto before = flags(it);
    doc.modified = 0;
    edit(*it, [&](TEdit_elem& d) {
        for (const char* flag : {"Bitf", "Bitp", "Bitc"})
            press(d, flag);
        const auto now = flags(d.element());
        for (size_t i = 0; i < now.size(); ++i)
            EXPECT_NE(now[i], before[i]) << i;
        press(d, "BCancelar");
    });
    EXPECT_EQ(flags(firstOf(Method::Iteration)), before);
    EXPECT_EQ(doc.modified, 0);
}

// The caption names the coordinate system of coordinates; style buttons show pictures.
TEST_F(ElementControls, CaptionNamesTheCoordinateSystem) {
    ConstructionBuilder build(w->document());
    build.point(10, 10);
    for (const int polar : {0, 1}) {
        w->document().coordinateSystem = polar;
        // Cancel puts the saved list back as new records: the point is found again each time.
        Element* c = build.make(Method::Coordinates, w->document().head);
        edit(*c, [&](TEdit_elem& d) {
            EXPECT_TRUE(d.windowTitle().endsWith(QStringLiteral(": ") +
                                                 nameText(polar ? Name::Polar : Name::Rectangular)))
                << d.windowTitle().toStdString();
            press(d, "BCancelar");
        });
    }
    edit(*w->document().head, [](TEdit_elem& d) {
        QPushButton* cross = buttonOf(d, "BPuncruz");
        EXPECT_TRUE(cross->text().isEmpty());
        EXPECT_FALSE(cross->icon().isNull());
        press(d, "BCancelar");
    });
}

} // namespace

// ed_nom edits a button's caption and the result text a check shows, and names neither.
TEST_F(ElementControls, NameFieldEditsAButtonCaptionAndTheShownResultOfACheck) {
    ConstructionBuilder build(w->document());
    build.recalculate = true;
    Element* a = build.point(0, 0);
    Element* b = build.point(100, 0);
    Element* c = build.point(0, 50);
    Element* d = build.point(100, 50);
    Element* ab = build.make(Method::Segment, a, b);
    Element* cd = build.make(Method::Segment, c, d);
    Element* check = build.make(Method::ParallelCheck, ab, cd);
    Element* button = build.make(Method::ShowHideButton, nullptr, nullptr, nullptr, {a});
    w->canvas().recalculateAndRedraw();
    ASSERT_EQ(check->option, 1); // parallel: the true text shows
    const auto* ct = check->tailAs<CheckTail>();
    const std::string falseText = ct->falseText;
    const auto* bt = button->tailAs<ButtonTail>();
    ASSERT_FALSE(bt->caption.empty());

    struct Case {
        Element* e;
        const std::string* shown;
        QString typed;
    };
    for (const Case& k : {Case{button, &bt->caption, QStringLiteral("Ver el punto")},
                          Case{check, &ct->trueText, QStringLiteral("Sí, son paralelas")}}) {
        const std::string old = *k.shown;
        edit(*k.e, [&](TEdit_elem& dlg) {
            auto* f = dlg.findChild<QLineEdit*>(QStringLiteral("ed_nom"));
            ASSERT_NE(f, nullptr);
            EXPECT_EQ(f->text(), qtext(old));
            f->setText(k.typed);
            press(dlg, "BAceptar");
        });
        EXPECT_EQ(*k.shown, k.typed.toStdString());
        EXPECT_EQ(w->document().nameOf(k.e), "");
        // An emptied field keeps the text.
        edit(*k.e, [&](TEdit_elem& dlg) {
            type(dlg, "ed_nom", QString());
            press(dlg, "BAceptar");
        });
        EXPECT_EQ(*k.shown, k.typed.toStdString());
    }
    EXPECT_EQ(ct->falseText, falseText);
    EXPECT_EQ(firstOf(Method::Name), nullptr);
    EXPECT_EQ(w->document().modified, 1);
}

// Bcolorpar with a refused field keeps the dialog open; Cancel then starts no tool.
TEST_F(ElementControls, CancelAfterARefusedParametricColourStartsNoTool) {
    Element* p = parameter(2);
    edit(*p, [&](TEdit_elem& d) {
        type(d, "Ed_kpe", QStringLiteral("2+"));
        press(d, "Bcolorpar");
        EXPECT_EQ(d.result(), 0); // still open
        press(d, "BCancelar");
    });
    EXPECT_EQ(messages.count(text(Msg::InvalidInput)), 1);
    EXPECT_EQ(w->currentTool(), Tool::Move);
    EXPECT_DOUBLE_EQ(firstOf(Method::Parameter)->value[0], 2);
}
