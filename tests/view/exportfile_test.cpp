#include "scene.h"

#include "view/exportfile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qorv;
using qorv::test::at;
using qorv::test::Scene;

namespace {

// A segment, a filled circle and a number: enough to recognise in every format.
void fill(Scene& s) {
    s.straight(Method::Segment, 20, 100, 180, 100, 1, rgb(255, 255, 255));
    s.circle(100, 150, 20, rgb(255, 0, 0), rgb(0, 200, 0));
    Element* n = s.number(3.25, 20, 60);
    n->color = rgb(255, 255, 0);
}

std::string path(const QTemporaryDir& dir, const char* name) {
    return dir.filePath(QString::fromLatin1(name)).toStdString();
}

} // namespace

TEST(ExportFile, ImagesMatchTheRendererAtTheStoredView) {
    Scene s;
    fill(s);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string error;
    for (const char* name : {"out.png", "out.bmp", "OUT.PNG"}) {
        ASSERT_TRUE(renderDocumentToFile(s.doc, path(dir, name), 200, 200, false, &error)) << error;
        const QImage im(QString::fromStdString(path(dir, name)));
        ASSERT_EQ(im.size(), QSize(200, 200)) << name;
        EXPECT_EQ(at(im, 100, 100), rgb(255, 255, 255)) << name;
        EXPECT_EQ(at(im, 100, 50), rgb(0, 200, 0)) << name;
        EXPECT_EQ(at(im, 5, 5), s.doc.background) << name;
    }
    // The stored view decides what is shown: 50 further right, the circle's centre is at
    // pixel (50, 50) and the segment (world y 100) is below the 80 rows.
    s.doc.left = 50;
    ASSERT_TRUE(renderDocumentToFile(s.doc, path(dir, "moved.png"), 120, 80, true, &error));
    const QImage moved(QString::fromStdString(path(dir, "moved.png")));
    EXPECT_EQ(moved.size(), QSize(120, 80));
    EXPECT_EQ(at(moved, 50, 50), rgb(0, 200, 0));
    for (int x = 0; x < 120; ++x)
        ASSERT_NE(at(moved, x, 79), rgb(255, 255, 255));
}

TEST(ExportFile, SvgHoldsRealPathsAndText) {
    Scene s;
    fill(s);
    QTemporaryDir dir;
    std::string error;
    const std::string file = path(dir, "drawing.svg");
    ASSERT_TRUE(renderDocumentToFile(s.doc, file, 200, 200, false, &error)) << error;
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray svg = f.readAll();
    EXPECT_TRUE(svg.contains("<svg"));
    EXPECT_TRUE(svg.contains("<text")) << "the number stays text";
    EXPECT_TRUE(svg.contains("3.25"));
    EXPECT_TRUE(svg.contains("<path") || svg.contains("<polyline"));
    EXPECT_FALSE(svg.contains("<image")) << "no raster inside";
    // Drawn back, it shows the same things in the same places.
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    QImage back(200, 200, QImage::Format_RGB32);
    back.fill(Qt::magenta);
    QPainter p(&back);
    renderer.render(&p);
    p.end();
    EXPECT_EQ(at(back, 100, 50), rgb(0, 200, 0));
    EXPECT_EQ(qRed(back.pixel(100, 100)), 255);
    EXPECT_EQ(at(back, 5, 5), s.doc.background);
}

TEST(ExportFile, PdfIsAOnePageDocument) {
    Scene s;
    fill(s);
    QTemporaryDir dir;
    std::string error;
    const std::string file = path(dir, "drawing.pdf");
    ASSERT_TRUE(renderDocumentToFile(s.doc, file, 300, 200, false, &error)) << error;
    QFile f(QString::fromStdString(file));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.contains("/Count 1"));
    EXPECT_TRUE(QString::fromLatin1(pdf).contains(
        QRegularExpression(QStringLiteral("/MediaBox \\[0 0 300(\\.0+)? 200(\\.0+)?\\]"))));
    EXPECT_TRUE(pdf.contains("/Font")) << "the number is written with a font";
}

TEST(ExportFile, RefusesUnknownTypesBadSizesAndUnwritablePlaces) {
    Scene s;
    QTemporaryDir dir;
    std::string error;
    EXPECT_FALSE(renderDocumentToFile(s.doc, path(dir, "x.gif"), 10, 10, false, &error));
    EXPECT_NE(error.find("gif"), std::string::npos);
    EXPECT_FALSE(renderDocumentToFile(s.doc, path(dir, "noextension"), 10, 10, false, &error));
    error.clear();
    EXPECT_FALSE(renderDocumentToFile(s.doc, path(dir, "x.png"), 0, 10, false, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(renderDocumentToFile(s.doc, path(dir, "x.png"), 10, 100000, false, &error));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path(dir, "x.png"))));
    for (const char* name : {"missing/x.png", "missing/x.svg", "missing/x.pdf"}) {
        error.clear();
        EXPECT_FALSE(renderDocumentToFile(s.doc, path(dir, name), 10, 10, false, &error)) << name;
        EXPECT_FALSE(error.empty()) << name;
    }
    EXPECT_TRUE(renderDocumentToFile(s.doc, path(dir, "x.png"), 10, 10, false, nullptr));
}
