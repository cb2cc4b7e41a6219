// Tool-bar icons and cursors: every one loads, draws something, and differs from the others.
// With QORV_CONTACT_SHEET=<file.png> set, a sheet of all of them is written for a visual check.
#include "view/resources.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace qorv;

namespace {

QStringList svgWarnings;

void collectSvgWarnings(QtMsgType type, const QMessageLogContext& ctx, const QString& msg) {
    if (type != QtDebugMsg && type != QtInfoMsg)
        svgWarnings << QString::fromLatin1(ctx.category ? ctx.category : "") + ": " + msg;
}

// Loads the file with a fresh renderer and returns the warnings the SVG reader printed.
QStringList loadWarnings(const QString& path, bool* valid) {
    svgWarnings.clear();
    QtMessageHandler old = qInstallMessageHandler(collectSvgWarnings);
    QSvgRenderer renderer(path);
    *valid = renderer.isValid();
    qInstallMessageHandler(old);
    return svgWarnings;
}

QImage iconImage(const QString& name, int size) {
    return toolIcon(name).pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

int opaquePixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 64) ++n;
    return n;
}

// Pixels whose colour or coverage differ noticeably.
int differingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int d = qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) +
                          qAbs(qBlue(p) - qBlue(q)) + qAbs(qAlpha(p) - qAlpha(q));
            if (d > 48) ++n;
        }
    return n;
}

QString cursorFileStem(int n) {
    return toolCursorName(n).toLower();
}

// The resources are registered on first use of the icon or cursor functions.
void useResources() {
    (void)toolIcon(QStringLiteral("Sel"));
}

void writeContactSheet(const QString& file) {
    const QStringList& names = toolButtonNames();
    const int cols = 10, cellW = 76, cellH = 58;
    const int iconRows = (static_cast<int>(names.size()) + cols - 1) / cols;
    const int cursorRows = (toolCursorCount + cols - 1) / cols;
    // Icons at 32 and 24 px on a light tool-bar grey with their names, then the cursors on light
    // and on dark ground with their hot spot marked in magenta.
    const int height = (iconRows + cursorRows * 2) * cellH + 30;
    QImage sheet(cols * cellW + 20, height, QImage::Format_ARGB32);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));
    QPainter p(&sheet);
    QFont font = p.font();
    font.setPixelSize(9);
    p.setFont(font);
    int y0 = 10;
    for (int i = 0; i < names.size(); ++i) {
        const int x = 10 + (i % cols) * cellW, y = y0 + (i / cols) * cellH;
        p.drawPixmap(x + 6, y + 4, toolIcon(names[i]).pixmap(32, 32));
        p.drawPixmap(x + 44, y + 12, toolIcon(names[i]).pixmap(24, 24));
        p.setPen(Qt::darkGray);
        p.drawText(QRect(x, y + 40, cellW, 14), Qt::AlignHCenter, names[i]);
    }
    y0 += iconRows * cellH + 5;
    for (const QColor& ground : {QColor(0xF0, 0xF0, 0xF0), QColor(0x30, 0x30, 0x30)}) {
        p.fillRect(0, y0, sheet.width(), cursorRows * cellH, ground);
        for (int n = 1; n <= toolCursorCount; ++n) {
            const int x = 10 + ((n - 1) % cols) * cellW, y = y0 + ((n - 1) / cols) * cellH;
            p.drawPixmap(x + 22, y + 4, toolCursorPixmap(n));
            const QPoint h = toolCursorHotSpot(n);
            p.fillRect(x + 22 + h.x(), y + 4 + h.y(), 1, 1, Qt::magenta);
            p.setPen(Qt::gray);
            p.drawText(QRect(x, y + 40, cellW, 14), Qt::AlignHCenter,
                       QString::number(n) + QLatin1Char(' ') + toolCursorName(n));
        }
        y0 += cursorRows * cellH + 5;
    }
    p.end();
    sheet.save(file);
}

} // namespace

