// Export and print: DXF, bitmap, SVG, PDF, TikZ and web page files, the drawing on the
// clipboard, the print dialog, the printed screen bitmap and the page set-up.
#pragma once

#include "app/controllers/featurecontext.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

class QPrinter;
class QSize;

namespace qorv {

struct ExportRequest;

class ExportController : public QObject {
    Q_OBJECT
  public:
    explicit ExportController(const FeatureContext& context, QObject* parent = nullptr);
    ~ExportController() override;

    // "Exportar a DXF...", "Exportar dibujo..." (a BMP file at the export scale), "Exportar a
    // SVG...", "Exportar a PDF..." and "Exportar a LaTeX (TikZ)..." ("svg", "pdf", "tex"), the
    // web page: a save dialog, then the file; a file that cannot be written is reported.
    void exportDxf();
    void exportDrawing();
    void exportVector(const QString& suffix);
    void exportWebPage();
    // "Copiar al portapapeles": the drawing, or its rubber-band area, as a picture.
    void copyDrawingToClipboard();
    // The picture the clipboard gets.
    QImage drawingImage();
    // "Imprimir...": the print dialog TV_imp. "Imprimir bitmap": the screen bitmap after a
    // question. "Configurar Impresión...".
    void printDocument();
    void printBitmap();
    void pageSetup();
    // Printing goes to this PDF file instead of the default printer ("" for the printer).
    void setPrintFile(const QString& pdf) { printFile_ = pdf; }

  private:
    bool documentOpen() const;
    QString currentName() const;
    // No selection highlight reaches the output.
    void beforeExport();
    ExportRequest drawingRequest(QSize whole);
    // A file to export to, of the types of the text-table `filters` (the first chosen first).
    QString askExportFile(const QString& caption, const std::vector<int>& filters,
                          const QString& suffix);
    void writeExport(const QString& path, const ExportRequest& request);
    void runPageSetup(QPrinter& device);
    // The printer, or without one a PDF file's page: for a print job (`forJob`) the user is
    // asked whether to print to a PDF file, and which. Null when there is nothing to print on.
    QPrinter* printer(bool forJob);

    FeatureContext ctx_;
    std::unique_ptr<QPrinter> printer_;
    QString printFile_;
    QImage areaTrace_; // the trace under the rubber-band area of an export
};

} // namespace qorv
