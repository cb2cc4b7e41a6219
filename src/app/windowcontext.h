// The dialogs' context as the main window gives it: the session's current document and undo
// store, the drawing canvas that shows it, and the window's prompts. One object for every dialog
// of the program.
#pragma once

#include "dialogs/dialogcontext.h"

#include <functional>

namespace qorv {

class DrawingCanvas;
class EditorSession;
class Prompts;

class WindowContext : public DialogContext {
  public:
    WindowContext(EditorSession& session, Prompts& prompts);
    // The canvas that shows the session's current document (given once it is made).
    void setCanvas(DrawingCanvas& canvas) { canvas_ = &canvas; }

    // The font dialog, replaceable (tests answer without a dialog): returns whether a font was
    // chosen.
    void setFontDialogHook(std::function<bool(FontRecord&)> hook) {
        fontDialogHook_ = std::move(hook);
    }
    EditorSession& session() { return session_; }
    DrawingCanvas& canvas() { return *canvas_; }
    Prompts& prompts() { return prompts_; }

    Document& document() override;
    const CreationOptions& creationOptions() override;
    ProgramOptions& programOptions() override;
    void recordUndoStep() override;
    void changed() override;
    void revertStep() override;
    QStringList documentNames() override;
    int currentDocumentIndex() override;
    Document& documentAt(int index) override;

    Renderer& renderer() override;
    QSize drawingAreaSize() override;
    QSize screenSize() override;
    double planeSize() override;
    void setPlaneSize(double size) override;
    bool showHidden() override;
    void redraw() override;
    void viewChanged() override;

    void warn(const QString& message, const QString& caption = QString()) override;
    Answer ask(const QString& question) override;
    std::optional<QString> askText(const QString& prompt, const QString& initial) override;
    bool chooseFont(FontRecord& font) override;
    bool chooseColour(Color& colour) override;
    QString openFileName(const QString& caption, const QString& folder,
                         const QStringList& filters) override;
    QString saveFileName(const QString& caption, const QString& proposed,
                         const QStringList& filters, const QString& suffix) override;
    void run(QDialog& dialog) override;

  private:
    EditorSession& session_;
    DrawingCanvas* canvas_ = nullptr;
    Prompts& prompts_;
    std::function<bool(FontRecord&)> fontDialogHook_;
};

} // namespace qorv
