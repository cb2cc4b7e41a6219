// The text tool with its editor, "Insertar bitmap" and the parametric-colour tools with their
// dialog, driven in the window.
#include "app/testwindow.h"
#include "app/toolbars.h"

#include "construction/builder.h"
#include "dialogs/tedit_elem.h"
#include "dialogs/tvcolpar.h"
#include "dialogs/tvtexto.h"
#include "geometry/elementgeometry.h"
#include "model/docfile.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

using namespace qorv;
using namespace qorv::testing;

namespace {

class TextsAndColours : public WindowTest {
  protected:
    int count(ConstructionMethod m) const {
        int n = 0;
        for (const Element* e = w->document().head; e; e = e->next)
            n += e->method == m;
        return n;
    }
    static const Element* firstOf(const Document& doc, ConstructionMethod m) {
        for (const Element* e = doc.head; e; e = e->next)
            if (e->method == m) return e;
        return nullptr;
    }
    // Saves the document and reads the file back into `read`.
    void saveAndRead(Document& read, const char* name) {
        const QString path = file(QString::fromLatin1(name));
        dialogs.files.push_back(path);
        ASSERT_TRUE(w->documents().saveDocumentAsAt(w->documents().currentDocumentIndex()));
        ASSERT_EQ(readDocumentFile(read, path.toStdString(), FileType::Document).kind,
                  FileKind::Document);
    }
    // A click on `e` as the hit test gives it, for tools whose targets are hard to point at.
    void hitElement(Element& e) {
        Hit hit;
        hit.element = &e;
        w->canvas().interaction().engine().click(&hit, firstPointOf(e), 0);
    }
};

TEST_F(TextsAndColours, TextToolPlacesSeveralLinesWithTheirFontsAndTheySurviveASave) {
    ASSERT_TRUE(action("M_Texto")->isEnabled());
    w->chooseTool(Tool::Text);
    const int undoBefore = w->canvas().toolUndoSteps();

    // Cancel makes nothing and records nothing.
    dialogs.whenModal([](QDialog& d) {
        dynamic_cast<TVTexto&>(d).memo()->setPlainText(QStringLiteral("nada"));
        d.reject();
    });
    click(40, -60);
    EXPECT_EQ(count(Method::Text), 0);
    EXPECT_EQ(w->canvas().toolUndoSteps(), undoBefore);

    // Three lines, the middle one empty, the last bold.
    const FontRecord textsFont = w->document().fonts[FontSlot::Texts];
    dialogs.whenModal([&](QDialog& d) {
        auto& editor = dynamic_cast<TVTexto&>(d);
        // What has no format of its own (a new line) shows in the text's font and colour.
        EXPECT_EQ(editor.memo()->document()->defaultFont().family().toStdString(), textsFont.name);
        EXPECT_EQ(editor.memo()->palette().color(QPalette::Text),
                  QColor(colorRed(textsFont.color), colorGreen(textsFont.color),
                         colorBlue(textsFont.color)));
        editor.memo()->setPlainText(QStringLiteral("uno\n\ndos"));
        QTextCursor c = editor.memo()->textCursor();
        c.movePosition(QTextCursor::End);
        c.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        editor.memo()->setTextCursor(c);
        editor.findChild<QPushButton*>(QStringLiteral("B_bold"))->click();
        d.accept();
    });
    click(40, -60);
    ASSERT_EQ(count(Method::Text), 1);
    EXPECT_EQ(w->canvas().toolUndoSteps(), undoBefore + 1);
    const Element* made = firstOf(w->document(), Method::Text);
    const auto* t = made->tailAs<TextTail>();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->lines, (std::vector<std::string>{"uno", " ", "dos"}));
    EXPECT_EQ(made->option, 3);
    EXPECT_NEAR(t->x, 40, 1.5); // the click, to the pixel
    EXPECT_NEAR(t->y, -60, 1.5);

    Document read;
    saveAndRead(read, "textos.qrv");
    const Element* back = firstOf(read, Method::Text);
    ASSERT_NE(back, nullptr);
    const auto* rt = back->tailAs<TextTail>();
    EXPECT_EQ(rt->lines, t->lines);
    EXPECT_EQ(rt->x, t->x);
    EXPECT_EQ(rt->y, t->y);
    // "uno", its line break, the blank and its line break are plain; "dos" is bold.
    ASSERT_EQ(rt->runs.size(), 2u);
    EXPECT_EQ(rt->runs[0].length, 3 + 2 + 1 + 2);
    EXPECT_EQ(rt->runs[0].font.bold, 0);
    EXPECT_EQ(rt->runs[1].length, 3);
    EXPECT_EQ(rt->runs[1].font.bold, 1);
    EXPECT_EQ(rt->font, w->document().fonts[FontSlot::Texts]);

