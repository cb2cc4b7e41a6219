#include "app/controllers/optionscontroller.h"

#include "app/commands.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "app/windowcontext.h"
#include "dialogs/top_appearance.h"
#include "dialogs/top_fon.h"
#include "dialogs/top_general.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QFile>
#include <QTimer>

namespace qorv {

OptionsController::OptionsController(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context) {
    using C = CommandId;
    ctx_.onCommand(C::GeneralOptions, this, [this] { openGeneral(); });
    ctx_.onCommand(C::AppearanceOptions, this, [this] { openAppearance(); });
    ctx_.onCommand(C::FontOptions, this, [this] { openFonts(); });
    ctx_.onCommand(C::OriginalOptions, this, [this] { restoreOriginal(); });
    ctx_.onCommand(C::SaveOptions, this, [this] { save(); });
}

void OptionsController::load(const OptionsFileContent* known) {
    const QSize screen = ctx_.canvas.screenSize();
    path_ = qorv::optionsFilePath();
    LoadedOptions loaded = loadOptions(path_, screen.width(), screen.height(), known);
    ctx_.session.programOptions() = std::move(loaded.options);
    fromFile_ = loaded.fromFile;
    apply(true);
    // Told once the program runs, so that no box stands in the way of start-up.
    if (loaded.writeFailed)
        QTimer::singleShot(0, this, [this] {
            ctx_.prompts.warn(text(Msg::WriteError) + QStringLiteral(": ") + path_);
        });
}

void OptionsController::apply(bool toolBars) {
    ProgramOptions& options = ctx_.session.programOptions();
    CreationOptions& creation = ctx_.session.creationOptions();
    DrawingCanvas& canvas = ctx_.canvas;
    InteractionOptions& io = canvas.interaction().options();
    io.detection = options.pickDistance;
    io.maxNameDistance = options.nameDistance;
    io.labelTakesColour = options.adaptCursorColour != 0;
    creation.decimals = options.decimals;
    creation.locusPoints = options.locusPoints;
    creation.parameterStep = options.parameterStep;
    creation.angleMarkFactor = options.angleMarkFactor;
    creation.hideMacroIntermediates = options.hideMacroIntermediates != 0;
    creation.horizontalTables = options.horizontalTables != 0;
    canvas.setPlaneSize(options.planeSize);
    options.planeSize = canvas.planeSize();
    canvas.setMarkRotationCentre(options.markRotationCentre != 0);
    canvas.setCursorMessageStyle(options.cursorFont, options.cursorBackground);
    emit applied(toolBars);
}

bool OptionsController::documentOpen() const {
    return ctx_.session.currentIndex() >= 0;
}

void OptionsController::openGeneral() {
    if (!documentOpen()) return;
    // "Mover la pantalla" may have changed it.
    ctx_.session.programOptions().planeSize = ctx_.canvas.planeSize();
    TOp_general dialog(ctx_.context, ctx_.window);
    connect(&dialog, &TOp_general::optionsChanged, this, &OptionsController::optionsChanged);
    connect(&dialog, &TOp_general::lengthAssignmentAsked, this,
            &OptionsController::startLengthAssignment);
    ctx_.prompts.run(dialog);
}

void OptionsController::openAppearance() {
    if (!documentOpen()) return;
    TOp_aspecto dialog(ctx_.context, ctx_.window);
    connect(&dialog, &TOp_aspecto::optionsChanged, this, &OptionsController::optionsChanged);
    ctx_.prompts.run(dialog);
}

void OptionsController::openFonts() {
    if (!documentOpen()) return;
    TOp_fon dialog(ctx_.context, ctx_.window);
    connect(&dialog, &TOp_fon::optionsChanged, this, &OptionsController::optionsChanged);
    ctx_.prompts.run(dialog);
}

bool OptionsController::save() {
    // Without a document the stand-in's grey workspace and the hidden bars would become the
    // defaults of every later start.
    if (!documentOpen()) return false;
    if (!ctx_.prompts.askYesNo(text(Msg::SaveOptionsQuestion))) return false;
    ProgramOptions& options = ctx_.session.programOptions();
    options.planeSize = ctx_.canvas.planeSize();
    options.showHidden = ctx_.canvas.showHidden() ? 1 : 0;
    if (window_) window_(options);
    options.document = documentOptionsOf(ctx_.session.document());
    if (!writeOptionsFile(QFile::encodeName(path_).toStdString(), options)) {
        ctx_.prompts.warn(text(Msg::WriteError) + QStringLiteral(": ") + path_);
        return false;
    }
    return true;
}

void OptionsController::restoreOriginal() {
    if (!documentOpen()) return;
    if (!ctx_.prompts.askYesNo(text(Msg::RestoreOptionsQuestion))) return;
    const QSize screen = ctx_.canvas.screenSize();
    ProgramOptions& options = ctx_.session.programOptions();
    ProgramOptions built = builtInOptions(screen.width(), screen.height());
    // The language and the window are the user's choices, not options to reset.
    built.language = options.language;
    built.window = options.window;
    options = std::move(built);
    applyOptionDefaults(ctx_.session.document(), options);
    ctx_.session.document().modified = 1;
    optionsChanged(true);
    ctx_.session.chooseTool(Tool::Move);
}

void OptionsController::optionsChanged(bool toolBarsChanged) {
    apply(toolBarsChanged);
    ctx_.canvas.clearTrace(); // the background may have changed
    ctx_.canvas.synchronizeView(true);
    ctx_.canvas.recalculateAndRedraw();
}

void OptionsController::startLengthAssignment(double target) {
    ctx_.canvas.interaction().startLengthAssignment(target);
}

} // namespace qorv
