#include "app/controllers/exportcontroller.h"

#include "app/commands.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "app/windowcontext.h"
#include "dialogs/tv_imp.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "view/exportfile.h"
#include "view/qtexts.h"
#include "view/tooltable.h"
#include "view/webpage.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {

// A menu item's text as a dialog's caption.
QString caption(const char* objectName) {
    return componentText(QString::fromLatin1(objectName)).remove(QLatin1Char('&'));
}

QString caption(int slot) {
    return text(slot).remove(QLatin1Char('&'));
}

} // namespace

ExportController::ExportController(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context) {
    using C = CommandId;
    ctx_.onCommand(C::ExportDrawing, this, [this] { exportDrawing(); });
    ctx_.onCommand(C::ExportDxf, this, [this] { exportDxf(); });
    ctx_.onCommand(C::ExportSvg, this, [this] { exportVector(QStringLiteral("svg")); });
    ctx_.onCommand(C::ExportPdf, this, [this] { exportVector(QStringLiteral("pdf")); });
    ctx_.onCommand(C::ExportTikz, this, [this] { exportVector(QStringLiteral("tex")); });
    ctx_.onCommand(C::ExportWeb, this, [this] { exportWebPage(); });
    ctx_.onCommand(C::Print, this, [this] { printDocument(); });
    ctx_.onCommand(C::PrintBitmap, this, [this] { printBitmap(); });
    ctx_.onCommand(C::CopyDrawing, this, [this] { copyDrawingToClipboard(); });
    ctx_.onCommand(C::PageSetup, this, [this] { pageSetup(); });
}

ExportController::~ExportController() = default;

bool ExportController::documentOpen() const {
    return ctx_.session.currentIndex() >= 0;
}

QString ExportController::currentName() const {
    return ctx_.session.documents().name(ctx_.session.currentIndex());
}

void ExportController::beforeExport() {
    ctx_.prompts.beforeDialog();
    ctx_.session.document().selectNone();
    ctx_.canvas.redraw();
}

ExportRequest ExportController::drawingRequest(QSize whole) {
    ExportRequest r;
    DrawingCanvas& canvas = ctx_.canvas;
    const Interaction& tools = canvas.interaction();
    Document& doc = ctx_.session.document();
    r.showHidden = canvas.showHidden();
    r.antialiased = doc.antialiased != 0;
    r.trace = doc.traceList.empty() ? nullptr : &canvas.traceBitmap();
    if (tools.areaDefined()) {
        // The rubber band's corners are both inside it: its size in pixels less one.
        const WorldRect a = tools.area();
        r.width = std::max(1, int(std::lround(a.right - a.left)));
        r.height = std::max(1, int(std::lround(a.top - a.bottom)));
        r.view = ViewTransform{a.left, a.top, 1.0};
        if (r.trace) {
            const ScreenPoint at = tools.areaPixelOffset();
            areaTrace_ = r.trace->copy(devicePixels(*r.trace, {at.x, at.y, r.width, r.height}));
            r.trace = &areaTrace_;
        }
    } else {
        r.width = whole.width();
        r.height = whole.height();
    }
    return r;
}

QImage ExportController::drawingImage() {
    beforeExport();
    const ExportRequest r = drawingRequest(ctx_.canvas.screenSize());
    QImage image;
    std::string error;
    if (!renderDocumentToImage(ctx_.session.document(), r, image, &error))
        ctx_.prompts.warn(QString::fromStdString(error));
    return image;
}

void ExportController::copyDrawingToClipboard() {
    if (!documentOpen()) return;
    const QImage image = drawingImage();
    if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
}

QString ExportController::askExportFile(const QString& title, const std::vector<int>& filters,
                                        const QString& suffix) {
    const QString& documents = ctx_.session.folders().documents;
    const QString folder = documents.isEmpty() ? QDir::currentPath() : documents;
    const QString proposed = QDir(folder).filePath(currentName() + QStringLiteral(".") + suffix);
    QStringList names;
    for (int filter : filters)
        names << text(filter);
    QString path = ctx_.prompts.dialogs().saveFileName(title, proposed, names, suffix);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".") + suffix;
    // A read-only file of that name is replaced all the same.
    if (!path.isEmpty() && QFileInfo::exists(path))
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    return path;
}

void ExportController::writeExport(const QString& path, const ExportRequest& request) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string error;
    const bool ok =
        renderDocumentToFile(ctx_.session.document(), path.toStdString(), request, &error);
    QApplication::restoreOverrideCursor();
    if (!ok) ctx_.prompts.warn(QString::fromStdString(error));
}

void ExportController::exportDxf() {
    if (!documentOpen()) return;
    beforeExport();
    const QString path =
        askExportFile(caption("M_export_dxf"), {Msg::DxfFilter}, QStringLiteral("dxf"));
    if (path.isEmpty()) return;
    ExportRequest r;
    r.showHidden = ctx_.canvas.showHidden();
    writeExport(path, r);
}