    w->edit().undo();
    EXPECT_EQ(count(Method::Text), 0);
}

// The text tool on an existing text, and a double click on it with the move tool, open its
// wording with its fonts; OK changes it in one undo step, Cancel changes nothing.
TEST_F(TextsAndColours, ExistingTextOpensInTheEditorAndOkChangesItInOneUndoStep) {
    w->chooseTool(Tool::Text);
    dialogs.whenModal([](QDialog& d) {
        auto& editor = dynamic_cast<TVTexto&>(d);
        editor.memo()->setPlainText(QStringLiteral("Hola\n\nmundo"));
        QTextCursor c = editor.memo()->textCursor();
        c.movePosition(QTextCursor::End);
        c.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
        editor.memo()->setTextCursor(c);
        editor.findChild<QPushButton*>(QStringLiteral("B_bold"))->click();
        d.accept();
    });
    click(40, -60);
    ASSERT_EQ(count(Method::Text), 1);
    Element* text = w->document().head;
    while (text && text->method != Method::Text)
        text = text->next;
    ASSERT_NE(text, nullptr);
    const TextTail original = *text->tailAs<TextTail>();
    ASSERT_EQ(original.runs.size(), 2u);

    // Where to point at the first line of the text.
    const double px = original.x + 6, py = original.y - 6;
    for (const bool doubleClick : {false, true}) {
        SCOPED_TRACE(doubleClick ? "double click" : "text tool");
        w->chooseTool(doubleClick ? Tool::Move : Tool::Text);
        const int undoBefore = w->canvas().toolUndoSteps();
        int opened = 0;
        // Cancel keeps the text and records nothing.
        dialogs.whenModal([&](QDialog& d) {
            ++opened;
            auto& editor = dynamic_cast<TVTexto&>(d);
            EXPECT_EQ(editor.memo()->toPlainText(), QStringLiteral("Hola\n\nmundo"));
            TextTail shown;
            editor.fillText(shown);
            EXPECT_EQ(shown.lines, original.lines);
            EXPECT_EQ(shown.font, original.font);
            ASSERT_EQ(shown.runs.size(), original.runs.size());
            for (size_t i = 0; i < shown.runs.size(); ++i) {
                EXPECT_EQ(shown.runs[i].font, original.runs[i].font) << i;
                EXPECT_EQ(shown.runs[i].length, original.runs[i].length) << i;
            }
            editor.memo()->setPlainText(QStringLiteral("otra cosa"));
            d.reject();
        });
        if (doubleClick)
            QTest::mouseDClick(area(), Qt::LeftButton, {}, pixel(px, py));
        else
            click(px, py);
        ASSERT_EQ(opened, 1);
        EXPECT_EQ(text->tailAs<TextTail>()->lines, original.lines);
        EXPECT_EQ(w->canvas().toolUndoSteps(), undoBefore);

        // OK: a typo mended, the bold line kept bold.
        dialogs.whenModal([&](QDialog& d) {
            ++opened;
            auto& editor = dynamic_cast<TVTexto&>(d);
            QTextCursor c(editor.memo()->document());
            c.movePosition(QTextCursor::EndOfBlock);
            c.insertText(QStringLiteral(","));
            d.accept();
        });
        if (doubleClick)
            QTest::mouseDClick(area(), Qt::LeftButton, {}, pixel(px, py));
        else
            click(px, py);
        ASSERT_EQ(opened, 2);
        ASSERT_EQ(count(Method::Text), 1);
        text = w->document().head;
        while (text && text->method != Method::Text)
            text = text->next;
        const auto* t = text->tailAs<TextTail>();
        EXPECT_EQ(t->lines, (std::vector<std::string>{"Hola,", " ", "mundo"}));
        ASSERT_EQ(t->runs.size(), 2u);
        EXPECT_EQ(t->runs[1].font.bold, 1);
        EXPECT_EQ(t->runs[1].length, 5);
        EXPECT_EQ(w->document().modified, 1);
        EXPECT_EQ(w->canvas().toolUndoSteps(), undoBefore + 1);

        w->edit().undo();
        text = w->document().head;
        while (text && text->method != Method::Text)
            text = text->next;
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->tailAs<TextTail>()->lines, original.lines);
    }
}

