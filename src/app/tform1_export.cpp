// The main window's exports and printing: DXF, bitmap, SVG, PDF, TikZ and web page files, the
// clipboard, the print dialog and the printed screen bitmap.
#include "app/tform1.h"
#include "app/windowcontext.h"

#include "app/commands.h"
#include "dialogs/tv_imp.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "view/exportfile.h"
#include "view/hoveroverlay.h"
#include "view/qtexts.h"
#include "view/tooltable.h"
#include "view/webpage.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cmath>

namespace qorv {

void TForm1::setupExportActions() {
    const auto make = [this](CommandId id, auto handler) {
        QAction* a = commands_->action(id);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    M_export_dib = make(CommandId::ExportDrawing, &TForm1::exportDrawing);
    M_export_dxf = make(CommandId::ExportDxf, &TForm1::exportDxf);
    M_export_svg = make(CommandId::ExportSvg, [this] { exportVector(QStringLiteral("svg")); });
    M_export_pdf = make(CommandId::ExportPdf, [this] { exportVector(QStringLiteral("pdf")); });
    M_export_tikz = make(CommandId::ExportTikz, [this] { exportVector(QStringLiteral("tex")); });
    M_export_web = make(CommandId::ExportWeb, &TForm1::exportWebPage);
    Imprimir1 = make(CommandId::Print, &TForm1::printDocument);
    M_print_btm = make(CommandId::PrintBitmap, &TForm1::printBitmap);
    M_copia_port = make(CommandId::CopyDrawing, &TForm1::copyDrawingToClipboard);
}

// No selection highlight reaches the output.
void TForm1::beforeExport() {
    canvas_->interaction().endGesture();
    document().selectNone();
    canvas_->redraw();
}

ExportRequest TForm1::drawingRequest(QSize whole) {
    ExportRequest r;
    const Interaction& tools = canvas_->interaction();
    Document& doc = document();
    r.showHidden = canvas_->showHidden();
    r.antialiased = doc.antialiased != 0;
    r.trace = doc.traceList.empty() ? nullptr : &canvas_->traceBitmap();
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

QImage TForm1::drawingImage() {
    beforeExport();
    const ExportRequest r = drawingRequest(canvas_->screenSize());
    QImage image;
    std::string error;
    if (!renderDocumentToImage(document(), r, image, &error)) warn(QString::fromStdString(error));
    return image;
}

void TForm1::copyDrawingToClipboard() {
    if (noDocument_) return;
    const QImage image = drawingImage();
    if (!image.isNull()) QGuiApplication::clipboard()->setImage(image);
}

QString TForm1::askExportFile(const QAction* item, const std::vector<int>& filters,
                              const QString& suffix) {
    const QString folder = folders_.documents.isEmpty() ? QDir::currentPath() : folders_.documents;
    const QString proposed =
        QDir(folder).filePath(docs_.name(docs_.currentIndex()) + QStringLiteral(".") + suffix);
    QString caption = item->text();
    caption.remove(QLatin1Char('&'));
    QStringList names;
    for (int filter : filters)
        names << text(filter);
    QString path = dialogs().saveFileName(caption, proposed, names, suffix);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".") + suffix;
    // A read-only file of that name is replaced all the same.
    if (!path.isEmpty() && QFileInfo::exists(path))
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
    return path;
}

void TForm1::writeExport(const QString& path, const ExportRequest& request) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string error;
    const bool ok = renderDocumentToFile(document(), path.toStdString(), request, &error);
    QApplication::restoreOverrideCursor();
    if (!ok) warn(QString::fromStdString(error));
}

void TForm1::exportDxf() {
    if (noDocument_) return;
    beforeExport();
    const QString path = askExportFile(M_export_dxf, {Msg::DxfFilter}, QStringLiteral("dxf"));
    if (path.isEmpty()) return;
    ExportRequest r;
    r.showHidden = canvas_->showHidden();
    writeExport(path, r);
}

void TForm1::exportDrawing() {
    if (noDocument_) return;
    beforeExport();
    // What the view shows, or the rubber-band area.
    ExportRequest r = drawingRequest(canvas_->drawingAreaSize());
    QString path =
        askExportFile(M_export_dib, {Msg::BitmapFilter, Msg::PngFilter}, QStringLiteral("bmp"));
    if (path.isEmpty()) return;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QLatin1String("bmp") && suffix != QLatin1String("png"))
        path += QStringLiteral(".bmp");
    // A larger drawing is made at the factor itself, pens and text growing with it, without
    // antialiasing; a factor that would pass the largest picture is lowered to one that fits.
    const int wanted = std::max(1, options_.exportScale);
    r.factor = std::max(1, fittingFactor(r.width, r.height, wanted));
    if (r.factor < wanted)
        inform(text(Msg::ExportFactorLowered)
                   .arg(wanted)
                   .arg(r.factor)
                   .arg(r.width * r.factor)
                   .arg(r.height * r.factor));
    if (r.factor > 1) r.antialiased = false;
    writeExport(path, r);
}