void ExportController::exportDrawing() {
    if (!documentOpen()) return;
    beforeExport();
    // What the view shows, or the rubber-band area.
    ExportRequest r = drawingRequest(ctx_.canvas.drawingAreaSize());
    QString path = askExportFile(caption("M_export_dib"), {Msg::BitmapFilter, Msg::PngFilter},
                                 QStringLiteral("bmp"));
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("bmp") && suffix != QLatin1String("png"))
        path += QStringLiteral(".bmp");
    // A larger drawing is made at the factor itself, pens and text growing with it, without
    // antialiasing; a factor that would pass the largest picture is lowered to one that fits.
    const int wanted = std::max(1, ctx_.session.programOptions().exportScale);
    r.factor = std::max(1, fittingFactor(r.width, r.height, wanted));
    if (r.factor < wanted)
        ctx_.prompts.inform(text(Msg::ExportFactorLowered)
                                .arg(wanted)
                                .arg(r.factor)
                                .arg(r.width * r.factor)
                                .arg(r.height * r.factor));
    if (r.factor > 1) r.antialiased = false;
    writeExport(path, r);
}

void ExportController::exportVector(const QString& suffix) {
    if (!documentOpen()) return;
    beforeExport();
    // Vector files show the drawing area, or the rubber-band area.
    const ExportRequest r = drawingRequest(ctx_.canvas.drawingAreaSize());
    const bool svg = suffix == QLatin1String("svg"), pdf = suffix == QLatin1String("pdf");
    const QString path = askExportFile(caption(svg   ? Msg::ExportSvgItem
                                               : pdf ? Msg::ExportPdfItem
                                                     : Msg::ExportTikzItem),
                                       {svg   ? Msg::SvgFilter
                                        : pdf ? Msg::PdfFilter
                                              : Msg::TikzFilter},
                                       suffix);
    if (!path.isEmpty()) writeExport(path, r);
}

// The construction as a web page whose free points can be dragged in any browser.
void ExportController::exportWebPage() {
    if (!documentOpen()) return;
    beforeExport();
    const QString path =
        askExportFile(caption(Msg::ExportWebItem), {Msg::WebFilter}, QStringLiteral("html"));
    if (path.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string error;
    const bool ok = writeWebPage(ctx_.session.document(), currentName().toStdString(),
                                 path.toStdString(), &error);
    QApplication::restoreOverrideCursor();
    if (!ok) ctx_.prompts.warn(QString::fromStdString(error));
}

// ---- printing ---------------------------------------------------------------------------------

QPrinter* ExportController::printer(bool forJob) {
    if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!printFile_.isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(printFile_);
        return printer_.get();
    }
    if (!QPrinterInfo::defaultPrinter().isNull()) return printer_.get();
    // Without a printer the page is a PDF file's; a print asks for the file.
    printer_->setOutputFormat(QPrinter::PdfFormat);
    if (!forJob) return printer_.get();
    if (ctx_.prompts.dialogs().ask(text(Msg::ProgramCaption),
                                   text(Msg::NoPrinter) + QStringLiteral("\n") +
                                       text(Msg::PrintToPdfQuestion)) != UserDialogs::Answer::Yes)
        return nullptr;
    const QString path =
        askExportFile(caption("Imprimir1"), {Msg::PdfFilter}, QStringLiteral("pdf"));
    if (path.isEmpty()) return nullptr;
    printer_->setOutputFileName(path);
    return printer_.get();
}

void ExportController::printDocument() {
    if (!documentOpen()) return;
    ctx_.session.chooseTool(Tool::Move);
    beforeExport();
    ctx_.canvas.recalculateAndRedraw();
    QPrinter* device = printer(true);
    if (!device) return;
    TV_imp dialog(
        ctx_.context, *device, [this](QPrinter& p) { runPageSetup(p); }, currentName(),
        ctx_.window);
    ctx_.prompts.run(dialog);
}

void ExportController::runPageSetup(QPrinter& device) {
    QPageSetupDialog setup(&device, ctx_.prompts.parent());
    setup.exec();
}

void ExportController::pageSetup() {
    if (QPrinter* device = printer(false)) runPageSetup(*device);
}

void ExportController::printBitmap() {
    if (!documentOpen()) return;
    beforeExport();
    if (ctx_.prompts.dialogs().ask(text(Msg::ProgramCaption), text(Msg::PrintBitmapQuestion)) !=
        UserDialogs::Answer::Yes)
        return;
    QPrinter* device = printer(true);
    if (!device) return;
    const QImage& screen = ctx_.canvas.mainBitmap();
    QImage picture = screen;
    const Interaction& tools = ctx_.canvas.interaction();
    if (tools.areaDefined()) {
        const WorldRect a = tools.area();
        const ScreenPoint at = tools.areaPixelOffset();
        picture = screen.copy(devicePixels(
            screen, {at.x + 1, at.y + 1, std::max(1, int(std::lround(a.right - a.left))),
                     std::max(1, int(std::lround(a.top - a.bottom)))}));
    }
    device->setDocName(currentName());
    QPainter painter;
    if (!painter.begin(device)) return;
    // From 10 % to 90 % of the page's width, 10 % of that width from the top.
    const double w = painter.device()->width();
    const double width = 0.8 * w;
    const QRectF target(0.1 * w, 0.1 * w, width,
                        width * picture.height() / std::max(1, picture.width()));
    painter.drawImage(target, picture);
    painter.end();
}

} // namespace qorv
