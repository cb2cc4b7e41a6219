// What the three option dialogs ("Opciones generales", "Aspecto de los elementos", "Tipos de
// Letra") need from the main window.
#pragma once

#include "model/document.h"
#include "settings/options.h"

#include <QSize>
#include <QString>

namespace qorv {

class OptionsHost {
  public:
    virtual ~OptionsHost() = default;
    virtual ProgramOptions& programOptions() = 0;
    virtual Document& currentDocument() = 0;
    virtual QSize screenSize() const = 0;
    // One undo step of the current document, before it changes.
    virtual void recordUndoStep() = 0;
    // The options or the current document's options changed: the drawing, the tools, the status
    // bar (and the tool bars when `toolBarsChanged`) follow.
    virtual void optionsChanged(bool toolBarsChanged) = 0;
    // A refused field: a warning box with the field's label as its caption.
    virtual void warnField(const QString& caption, const QString& text) = 0;
    // The colour dialog and the font dialog; false when cancelled.
    virtual bool chooseColour(Color& colour) = 0;
    virtual bool chooseFont(FontRecord& font) = 0;
    // The length tool in its length-assignment mode.
    virtual void startLengthAssignment(double target) = 0;
};

} // namespace qorv
