// The main window's exports and printing: DXF, bitmap and vector files, the clipboard with the
// rubber-band area, the print dialog and the printed screen bitmap (to PDF files).
#include "app/testwindow.h"

#include "construction/builder.h"
#include "dialogs/tv_imp.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "view/exportfile.h"
#include "view/qtexts.h"
#include "view/webpage.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>

using namespace qorv;

namespace {

class Export : public qorv::testing::WindowTest {
  protected:
    // A red segment across the view at world y = 0, and a green free point at the origin.
    void build() {
        ConstructionBuilder b(w->document());
        Element* p = b.point(-300, 0);
        Element* q = b.point(300, 0);
        p->visible = q->visible = 0;
        b.make(Method::Segment, p, q)->color = rgb(255, 0, 0);
        w->canvas().recalculateAndRedraw();
    }
    void band(QPoint from, QPoint to) {
        QTest::mousePress(area(), Qt::LeftButton, {}, from);
        for (int i = 1; i <= 4; ++i)
            QTest::mouseMove(area(), from + (to - from) * i / 4);
        QTest::mouseRelease(area(), Qt::LeftButton, {}, to);
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static int pdfPages(const QByteArray& pdf) {
        return int(QString::fromLatin1(pdf).count(
            QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
    }
};

} // namespace

TEST_F(Export, ARubberBandOf201By101PixelsGivesA200By100Picture) {
    build();
    w->document().selectAll(); // the selection does not reach the picture
    const QPoint from = pixel(-100, 50);
    band(from, from + QPoint(200, 100));
    ASSERT_TRUE(w->canvas().interaction().areaDefined());
    QGuiApplication::clipboard()->clear();
    action("M_copia_port")->trigger();
    const QImage image = QGuiApplication::clipboard()->image();
    ASSERT_EQ(image.size(), QSize(200, 100));
    // World y = 0 is 50 pixels below the band's top edge.
    EXPECT_EQ(image.pixel(100, 50), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(100, 20),
              QColor(w->document().background & 0xff, (w->document().background >> 8) & 0xff,
                     (w->document().background >> 16) & 0xff)
                  .rgb());
    EXPECT_EQ(w->document().selectedCount(), 0);
    // Without a band: the whole screen.
    w->chooseTool(Tool::Move);
    EXPECT_FALSE(w->canvas().interaction().areaDefined());
    EXPECT_EQ(w->exporter().drawingImage().size(), w->canvas().screenSize());
}

TEST_F(Export, DxfFilesAndTheirWriteErrors) {
    build();
    dialogs.files = {file(QStringLiteral("drawing")), QStringLiteral("/nonexistent-folder/x.dxf")};
    action("M_export_dxf")->trigger();
    EXPECT_EQ(dialogs.filters, QStringList{text(Msg::DxfFilter)});
    const QByteArray dxf = read(file(QStringLiteral("drawing.dxf")));
    EXPECT_TRUE(dxf.startsWith("0\r\nSECTION\r\n2\r\nHEADER\r\n"));
    EXPECT_TRUE(dxf.contains("LINE\r\n8\r\n0\r\n10\r\n-7.5\r\n20\r\n0\r\n11\r\n7.5\r\n"));
    EXPECT_TRUE(messages.isEmpty());
    action("M_export_dxf")->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(text(Msg::WriteError))) << messages[0].toStdString();
}

TEST_F(Export, BitmapsAtTheExportScaleAndVectorFiles) {
    build();
    w->programOptions().exportScale = 2;
    dialogs.files = {file(QStringLiteral("d.bmp")), file(QStringLiteral("d.svg")),
                     file(QStringLiteral("d.pdf")), file(QStringLiteral("d.tex"))};
    action("M_export_dib")->trigger();
    const QImage bmp(file(QStringLiteral("d.bmp")));
    EXPECT_EQ(bmp.size(), w->canvas().drawingAreaSize() * 2); // the view, not the screen
    for (const char* item : {"M_export_svg", "M_export_pdf", "M_export_tikz"})
        action(item)->trigger();
    EXPECT_TRUE(read(file(QStringLiteral("d.svg"))).contains("<svg"));
    EXPECT_EQ(pdfPages(read(file(QStringLiteral("d.pdf")))), 1);
    EXPECT_TRUE(read(file(QStringLiteral("d.tex"))).contains("\\begin{tikzpicture}"));
    EXPECT_TRUE(messages.isEmpty());
}

// The web page holds the engine, the drawing script and the document; without the engine
// module the user is told how to build it and nothing is written.
TEST_F(Export, WebPageWithTheEngineOrAClearMessage) {
    build();
    dialogs.files = {file(QStringLiteral("page.html"))};
    action("M_export_web")->trigger();
    EXPECT_EQ(action("M_export_web")->text(), text(Msg::ExportWebItem));
    if (webPageFolder().empty()) {
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(text(Msg::WebNotBuilt)));
        EXPECT_FALSE(QFileInfo::exists(file(QStringLiteral("page.html"))));
        return;
    }
    const QByteArray page = read(file(QStringLiteral("page.html")));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(page.contains("<canvas"));
    EXPECT_TRUE(page.contains("QorvEngine"));
    EXPECT_FALSE(page.contains("@DOCUMENT@"));
    // The document's bytes, as the program saves them.
    const std::vector<uint8_t> bytes = encodeDocument(w->document());
    const QByteArray encoded =
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())).toBase64();
    EXPECT_TRUE(page.contains(encoded));
}

