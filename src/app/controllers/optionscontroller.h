// The program's options: read at start-up, the three dialogs of "Opciones" ("Opciones
// generales...", "Aspecto de los elementos...", "Tipos de Letra..."), "Guardar opciones" and
// "Cargar opciones originales", and the options applied to the tools and the canvas.
#pragma once

#include "app/controllers/featurecontext.h"
#include "settings/optionsfile.h"

#include <QObject>
#include <QString>

#include <functional>

namespace qorv {

class OptionsController : public QObject {
    Q_OBJECT
  public:
    explicit OptionsController(const FeatureContext& context, QObject* parent = nullptr);

    // Start-up: the options file as start-up already read it (read afresh without), or the
    // built-in options. A file that could not be written is reported once the program runs.
    void load(const OptionsFileContent* known);
    // Where the options file is, and whether the options came from it (false: the built-in
    // ones, and the file was written afresh).
    const QString& filePath() const { return path_; }
    bool fromFile() const { return fromFile_; }

    void openGeneral();
    void openAppearance();
    void openFonts();
    // "Guardar opciones": after the question, the options file is written with the current
    // document's options as the defaults of new documents. Returns whether it was written.
    bool save();
    // "Cargar opciones originales": after the question, the built-in options for the program
    // and the current document.
    void restoreOriginal();

    // What the window shows (bars, full screen, its rectangle) goes into the options saved.
    void setWindowOptions(std::function<void(ProgramOptions&)> take) { window_ = std::move(take); }
    // The options or the current document's options changed: the drawing, the tools (and the
    // tool bars when `toolBarsChanged`) follow.
    void optionsChanged(bool toolBarsChanged);
    // The length tool in its length-assignment mode ("Asignar longitud").
    void startLengthAssignment(double target);

  signals:
    // The options reached the tools and the canvas; the window follows (its tool bars too when
    // `toolBars`).
    void applied(bool toolBars);

  private:
    // The program options reach the tools and the canvas.
    void apply(bool toolBars);
    // The dialogs edit the current document's options: without one there are none.
    bool documentOpen() const;

    FeatureContext ctx_;
    QString path_;
    bool fromFile_ = false;
    std::function<void(ProgramOptions&)> window_;
};

} // namespace qorv