TEST(ToolIcons, EveryButtonHasAValidSvgThatDrawsAtToolBarSizes) {
    useResources();
    const QStringList& names = toolButtonNames();
    ASSERT_GE(names.size(), 90);
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = toolIconPath(name);
        ASSERT_FALSE(path.isEmpty());
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        bool valid = false;
        const QStringList warnings = loadWarnings(path, &valid);
        EXPECT_TRUE(valid);
        EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
        QSvgRenderer renderer(path);
        EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 24, 24));
        ASSERT_FALSE(toolIcon(name).isNull());
        for (int size : {24, 32}) {
            const QImage img = iconImage(name, size);
            ASSERT_EQ(img.size(), QSize(size, size));
            const int opaque = opaquePixels(img);
            // Something legible, not a speck and not a filled square.
            EXPECT_GT(opaque, size * size / 40) << "size " << size;
            EXPECT_LT(opaque, size * size * 3 / 4) << "size " << size;
        }
    }
}

TEST(ToolIcons, ResourceFolderHoldsExactlyTheListedIcons) {
    QSet<QString> listed;
    for (const QString& name : toolButtonNames())
        listed.insert(name.toLower() + QStringLiteral(".svg"));
    EXPECT_EQ(listed.size(), toolButtonNames().size()) << "a button is listed twice";
    useResources();
    const QStringList present = QDir(QStringLiteral(":/icons")).entryList(QDir::Files);
    EXPECT_EQ(QSet<QString>(present.begin(), present.end()), listed);
}

TEST(ToolIcons, NoTwoIconsLookAlike) {
    const QStringList& names = toolButtonNames();
    for (int size : {24, 32}) {
        QList<QImage> images;
        for (const QString& name : names)
            images << iconImage(name, size);
        for (int i = 0; i < images.size(); ++i)
            for (int j = i + 1; j < images.size(); ++j)
                EXPECT_GT(differingPixels(images[i], images[j]), size / 2)
                    << names[i].toStdString() << " and " << names[j].toStdString() << " at "
                    << size;
    }
}

TEST(ToolIcons, NamesMatchWithoutCaseAndAliasesShowTheirButton) {
    EXPECT_EQ(toolIconPath(QStringLiteral("B_Recta_Para")),
              QStringLiteral(":/icons/b_recta_para.svg"));
    EXPECT_EQ(toolIconPath(QStringLiteral("b_recta_para")),
              toolIconPath(QStringLiteral("B_RECTA_PARA")));
    EXPECT_EQ(toolIconPath(QStringLiteral("Sel")), QStringLiteral(":/icons/sel.svg"));
    EXPECT_EQ(toolIconPath(QStringLiteral("B_visor_zoom")), toolIconPath(QStringLiteral("B_zoom")));
    EXPECT_EQ(toolIconPath(QStringLiteral("Sel1")), toolIconPath(QStringLiteral("Sel")));
    for (const QString& alias : toolButtonAliases()) {
        SCOPED_TRACE(alias.toStdString());
        EXPECT_FALSE(toolButtonNames().contains(alias, Qt::CaseInsensitive));
        QString shown;
        for (const QString& name : toolButtonNames())
            if (toolIconPath(name) == toolIconPath(alias)) shown = name;
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_EQ(differingPixels(iconImage(alias, 24), iconImage(shown, 24)), 0);
    }
    EXPECT_TRUE(toolIconPath(QStringLiteral("B_inexistente")).isEmpty());
    EXPECT_TRUE(toolIcon(QStringLiteral("B_inexistente")).isNull());
    EXPECT_TRUE(toolIcon(QString()).isNull());
    EXPECT_TRUE(toolIcon(QStringLiteral("../cursors/con")).isNull());
}