TEST_F(Export, PrintingTwoCopiesGivesTwoPages) {
    build();
    const double left = w->document().left, top = w->document().top;
    const QString pdf = file(QStringLiteral("print.pdf"));
    w->exporter().setPrintFile(pdf);
    bool shown = false;
    dialogs.whenModal([&](QDialog& d) {
        auto* dialog = qobject_cast<TV_imp*>(&d);
        ASSERT_NE(dialog, nullptr);
        shown = true;
        EXPECT_DOUBLE_EQ(dialog->magnification(), 0.25);
        // The page in plane pixels: its millimetres at 0.25 mm a pixel.
        EXPECT_GT(dialog->pageInPixels().width(), 600);
        dialog->copiesEdit()->setText(QStringLiteral("2"));
        dialog->printButton()->click();
        EXPECT_TRUE(dialog->printed());
    });
    action("Imprimir1")->trigger();
    ASSERT_TRUE(shown);
    const QByteArray bytes = read(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_EQ(pdfPages(bytes), 2);
    // The view is back where it was.
    EXPECT_EQ(w->document().left, left);
    EXPECT_EQ(w->document().top, top);
}

TEST_F(Export, ThePrintedBitmapOnlyAfterYes) {
    build();
    const QString pdf = file(QStringLiteral("bitmap.pdf"));
    w->exporter().setPrintFile(pdf);
    dialogs.answers = {UserDialogs::Answer::No, UserDialogs::Answer::Yes};
    action("M_print_btm")->trigger();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(dialogs.lastQuestion, text(Msg::PrintBitmapQuestion));
    action("M_print_btm")->trigger();
    EXPECT_EQ(pdfPages(read(pdf)), 1);
}

TEST_F(Export, ThePrintDialogsMagnificationCopiesAndCancel) {
    build();
    const QString pdf = file(QStringLiteral("p.pdf"));
    w->exporter().setPrintFile(pdf);
    int round = 0;
    dialogs.whenModal([&](QDialog& d) {
        auto* dialog = qobject_cast<TV_imp*>(&d);
        ASSERT_NE(dialog, nullptr);
        const QSize page = dialog->pageInPixels();
        dialog->magnificationTrackBar()->setValue(1000);
        EXPECT_NEAR(dialog->magnification(), 0.12 + 1.0 / 3, 1e-12);
        // The same paper holds fewer plane pixels at the larger magnification.
        EXPECT_NEAR(dialog->pageInPixels().width(), page.width() * 0.25 / (0.12 + 1.0 / 3), 1.0);
        if (round++ == 0) {
            dialog->reject();
            return;
        }
        dialog->copiesEdit()->setText(QStringLiteral("0")); // counts as one
        dialog->printButton()->click();
    });
    action("Imprimir1")->trigger();
    EXPECT_FALSE(QFile::exists(pdf));
    action("Imprimir1")->trigger();
    EXPECT_EQ(round, 2);
    EXPECT_EQ(pdfPages(read(pdf)), 1);
}

// "Exportar dibujo..." offers PNG too, and a factor that would pass the largest picture is
// lowered to the largest that fits, with a message in the interface's language.
TEST_F(Export, DrawingExportOffersPngAndLowersATooLargeFactor) {
    build();
    // A long thin rubber band: the side limit lowers the factor, the picture stays small.
    const QPoint from = pixel(-350, 20);
    band(from, from + QPoint(700, 40));
    ASSERT_TRUE(w->canvas().interaction().areaDefined());
    const QSize base = w->exporter().drawingImage().size(); // the picture at factor 1
    ASSERT_EQ(base, QSize(700, 40));
    const int wanted = 40;
    w->programOptions().exportScale = wanted;
    // The largest factor within both limits, found from the limits themselves.
    int fits = 1;
    while (int64_t(base.width()) * (fits + 1) <= MaxRenderSide &&
           int64_t(base.height()) * (fits + 1) <= MaxRenderSide &&
           int64_t(base.width()) * base.height() * (fits + 1) * (fits + 1) <= MaxRenderPixels)
        ++fits;
    ASSERT_EQ(fits, 23);
    dialogs.files = {file(QStringLiteral("grande.png"))};
    action("M_export_dib")->trigger();
    EXPECT_EQ(dialogs.filters, (QStringList{text(Msg::BitmapFilter), text(Msg::PngFilter)}));
    const QString png = file(QStringLiteral("grande.png"));
    ASSERT_TRUE(read(png).startsWith("\x89PNG"));
    EXPECT_EQ(QImageReader(png).size(), base * fits);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0], text(Msg::ExportFactorLowered)
                               .arg(wanted)
                               .arg(fits)
                               .arg(base.width() * fits)
                               .arg(base.height() * fits));
    EXPECT_FALSE(messages[0].contains(QStringLiteral("%")));

    // A name typed with another extension is written as a bitmap.
    messages.clear();
    w->programOptions().exportScale = 1;
    dialogs.files = {file(QStringLiteral("plano.v2"))};
    action("M_export_dib")->trigger();
    EXPECT_TRUE(read(file(QStringLiteral("plano.v2.bmp"))).startsWith("BM"));
    EXPECT_TRUE(messages.isEmpty());
}

// Without a printer, printing offers a PDF file, with the print dialog, after a question in the
// interface's language.
TEST_F(Export, WithoutAPrinterPrintingOffersAPdfFile) {
    if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "this machine has a printer";
    build();
    const QString pdf = file(QStringLiteral("sin impresora.pdf"));
    int shown = 0;
    dialogs.whenModal([&](QDialog& d) {
        auto* dialog = qobject_cast<TV_imp*>(&d);
        ASSERT_NE(dialog, nullptr);
        ++shown;
        dialog->printButton()->click();
    });
    // No: nothing is printed and no dialog shows.
    dialogs.answers = {UserDialogs::Answer::No};
    action("Imprimir1")->trigger();
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(dialogs.lastQuestion,
              text(Msg::NoPrinter) + QStringLiteral("\n") + text(Msg::PrintToPdfQuestion));
    // Yes: the file, then the print dialog.
    dialogs.answers = {UserDialogs::Answer::Yes};
    dialogs.files = {pdf};
    action("Imprimir1")->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dialogs.filters, QStringList{text(Msg::PdfFilter)});
    EXPECT_EQ(pdfPages(read(pdf)), 1);
    EXPECT_TRUE(messages.isEmpty());
}