void TForm1::exportVector(const QString& suffix) {
    if (noDocument_) return;
    beforeExport();
    // Vector files show the drawing area, or the rubber-band area.
    const ExportRequest r = drawingRequest(canvas_->drawingAreaSize());
    const bool svg = suffix == QLatin1String("svg"), pdf = suffix == QLatin1String("pdf");
    const QString path = askExportFile(svg   ? M_export_svg
                                       : pdf ? M_export_pdf
                                             : M_export_tikz,
                                       {svg   ? Msg::SvgFilter
                                        : pdf ? Msg::PdfFilter
                                              : Msg::TikzFilter},
                                       suffix);
    if (!path.isEmpty()) writeExport(path, r);
}

// The construction as a web page whose free points can be dragged in any browser.
void TForm1::exportWebPage() {
    if (noDocument_) return;
    beforeExport();
    const QString path = askExportFile(M_export_web, {Msg::WebFilter}, QStringLiteral("html"));
    if (path.isEmpty()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::string error;
    const bool ok = writeWebPage(document(), docs_.name(docs_.currentIndex()).toStdString(),
                                 path.toStdString(), &error);
    QApplication::restoreOverrideCursor();
    if (!ok) warn(QString::fromStdString(error));
}

// ---- printing ---------------------------------------------------------------------------------

QPrinter* TForm1::printer(bool forJob) {
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
    if (dialogs().ask(text(Msg::ProgramCaption), text(Msg::NoPrinter) + QStringLiteral("\n") +
                                                     text(Msg::PrintToPdfQuestion)) !=
        UserDialogs::Answer::Yes)
        return nullptr;
    const QString path = askExportFile(Imprimir1, {Msg::PdfFilter}, QStringLiteral("pdf"));
    if (path.isEmpty()) return nullptr;
    printer_->setOutputFileName(path);
    return printer_.get();
}

void TForm1::printDocument() {
    if (noDocument_) return;
    chooseTool(Tool::Move);
    beforeExport();
    canvas_->recalculateAndRedraw();
    QPrinter* device = printer(true);
    if (!device) return;
    TV_imp dialog(
        *context_, *device, [this](QPrinter& p) { runPageSetup(p); },
        docs_.name(docs_.currentIndex()), this);
    runDialog(dialog);
}

void TForm1::runPageSetup(QPrinter& device) {
    QPageSetupDialog setup(&device, this);
    setup.exec();
}

// "Configurar Impresión...": the page set-up of the printer the next print uses.
void TForm1::pageSetup() {
    if (QPrinter* device = printer(false)) runPageSetup(*device);
}

void TForm1::printBitmap() {
    if (noDocument_) return;
    beforeExport();
    if (dialogs().ask(text(Msg::ProgramCaption), text(Msg::PrintBitmapQuestion)) !=
        UserDialogs::Answer::Yes)
        return;
    QPrinter* device = printer(true);
    if (!device) return;
    const QImage& screen = canvas_->mainBitmap();
    QImage picture = screen;
    const Interaction& tools = canvas_->interaction();
    if (tools.areaDefined()) {
        const WorldRect a = tools.area();
        const ScreenPoint at = tools.areaPixelOffset();
        picture = screen.copy(devicePixels(
            screen, {at.x + 1, at.y + 1, std::max(1, int(std::lround(a.right - a.left))),
                     std::max(1, int(std::lround(a.top - a.bottom)))}));
    }
    device->setDocName(docs_.name(docs_.currentIndex()));
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
