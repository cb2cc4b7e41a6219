#include "view/exportfile.h"

#include "model/document.h"
#include "model/uitext.h"
#include "view/renderer.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

std::string writeError(const std::string& path) {
    return uiText().message(Msg::WriteError) + ": " + path;
}

bool fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

RenderOptions exportOptions(const Document& doc, int width, int height, bool aa, bool vector) {
    RenderOptions o;
    o.view = documentView(doc);
    o.width = width;
    o.height = height;
    o.target = RenderTarget::Export;
    o.antialiased = aa;
    o.vector = vector;
    // Lines reach to the plane's edges on exports; the plane is at least as large as any view.
    o.planeSize = std::max(planeDefault(width, height),
                           2.0 * std::max(std::abs(doc.left), std::abs(doc.top)) +
                               2.0 * std::max(width, height));
    return o;
}

} // namespace

bool renderDocumentToFile(const Document& doc, const std::string& path, int width, int height,
                          bool aa, std::string* error) {
    if (width < 1 || height < 1 || width > MaxRenderSide || height > MaxRenderSide)
        return fail(error, "the size must be between 1 and " + std::to_string(MaxRenderSide) +
                               " pixels on each side");
    if (int64_t(width) * height > MaxRenderPixels)
        return fail(error,
                    "the image may have at most " + std::to_string(MaxRenderPixels) + " pixels");
    const QString file = QString::fromStdString(path);
    const QString ext = QFileInfo(file).suffix().toLower();
    Renderer renderer;

    if (ext == QLatin1String("png") || ext == QLatin1String("bmp")) {
        QImage image(width, height, QImage::Format_RGB32);
        if (image.isNull()) return fail(error, "not enough memory for the image");
        renderer.redraw(image, doc, exportOptions(doc, width, height, aa, false));
        if (!image.save(file, ext == QLatin1String("png") ? "PNG" : "BMP"))
            return fail(error, writeError(path));
        return true;
    }
    if (ext == QLatin1String("svg")) {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return fail(error, writeError(path));
        QSvgGenerator svg;
        svg.setOutputDevice(&out);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setResolution(96);
        svg.setTitle(QStringLiteral("QORV"));
        QPainter painter;
        if (!painter.begin(&svg)) return fail(error, writeError(path));
        renderer.redraw(painter, doc, exportOptions(doc, width, height, true, true));
        painter.end();
        out.close();
        if (out.error() != QFileDevice::NoError) return fail(error, writeError(path));
        return true;
    }
    if (ext == QLatin1String("pdf")) {
        {
            QFile probe(file);
            if (!probe.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return fail(error, writeError(path));
        }
        QPdfWriter pdf(file);
        // One page of exactly the drawing, one point per pixel.
        pdf.setResolution(72);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(QStringLiteral("QORV"));
        pdf.setCreator(QStringLiteral("QORV"));
        QPainter painter;
        if (!painter.begin(&pdf)) return fail(error, writeError(path));
        renderer.redraw(painter, doc, exportOptions(doc, width, height, true, true));
        if (!painter.end()) return fail(error, writeError(path));
        return true;
    }
    return fail(error,
                "unknown file type \"" + ext.toStdString() + "\": use .png, .bmp, .svg or .pdf");
}

} // namespace qorv
