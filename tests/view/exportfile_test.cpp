#include "scene.h"

#include "construction/examples.h"
#include "geometry/recalc.h"
#include "model/uitext.h"
#include "view/exportfile.h"
#include "view/pngwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <random>

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

TEST(ExportFile, QuickAndSmallestPngsHoldExactlyTheDrawing) {
    Scene s;
    fill(s);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string error;
    for (const bool aa : {false, true}) {
        ExportRequest r;
        r.width = 301; // odd sizes: no row is a whole number of words
        r.height = 203;
        r.antialiased = aa;
        QImage drawn;
        ASSERT_TRUE(renderDocumentToImage(s.doc, r, drawn, &error)) << error;
        qint64 sizes[2] = {0, 0};
        for (const bool smallest : {false, true}) {
            SCOPED_TRACE(std::string(aa ? "AA" : "plain") + (smallest ? ", smallest" : ", quick"));
            r.smallestFile = smallest;
            const std::string file = path(dir, smallest ? "small.png" : "quick.png");
            ASSERT_TRUE(renderDocumentToFile(s.doc, file, r, &error)) << error;
            const QImage read = QImage(QString::fromStdString(file));
            ASSERT_EQ(read.size(), drawn.size());
            EXPECT_EQ(read.convertToFormat(QImage::Format_RGB32), drawn);
            sizes[smallest] = QFileInfo(QString::fromStdString(file)).size();
        }
        EXPECT_LE(sizes[1], sizes[0]);
    }
}

// The IDAT chunks' data of a PNG file, joined.
static QByteArray idatData(const QByteArray& png) {
    QByteArray joined;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto* p = reinterpret_cast<const uint8_t*>(png.constData() + at);
        const qsizetype n = qsizetype(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        if (png.mid(at + 4, 4) == "IDAT") joined += png.mid(at + 8, n);
        at += n + 12;
    }
    return joined;
}

TEST(ExportFile, QuickPngOfAnyImageReadsBackAsItsColours) {
    std::mt19937 random(7);
    // Tall images are deflated in two halves (odd heights split unevenly); noise makes more than
    // one IDAT chunk.
    for (const QSize size : {QSize(1, 1), QSize(3, 2), QSize(17, 1), QSize(1, 40), QSize(640, 9),
                             QSize(5, 64), QSize(9, 131), QSize(1000, 400)}) {
        for (const QImage::Format format :
             {QImage::Format_RGB32, QImage::Format_ARGB32, QImage::Format_RGB888}) {
            QImage image(size, format);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    image.setPixel(x, y, random() | (x % 3 ? 0xff000000u : 0x40000000u));
            QBuffer buffer;
            ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
            ASSERT_TRUE(writeQuickPng(image, buffer));
            // The joined stream's checksum holds: zlib refuses the data otherwise.
            const QByteArray data = idatData(buffer.data());
            std::vector<uint8_t> rows(size_t(size.width() * 3 + 1) * size_t(size.height()));
            uLongf length = uLongf(rows.size());
            ASSERT_EQ(uncompress(rows.data(), &length, reinterpret_cast<const Bytef*>(data.data()),
                                 uLong(data.size())),
                      Z_OK);
            ASSERT_EQ(length, rows.size());
            QImage read;
            ASSERT_TRUE(read.loadFromData(buffer.data(), "PNG"));
            ASSERT_EQ(read.size(), size);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    ASSERT_EQ(read.pixel(x, y) & 0xffffff, image.pixel(x, y) & 0xffffff)
                        << size.width() << "x" << size.height() << " at " << x << "," << y;
        }
    }
}

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
    // An image of several megabytes has its pixels on memory of its own making.
    ASSERT_TRUE(renderDocumentToFile(s.doc, path(dir, "big.png"), 1200, 900, false, &error));
    const QImage big(QString::fromStdString(path(dir, "big.png")));
    ASSERT_EQ(big.size(), QSize(1200, 900));
    EXPECT_EQ(at(big, 100, 100), rgb(255, 255, 255));
    EXPECT_EQ(at(big, 100, 50), rgb(0, 200, 0));
    EXPECT_EQ(at(big, 1190, 890), s.doc.background);
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

namespace {

struct TikzPoint {
    double x, y;
};

// Every "(x,y)" of the picture.
std::vector<TikzPoint> tikzCoordinates(const std::string& tex) {
    std::vector<TikzPoint> out;
    const QRegularExpression pair(QStringLiteral("\\((-?[0-9.e+-]+),(-?[0-9.e+-]+)\\)"));
    auto it = pair.globalMatch(QString::fromStdString(tex));
    while (it.hasNext()) {
        const auto m = it.next();
        out.push_back({m.captured(1).toDouble(), m.captured(2).toDouble()});
    }
    return out;
}

bool hasCoordinate(const std::vector<TikzPoint>& all, double x, double y) {
    return std::any_of(all.begin(), all.end(), [&](const TikzPoint& p) {
        return std::abs(p.x - x) < 1e-4 && std::abs(p.y - y) < 1e-4;
    });
}

} // namespace

