// The three option dialogs on a stand-in for the main window: the order of the checks of
// "Opciones generales" and their messages, what OK writes, the colour schemes of "Aspecto de los
// elementos" and the fonts of "Tipos de Letra".
#include "dialogs/fakecontext.h"
#include "dialogs/optionwidgets.h"
#include "dialogs/top_appearance.h"
#include "dialogs/top_fon.h"
#include "dialogs/top_general.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <vector>

using namespace qorv;

namespace {

// A 1280 x 1024 screen: the plane takes 1281 .. 21281.
struct FakeHost : test::FakeContext {
    FakeHost() { options = builtInOptions(1280, 1024); }
    int undoSteps = 0;
    int changes = 0;
    bool toolBarsChanged = false;
    std::vector<std::pair<QString, QString>> warnings; // caption, text
    Color nextColour = rgb(1, 2, 3);
    FontRecord nextFont{"Courier New", 0, 14, 1, 0, 0, 0};
    double lengthTarget = 0;

    void recordUndoStep() override {
        ++undoSteps;
        doc.modified = 1;
    }
    // What the dialog says to the program around it.
    template <class Dialog> void listen(Dialog& d) {
        QObject::connect(&d, &Dialog::optionsChanged, [this](bool bars) {
            ++changes;
            toolBarsChanged = bars;
        });
        if constexpr (std::is_same_v<Dialog, TOp_general>)
            QObject::connect(&d, &TOp_general::lengthAssignmentAsked,
                             [this](double target) { lengthTarget = target; });
    }
    void warn(const QString& text, const QString& caption) override {
        warnings.emplace_back(caption, text);
    }
    bool chooseColour(Color& c) override {
        c = nextColour;
        return true;
    }
    bool chooseFont(FontRecord& f) override {
        const Color keep = f.color; // the font dialog has no colour
        f = nextFont;
        f.color = keep;
        return true;
    }
};

} // namespace

TEST(TOp_general, ChecksTheFieldsInOrderAndShowsTheFirstRefusal) {
    FakeHost host;
    host.doc.pixelsPerUnit = 25;
    TOp_general d(host);
    host.listen(d);
    d.show();
    d.Edit1->setText(QStringLiteral("25"));
    d.Edit2->setText(QStringLiteral("1280"));
    d.Ed_npLG->setText(QStringLiteral("5"));
    d.Ed_elong_nom->setText(QStringLiteral("101"));
    d.Ed_numdec->setText(QStringLiteral("9"));
    d.Ed_pixl->setText(QStringLiteral("-2"));
    d.PageControl1->setCurrentIndex(TOp_general::OtherPage);
    struct Step {
        QLineEdit* field;
        int page;
        const char* caption;
        const char* message;
        const char* fix;
    };
    const Step steps[] = {
        {d.Edit1, 0, "Distancia máxima de detección (píxels)", "Solo valen enteros entre 2 y 20",
         "20"},
        {d.Edit2, 0, "Ancho y Alto del plano (píxels)", "Solo valen enteros entre 1281 y 21281",
         "1281"},
        {d.Ed_npLG, 0, "Número de puntos en un nuevo lugar geométrico",
         "Solo valen enteros entre 10 y 10000", "10000"},
        {d.Ed_elong_nom, 0, "Distancia máxima del nombre al elemento (píxels)",
         "Solo valen enteros entre 20 y 100", "20"},
        {d.Ed_numdec, 0, "Número de decimales en pantalla", "Solo valen enteros entre 0 y 8", "8"},
        {d.Ed_pixl, 1, "Pixels / cm", "Solo vale real entre 0 y 1000", "2*20"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.caption);
        host.warnings.clear();
        EXPECT_FALSE(d.B_OKClick());
        ASSERT_EQ(host.warnings.size(), 1u);
        EXPECT_EQ(host.warnings[0].first, QString::fromUtf8(s.caption));
        EXPECT_EQ(host.warnings[0].second, QString::fromUtf8(s.message));
        EXPECT_EQ(d.PageControl1->currentIndex(), s.page);
        EXPECT_EQ(d.focusWidget(), s.field);
        EXPECT_TRUE(d.isVisible()); // the dialog stays open
        EXPECT_EQ(host.changes, 0);
        s.field->setText(QString::fromLatin1(s.fix));
    }
    host.warnings.clear();
    EXPECT_TRUE(d.B_OKClick());
    EXPECT_TRUE(host.warnings.empty());
    EXPECT_EQ(d.result(), QDialog::Accepted);
    // "2*20" is 40 pixels per unit; the change was recorded as one undo step first.
    EXPECT_DOUBLE_EQ(host.doc.pixelsPerUnit, 40);
    EXPECT_EQ(host.undoSteps, 1);
    EXPECT_EQ(host.doc.modified, 1);
    EXPECT_EQ(host.options.pickDistance, 20);
    EXPECT_DOUBLE_EQ(host.options.planeSize, 1281);
    EXPECT_EQ(host.options.locusPoints, 10000);
    EXPECT_EQ(host.options.nameDistance, 20);
    EXPECT_EQ(host.options.decimals, 8);
    EXPECT_EQ(host.changes, 1);
}