// The colour buttons of "Editar elemento" colour what the screen shows of a text.
TEST_F(TextsAndColours, ElementDialogColourButtonsColourTheTextOnTheScreen) {
    w->chooseTool(Tool::Text);
    dialogs.whenModal([](QDialog& d) {
        dynamic_cast<TVTexto&>(d).memo()->setPlainText(QStringLiteral("MMMMMM WWWWWW"));
        d.accept();
    });
    click(40, -60);
    Element* text = w->document().head;
    while (text && text->method != Method::Text)
        text = text->next;
    ASSERT_NE(text, nullptr);
    const QPoint corner = pixel(40, -60);
    auto redPixels = [&] {
        const QImage shot = area()->grab().toImage();
        int n = 0;
        for (int y = corner.y() - 4; y < corner.y() + 40; ++y)
            for (int x = corner.x() - 4; x < corner.x() + 200; ++x) {
                if (!shot.rect().contains(x, y)) continue;
                const QColor c = shot.pixelColor(x, y);
                n += c.red() > 180 && c.green() < 80 && c.blue() < 80;
            }
        return n;
    };
    ASSERT_EQ(redPixels(), 0);
    dialogs.whenModal([](QDialog& d) {
        d.findChild<QPushButton*>(QStringLiteral("Brojo"))->click();
        d.findChild<QPushButton*>(QStringLiteral("BAceptar"))->click();
    });
    w->elementDialogs().editElement(*text);
    EXPECT_GT(redPixels(), 30);
    EXPECT_EQ(text->tailAs<TextTail>()->font.color, Color(255));
}

TEST_F(TextsAndColours, InsertedPictureIsDrawnAndSavedAndAnUnreadableFileMakesNothing) {
    ASSERT_TRUE(action("M_inbitmap")->isEnabled());
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 40));
    const QString png = file(QStringLiteral("rojo.png"));
    ASSERT_TRUE(image.save(png, "PNG"));
    const QString bad = file(QStringLiteral("roto.png"));
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("no es una imagen");
    }

    w->chooseTool(Tool::Bitmap);
    const int undoBefore = w->canvas().toolUndoSteps();
    dialogs.files.push_back(bad);
    click(-50, 50);
    EXPECT_EQ(count(Method::Bitmap), 0);
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_TRUE(messages.last().startsWith(QString::fromUtf8("No se puede leer la imagen")));
    EXPECT_EQ(w->canvas().toolUndoSteps(), undoBefore);

    dialogs.files.push_back(QString()); // cancelled
    click(-50, 50);
    EXPECT_EQ(count(Method::Bitmap), 0);

    dialogs.files.push_back(png);
    click(-50, 50);
    ASSERT_EQ(count(Method::Bitmap), 1);
    EXPECT_EQ(w->canvas().toolUndoSteps(), undoBefore + 1);
    const Element* bitmap = firstOf(w->document(), Method::Bitmap);
    const auto* picture = bitmap->tailAs<BitmapTail>();
    ASSERT_NE(picture, nullptr);
    ASSERT_GT(picture->picture.size(), 2u);
    EXPECT_EQ(picture->picture[0], 'B'); // kept as a Windows bitmap file
    EXPECT_EQ(picture->picture[1], 'M');

    // Drawn with its top-left corner at the click.
    const QPoint at = pixel(-50, 50) + QPoint(3, 2);
    EXPECT_EQ(w->canvas().mainBitmap().pixelColor(at), QColor(200, 30, 40));

    Document read;
    saveAndRead(read, "imagen.qrv");
    const Element* back = firstOf(read, Method::Bitmap);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->tailAs<BitmapTail>()->picture, picture->picture);
}