// The triangle example as a TikZ picture: its vertices and its circumcircle where the document
// has them, in the document's length unit; compiled when a LaTeX engine is installed.
TEST(ExportFile, TikzPictureOfTheTriangleExample) {
    Document doc;
    ASSERT_TRUE(buildExample("triangle", doc));
    recalcUpTo(doc);
    doc.left = -480;
    doc.top = 330;
    QTemporaryDir dir;
    std::string error;
    const std::string file = path(dir, "triangle.tex");
    ASSERT_TRUE(renderDocumentToFile(doc, file, 960, 660, false, &error)) << error;
    std::ifstream in(file);
    const std::string tex{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(tex.find("\\begin{tikzpicture}"), std::string::npos);
    const std::vector<TikzPoint> coords = tikzCoordinates(tex);
    const double u = doc.pixelsPerUnit;
    // The vertices, as built by the example, and the circumcentre computed from them.
    const double ax = -160, ay = -100, bx = 180, by = -80, cx = 10, cy = 150;
    for (auto [x, y] : {std::pair(ax, ay), std::pair(bx, by), std::pair(cx, cy)})
        EXPECT_TRUE(hasCoordinate(coords, x / u, y / u)) << x << ", " << y;
    const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    const double ox = ((ax * ax + ay * ay) * (by - cy) + (bx * bx + by * by) * (cy - ay) +
                       (cx * cx + cy * cy) * (ay - by)) /
                      d;
    const double oy = ((ax * ax + ay * ay) * (cx - bx) + (bx * bx + by * by) * (ax - cx) +
                       (cx * cx + cy * cy) * (bx - ax)) /
                      d;
    const double r = std::hypot(ax - ox, ay - oy) / u;
    const QRegularExpression circle(QStringLiteral(
        "\\((-?[0-9.e+-]+),(-?[0-9.e+-]+)\\) ellipse \\[x radius=([0-9.e+-]+), y radius="));
    bool found = false;
    auto it = circle.globalMatch(QString::fromStdString(tex));
    while (it.hasNext()) {
        const auto m = it.next();
        found = found || (std::abs(m.captured(1).toDouble() - ox / u) < 1e-4 &&
                          std::abs(m.captured(2).toDouble() - oy / u) < 1e-4 &&
                          std::abs(m.captured(3).toDouble() - r) < 1e-4);
    }
    EXPECT_TRUE(found) << "the circumcircle about (" << ox / u << ", " << oy / u << ")";
    EXPECT_NE(tex.find("cm}"), std::string::npos) << "the measures stay text";

    if (std::system("pdflatex --version >/dev/null 2>&1") != 0) {
        std::cout << "[   NOTE   ] pdflatex is not installed: the picture was not compiled\n";
        return;
    }
    const std::string command = "cd '" + dir.path().toStdString() +
                                "' && pdflatex -interaction=nonstopmode -halt-on-error "
                                "triangle.tex >latex.log 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "see " << dir.path().toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("triangle.pdf"))));
}

TEST(ExportFile, DxfAndHigherResolutionImages) {
    Scene s;
    fill(s);
    QTemporaryDir dir;
    std::string error;
    ASSERT_TRUE(renderDocumentToFile(s.doc, path(dir, "d.dxf"), 10, 10, false, &error)) << error;
    std::ifstream in(path(dir, "d.dxf"));
    const std::string dxf{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(dxf.rfind("0\r\nSECTION\r\n2\r\nHEADER\r\n", 0), 0u);
    EXPECT_NE(dxf.find("CIRCLE"), std::string::npos);
    EXPECT_FALSE(renderDocumentToFile(s.doc, path(dir, "missing/d.dxf"), 10, 10, false, &error));
    EXPECT_NE(error.find(uiText().message(Msg::WriteError)), std::string::npos);

    // Three times larger: the same drawing with everything three times as large.
    ExportRequest r;
    r.width = 200;
    r.height = 200;
    r.factor = 3;
    ASSERT_TRUE(renderDocumentToFile(s.doc, path(dir, "big.bmp"), r, &error)) << error;
    const QImage big(QString::fromStdString(path(dir, "big.bmp")));
    ASSERT_EQ(big.size(), QSize(600, 600));
    EXPECT_EQ(at(big, 300, 150), rgb(0, 200, 0));     // inside the circle
    EXPECT_EQ(at(big, 300, 300), rgb(255, 255, 255)); // on the segment
    EXPECT_EQ(at(big, 300, 302), rgb(255, 255, 255)) << "the segment is three pixels wide";
    EXPECT_EQ(at(big, 15, 15), s.doc.background);
}