TEST(TOp_general, RangesAtTheirEdges) {
    struct Case {
        QLineEdit* TOp_general::*field;
        const char* text;
        bool accepted;
    };
    for (const Case& c :
         {Case{&TOp_general::Ed_numdec, "8", true}, Case{&TOp_general::Ed_numdec, "9", false},
          Case{&TOp_general::Ed_numdec, "0", true}, Case{&TOp_general::Ed_numdec, "-1", false},
          Case{&TOp_general::Edit1, "2", true}, Case{&TOp_general::Edit1, "1", false},
          Case{&TOp_general::Edit1, "2*2", false}, // integers only here
          Case{&TOp_general::Edit2, "21281", true}, Case{&TOp_general::Edit2, "21282", false},
          Case{&TOp_general::Ed_elong_nom, "100", true}, Case{&TOp_general::Ed_npLG, "9", false},
          Case{&TOp_general::Ed_pixl, "1000", true}, Case{&TOp_general::Ed_pixl, "1000.5", false},
          Case{&TOp_general::Ed_pixl, "0", false}, Case{&TOp_general::Ed_pixl, "SQR(2)*10", true},
          Case{&TOp_general::Ed_pixl, "x+1", false}}) {
        SCOPED_TRACE(c.text);
        FakeHost host;
        TOp_general d(host);
        host.listen(d);
        (d.*c.field)->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(d.B_OKClick(), c.accepted);
        EXPECT_EQ(host.warnings.empty(), c.accepted);
    }
}

TEST(TOp_general, OkWritesTheOptionsAndTheDocument) {
    FakeHost host;
    host.doc.modified = 0;
    {
        // Nothing changed: no undo step, the document stays unmodified.
        TOp_general d(host);
        host.listen(d);
        ASSERT_TRUE(d.B_OKClick());
        EXPECT_EQ(host.undoSteps, 0);
        EXPECT_EQ(host.doc.modified, 0);
        EXPECT_FALSE(host.toolBarsChanged);
    }
    TOp_general d(host);
    host.listen(d);
    d.CB_unilong->setCurrentIndex(LengthUnit::Mm);
    d.unidad_angulo->setCurrentIndex(AngleUnit::Deg);
    d.sistcoord->setCurrentIndex(1);
    d.Chk_pixuni_zoomod->setChecked(true);
    host.nextColour = rgb(255, 255, 255);
    d.Lab_colfon->click();
    d.Ed_pincparam->setText(QStringLiteral("-0.5"));
    d.CB_niit->setCurrentIndex(0);
    d.CB_eexpdib->setCurrentIndex(3);
    d.RB_bp->setChecked(true);
    d.chb_inipp->setChecked(true);
    d.Marc_cenrot->setChecked(false);
    ASSERT_TRUE(d.B_OKClick());
    EXPECT_EQ(host.undoSteps, 0); // the pixels per unit did not change
    EXPECT_EQ(host.doc.modified, 1);
    EXPECT_EQ(host.doc.lengthUnit, LengthUnit::Mm);
    EXPECT_EQ(host.doc.angleUnit, AngleUnit::Deg);
    EXPECT_EQ(host.doc.coordinateSystem, 1);
    EXPECT_EQ(host.doc.constantLengthsWithZoom, 1);
    EXPECT_EQ(host.doc.background, rgb(255, 255, 255));
    EXPECT_DOUBLE_EQ(host.options.parameterStep, 0.5); // its absolute value
    EXPECT_EQ(host.options.iterations, 1);
    EXPECT_EQ(host.options.exportScale, 4);
    EXPECT_EQ(host.options.buttonSize, ButtonSize::Small);
    EXPECT_TRUE(host.toolBarsChanged);
    EXPECT_EQ(host.options.stepByStepFromLast, 1);
    EXPECT_EQ(host.options.markRotationCentre, 0);
    // A step of zero is not kept.
    TOp_general again(host);
    host.listen(again);
    again.Ed_pincparam->setText(QStringLiteral("0"));
    ASSERT_TRUE(again.B_OKClick());
    EXPECT_DOUBLE_EQ(host.options.parameterStep, 0.5);
}