TEST_F(TextsAndColours, ParametricColourToolsTakeAnElementThenANumber) {
    ConstructionBuilder build(w->document());
    Element* centre = build.point(0, 0);
    Element* through = build.point(100, 0);
    Element* circle = build.make(Method::CircleCentrePoint, centre, through);
    Element* number = build.make(Method::Parameter);
    number->value[0] = 0.25;
    number->value[2] = 200, number->value[3] = 200;
    w->canvas().recalculateAndRedraw();
    const int undoBefore = w->canvas().toolUndoSteps();

    // B_colorpar down: the fill-colour button gives the parametric fill colour.
    auto* param = w->findChild<QToolButton*>(QStringLiteral("B_colorpar"));
    auto* fill = w->findChild<QToolButton*>(QStringLiteral("B_color_relleno"));
    ASSERT_TRUE(param && fill);
    ASSERT_TRUE(param->isEnabled());
    param->click();
    EXPECT_EQ(w->currentTool(), Tool::ParamLineColour);
    fill->click();
    EXPECT_EQ(w->currentTool(), Tool::ParamFillColour);

    dialogs.whenModal([](QDialog& d) {
        auto& dialog = dynamic_cast<TVcolpar&>(d);
        dialog.bar2()->setValue(150);
        d.accept();
    });
    click(0, 100); // on the circle's line
    hitElement(*number);
    EXPECT_EQ(static_cast<Element*>(circle->colorParam), number);
    EXPECT_EQ(circle->colorParamMode, -150);
    EXPECT_EQ(w->canvas().toolUndoSteps(), undoBefore + 1);
    // The fill now follows the number: hue of 150, value 0.25.
    EXPECT_EQ(circle->option, parametricColor(150, 0.25, 0, 0));

    // From the properties dialog: Bcolorpar closes it and the tool goes on with the element.
    dialogs.whenModal([](QDialog& d) {
        if (auto* edit = dynamic_cast<TEdit_elem*>(&d)) {
            edit->findChild<QPushButton*>(QStringLiteral("Bcolorpar"))->click();
            return;
        }
        auto& dialog = dynamic_cast<TVcolpar&>(d);
        dialog.setColours(0x102030, 0x405060);
        dialog.choice(2)->setChecked(true);
        d.accept();
    });
    w->elementDialogs().editElement(*through);
    EXPECT_EQ(w->currentTool(), Tool::ParamLineColour);
    hitElement(*number);
    EXPECT_EQ(static_cast<Element*>(through->colorParam), number);
    EXPECT_EQ(through->colorParamMode, 1000);
    EXPECT_EQ(through->colorParamFrom, 0x102030);
    EXPECT_EQ(through->colorParamTo, 0x405060);
}

// The editing tools take elements: a click on an empty place makes no point.
TEST_F(TextsAndColours, EditingToolsMakeNothingOnAnEmptyPlace) {
    for (int tool : {int(Tool::EditElement), int(Tool::LineColour), int(Tool::ToggleVisibility),
                     int(Tool::DeleteElement), int(Tool::ParamLineColour)}) {
        w->chooseTool(tool);
        dialogs.whenModal([](QDialog& d) { d.reject(); });
        click(-120, 80);
        EXPECT_EQ(w->document().head, nullptr) << tool;
        EXPECT_EQ(w->canvas().toolUndoSteps(), 0) << tool;
    }
}

TEST(ParametricColourDialogPresets, BarsChooseModesAndThePreviewShowsTheDrawingsColours) {
    TVcolpar d;
    d.resize(500, 260);
    d.show();
    d.bar1()->setValue(60);
    EXPECT_EQ(d.mode(), 60);
    d.bar2()->setValue(110);
    EXPECT_EQ(d.mode(), 110);
    QTest::mouseClick(d.preset(1), Qt::LeftButton);
    EXPECT_EQ(d.mode(), 2);
    QTest::mouseClick(d.preset(4), Qt::LeftButton);
    EXPECT_EQ(d.mode(), 110);

    d.setColours(rgb(255, 0, 0), rgb(0, 0, 255));
    QTest::mouseClick(d.preset(2), Qt::LeftButton);
    ASSERT_EQ(d.mode(), 1000);
    const QImage shown = d.preview()->grab().toImage();
    const int right = shown.width() - 1, y = shown.height() / 2;
    EXPECT_EQ(shown.pixelColor(0, y), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(right, y), QColor(0, 0, 255));
    const QColor middle = shown.pixelColor(right / 2, y);
    EXPECT_NEAR(middle.red(), 128, 3); // half way from red to blue
    EXPECT_NEAR(middle.blue(), 127, 3);
    EXPECT_EQ(middle.green(), 0);
}

} // namespace
