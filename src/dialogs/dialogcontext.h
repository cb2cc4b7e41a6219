// What a dialog may ask of the program: the document it works on (the current one) with its undo
// store, the drawing that shows it, and the questions and messages of the program. Every dialog
// takes this one object; what belongs to one feature only (the calculator placing its result,
// the animation's step, a document to close) the dialog says with Qt signals, which the feature's
// controller connects.
#pragma once

#include "model/document.h"
#include "settings/options.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QDialog;

namespace qorv {

class Renderer;

class DialogContext {
  public:
    enum class Answer { Yes, No, Cancel };

    virtual ~DialogContext() = default;

    // ---- the current document
    virtual Document& document() = 0;
    virtual const CreationOptions& creationOptions() = 0;
    virtual ProgramOptions& programOptions() = 0;
    // One undo step, before the document changes.
    virtual void recordUndoStep() = 0;
    // The document changed: it is recalculated and drawn again.
    virtual void changed() = 0;
    // The document goes back to the undo step recorded last, which is forgotten; what the
    // program holds into the list is found again by id.
    virtual void revertStep() = 0;
    // The open documents in table order, and the current one's index (-1: none is open).
    virtual QStringList documentNames() = 0;
    virtual int currentDocumentIndex() = 0;
    virtual Document& documentAt(int index) = 0;

    // ---- the drawing that shows the document
    virtual Renderer& renderer() = 0;
    virtual QSize drawingAreaSize() = 0; // client size of the main drawing area
    virtual QSize screenSize() = 0;
    virtual double planeSize() = 0;
    virtual void setPlaneSize(double size) = 0;
    virtual bool showHidden() = 0;
    // Drawn again at the window's own scale (after the view origin moved).
    virtual void redraw() = 0;
    // The view changed: far corner, scroll bars, recalculation and drawing follow.
    virtual void viewChanged() = 0;

    // ---- questions and messages
    // A warning box; the caption is the program's unless given (a refused field names itself).
    virtual void warn(const QString& message, const QString& caption = QString()) = 0;
    // A question with Yes, No and Cancel.
    virtual Answer ask(const QString& question) = 0;
    // An input box starting with `initial`; nothing when it is cancelled.
    virtual std::optional<QString> askText(const QString& prompt, const QString& initial) = 0;
    // The font and colour dialogs; false when cancelled.
    virtual bool chooseFont(FontRecord& font) = 0;
    virtual bool chooseColour(Color& colour) = 0;
    // File dialogs; empty when cancelled. The first filter is the one chosen at first; the
    // extension `suffix` is added to a name typed without one.
    virtual QString openFileName(const QString& caption, const QString& folder,
                                 const QStringList& filters) = 0;
    virtual QString saveFileName(const QString& caption, const QString& proposed,
                                 const QStringList& filters, const QString& suffix) = 0;
    // Runs a modal dialog to its end (tests answer it without a modal loop).
    virtual void run(QDialog& dialog) = 0;
};

} // namespace qorv