TEST(TOp_general, AssignLengthAppliesTheDialogAndStartsTheTool) {
    FakeHost host;
    TOp_general d(host);
    host.listen(d);
    d.Ed_asiglon->setText(QStringLiteral("nada"));
    EXPECT_FALSE(d.But_asiglonClick());
    EXPECT_EQ(host.lengthTarget, 0);
    ASSERT_EQ(host.warnings.size(), 1u);
    EXPECT_EQ(host.warnings[0].first, QStringLiteral("Asignar longitud"));
    d.Ed_asiglon->setText(QStringLiteral("3/2"));
    d.CB_unilong->setCurrentIndex(LengthUnit::M);
    EXPECT_TRUE(d.But_asiglonClick());
    EXPECT_DOUBLE_EQ(host.lengthTarget, 1.5);
    EXPECT_EQ(host.doc.lengthUnit, LengthUnit::M); // applied like OK
    EXPECT_EQ(host.changes, 1);
}

TEST(TOp_general, LargerButtonsOnlyOnScreensWithRoomForThem) {
    FakeHost host;
    TOp_general d(host);
    host.listen(d);
    EXPECT_TRUE(d.RB_bn->isEnabled());
    EXPECT_TRUE(d.RB_bg->isEnabled());
    EXPECT_EQ(largestButtonSize(700), ButtonSize::Small);
    EXPECT_EQ(largestButtonSize(701), ButtonSize::Normal);
    EXPECT_EQ(largestButtonSize(914), ButtonSize::Normal);
    EXPECT_EQ(largestButtonSize(915), ButtonSize::Large);
}

TEST(TOp_aspecto, SchemesLoadTheirColoursIntoTheCopy) {
    FakeHost host;
    host.doc.background = rgb(9, 9, 9);
    host.options.document.background = rgb(7, 7, 7);
    host.options.document.kindShapes[Kind::Point] = 4;
    TOp_aspecto d(host);
    host.listen(d);
    struct Case {
        int scheme;
        Color background, hidden, selected;
    };
    for (const Case& c :
         {Case{2, 0, 48830, 16755370}, Case{4, 32, 48830, 16755370}, Case{6, 8192, 48830, 16755370},
          Case{8, 4194304, 48830, 16755370}, Case{3, 16777215, 9159362, 16711935},
          Case{5, 14803455, 39835, 16711935}, Case{7, 14811105, 39835, 16711935},
          Case{9, 16630933, 39835, 16711935}, Case{1, rgb(7, 7, 7), 48830, 16755370},
          Case{0, rgb(9, 9, 9), 48830, 16755370}}) {
        SCOPED_TRACE(c.scheme);
        d.ComboBox2->setCurrentIndex(c.scheme);
        emit d.ComboBox2->activated(c.scheme);
        EXPECT_EQ(d.copy().background, c.background);
        EXPECT_EQ(d.copy().hidden, c.hidden);
        EXPECT_EQ(d.copy().selected, c.selected);
        EXPECT_EQ(d.Lab_colfon->colour(), c.background);
        const bool light = c.scheme >= 3 && c.scheme % 2 == 1;
        EXPECT_EQ(d.copy().fontColours[FontSlot::Numbers],
                  light ? 0 : DocumentDefaults::builtIn().fonts[FontSlot::Numbers].color);
        if (light) {
            EXPECT_EQ(d.copy().colours[Kind::Segment], Color(32768));
        }
    }
    // The saved defaults bring their styles too; the document's own come back with scheme 0.
    emit d.ComboBox2->activated(1);
    EXPECT_EQ(d.copy().shapes[Kind::Point], 4);
    EXPECT_EQ(d.groupShape[0]->currentIndex(), 3);
    emit d.ComboBox2->activated(0);
    EXPECT_EQ(d.copy().shapes[Kind::Point], 1);
}