TEST(ToolCursors, TheTwentySixCursorsAreNamedInOrder) {
    const char* expected[] = {
        "CON",    "ARRCON",  "ARR",     "SELEC",  "INTERR", "COLFOR", "VERNOVER", "TXT",    "EDIT",
        "SELARR", "ELIM",    "MANOI",   "ANIM",   "ZOOM",   "BOTON",  "TABLA",    "BITMAP", "TRAZA",
        "REDEF",  "COMPROB", "RELLENO", "FUENTE", "MACINI", "MACFIN", "SELROTPT", "SELROT"};
    ASSERT_EQ(std::size(expected), static_cast<size_t>(toolCursorCount));
    for (int n = 1; n <= toolCursorCount; ++n)
        EXPECT_EQ(toolCursorName(n), QString::fromLatin1(expected[n - 1])) << n;
    EXPECT_TRUE(toolCursorName(0).isEmpty());
    EXPECT_TRUE(toolCursorName(27).isEmpty());
    EXPECT_TRUE(toolCursorPath(-1).isEmpty());
}

TEST(ToolCursors, EachIsBlackWithAWhiteOutlineAndPointsWithAVisiblePixel) {
    useResources();
    const QStringList files = QDir(QStringLiteral(":/cursors")).entryList(QDir::Files);
    for (int n = 1; n <= toolCursorCount; ++n) {
        SCOPED_TRACE(toolCursorName(n).toStdString());
        bool valid = false;
        const QStringList warnings = loadWarnings(toolCursorPath(n), &valid);
        EXPECT_TRUE(valid);
        EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
        EXPECT_TRUE(files.contains(cursorFileStem(n) + QStringLiteral(".svg")));

        const QImage img = toolCursorPixmap(n).toImage().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(img.size(), QSize(toolCursorSize, toolCursorSize));
        int black = 0, white = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (qAlpha(c) < 200) continue;
                if (qGray(c) < 40)
                    ++black;
                else if (qGray(c) > 215)
                    ++white;
            }
        EXPECT_GT(black, 20);
        EXPECT_GT(white, 20);

        const QPoint h = toolCursorHotSpot(n);
        ASSERT_TRUE(QRect(0, 0, toolCursorSize, toolCursorSize).contains(h));
        // The pointing pixel is on the drawing (or right beside it), never in empty space.
        int nearest = 99;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qAlpha(img.pixel(x, y)) > 128)
                    nearest = qMin(nearest, qMax(qAbs(x - h.x()), qAbs(y - h.y())));
        EXPECT_LE(nearest, 1);

        const QCursor c = toolCursor(n);
        EXPECT_EQ(c.shape(), Qt::BitmapCursor);
        EXPECT_EQ(c.hotSpot(), h);
        EXPECT_EQ(c.pixmap().size(), QSize(toolCursorSize, toolCursorSize));
    }
    EXPECT_EQ(toolCursor(0).shape(), Qt::ArrowCursor);
    EXPECT_EQ(toolCursor(27).shape(), Qt::ArrowCursor);
    EXPECT_TRUE(toolCursorPixmap(27).isNull());
}

TEST(ToolCursors, NoTwoCursorsLookAlike) {
    QList<QImage> images;
    for (int n = 1; n <= toolCursorCount; ++n)
        images << toolCursorPixmap(n).toImage().convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < images.size(); ++i)
        for (int j = i + 1; j < images.size(); ++j)
            EXPECT_GT(differingPixels(images[i], images[j]), 16)
                << toolCursorName(i + 1).toStdString() << " and "
                << toolCursorName(j + 1).toStdString();
}

TEST(ToolIcons, ContactSheetOnRequest) {
    const QByteArray file = qgetenv("QORV_CONTACT_SHEET");
    if (file.isEmpty())
        GTEST_SKIP() << "set QORV_CONTACT_SHEET=<file.png> to write a sheet of icons and cursors";
    writeContactSheet(QString::fromLocal8Bit(file));
    EXPECT_FALSE(QImage(QString::fromLocal8Bit(file)).isNull());
}