TEST(TOp_aspecto, OkWritesEachGroupToItsKinds) {
    FakeHost host;
    host.doc.modified = 0;
    TOp_aspecto d(host);
    host.listen(d);
    host.nextColour = rgb(12, 34, 56);
    d.groupColour[1]->click();           // "rectas,ejes"
    d.groupShape[3]->setCurrentIndex(2); // "segmentos": style 3
    host.nextColour = rgb(200, 0, 0);
    d.fontColour[FontSlot::Names]->click();
    d.CkB_AA_nd->setChecked(true);
    emit d.ComboBox2->activated(5); // a light scheme keeps the styles chosen
    EXPECT_EQ(d.copy().shapes[Kind::Segment], 3);
    host.nextColour = rgb(12, 34, 56);
    d.groupColour[1]->click();
    d.B_OKClick();
    EXPECT_EQ(host.doc.kindColors[Kind::Line], rgb(12, 34, 56));
    EXPECT_EQ(host.doc.kindColors[Kind::Axes], rgb(12, 34, 56));
    EXPECT_EQ(host.doc.kindShapes[Kind::Segment], 3);
    EXPECT_EQ(host.doc.kindShapes[Kind::Vector], 3);
    EXPECT_EQ(host.doc.background, Color(14803455));
    EXPECT_EQ(host.doc.fonts[FontSlot::Names].color, 0); // the scheme's black
    EXPECT_EQ(host.doc.antialiased, 1);
    EXPECT_EQ(host.doc.modified, 1);
    EXPECT_EQ(host.changes, 1);
    // Cancel discards.
    TOp_aspecto cancelled(host);
    host.listen(cancelled);
    emit cancelled.ComboBox2->activated(2);
    cancelled.B_Cancel->click();
    EXPECT_EQ(host.doc.background, Color(14803455));
}

TEST(TOp_fon, ThePreviewChangesTheChosenEntryAndOkCopiesTheFontsBack) {
    FakeHost host;
    host.doc.modified = 0;
    TOp_fon d(host);
    host.listen(d);
    d.show();
    EXPECT_EQ(d.preview->text(), QStringLiteral("prueba AaBb123"));
    EXPECT_EQ(d.Lab_click->text(), QStringLiteral("Haga clic para cambiar"));
    ASSERT_EQ(d.ListBox1->count(), 5);
    EXPECT_EQ(d.ListBox1->item(4)->text(), QStringLiteral("Mensajes del cursor"));
    // The arrow keys move through the list like clicks; the preview follows.
    d.ListBox1->setFocus();
    QTest::keyClick(d.ListBox1, Qt::Key_Down);
    QTest::keyClick(d.ListBox1, Qt::Key_Down);
    EXPECT_EQ(d.ListBox1->currentRow(), FontSlot::Numbers);
    EXPECT_EQ(d.preview->font().pointSize(), host.doc.fonts[FontSlot::Numbers].size);
    QTest::mouseClick(d.preview, Qt::LeftButton);
    EXPECT_EQ(d.fonts()[FontSlot::Numbers].name, "Courier New");
    EXPECT_EQ(d.preview->font().pointSize(), 14);
    EXPECT_EQ(host.doc.fonts[FontSlot::Numbers].name, "Arial"); // not before OK
    d.ListBox1->setCurrentRow(TOp_fon::CursorEntry);
    host.nextFont.name = "Tahoma";
    d.previewClicked();
    d.B_OKClick();
    EXPECT_EQ(host.doc.fonts[FontSlot::Numbers].name, "Courier New");
    EXPECT_EQ(host.doc.fonts[FontSlot::Numbers].size, 14);
    EXPECT_EQ(host.doc.fonts[FontSlot::Numbers].bold, 1);
    EXPECT_EQ(host.doc.fonts[FontSlot::Numbers].color, rgb(192, 192, 192)); // colour kept
    EXPECT_EQ(host.options.cursorFont.name, "Tahoma");
    EXPECT_EQ(host.doc.modified, 1);
}
