// The main window's options: the "Opciones" menu and its three dialogs, saving and restoring
// the options, applying them to the tools, the canvas and the tool bars, and the window's
// placement in the settings store.
#include "app/tform1.h"
#include "app/windowcontext.h"

#include "app/commands.h"
#include "dialogs/top_appearance.h"
#include "dialogs/top_fon.h"
#include "dialogs/top_general.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "settings/optionsfile.h"
#include "view/qtexts.h"

#include <QAction>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

namespace qorv {

namespace {

// 0 normal, 1 minimised, 2 maximised.
int32_t stateNumber(Qt::WindowStates s) {
    if (s & Qt::WindowMinimized) return 1;
    if (s & Qt::WindowMaximized) return 2;
    return 0;
}

} // namespace

// ---- menu
// -----------------------------------------------------------------------------------------

void TForm1::createOptionActions() {
    const auto action = [this](CommandId id, auto handler) {
        QAction* a = commands_->action(id);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    M_op_Gen = action(CommandId::GeneralOptions, [this] { openGeneralOptions(); });
    M_op_asp = action(CommandId::AppearanceOptions, [this] { openAppearanceOptions(); });
    M_op_Let = action(CommandId::FontOptions, [this] { openFontOptions(); });
    M_op_orig = action(CommandId::OriginalOptions, [this] { restoreOriginalOptions(); });
    M_op_save = action(CommandId::SaveOptions, [this] { saveOptions(); });
}

// ---- start-up
// ---------------------------------------------------------------------------------------

void TForm1::loadProgramOptions(const OptionsFileContent* known) {
    const QSize screen = screenSize();
    optionsPath_ = qorv::optionsFilePath();
    LoadedOptions loaded = loadOptions(optionsPath_, screen.width(), screen.height(), known);
    options_ = std::move(loaded.options);
    optionsFromFile_ = loaded.fromFile;
    applyProgramOptions(true);
    setShowHidden(options_.showHidden != 0);
    toolBars_->mainBar()->setVisible(options_.mainBarShown != 0);
    toolBars_->editBar()->setVisible(options_.editBarShown != 0);
    documentBar_->setVisible(options_.documentBarShown != 0);
    statusBar()->setVisible(options_.statusBarShown != 0);
    setCheckedQuietly(M_barest, options_.statusBarShown != 0);
    // Told once the window runs, so that no box stands in the way of start-up.
    if (loaded.writeFailed)
        QTimer::singleShot(
            0, this, [this] { warn(text(Msg::WriteError) + QStringLiteral(": ") + optionsPath_); });
}

void TForm1::applyProgramOptions(bool toolBars) {
    InteractionOptions& io = canvas_->interaction().options();
    io.detection = options_.pickDistance;
    io.maxNameDistance = options_.nameDistance;
    io.labelTakesColour = options_.adaptCursorColour != 0;
    creation_.decimals = options_.decimals;
    creation_.locusPoints = options_.locusPoints;
    creation_.parameterStep = options_.parameterStep;
    creation_.angleMarkFactor = options_.angleMarkFactor;
    creation_.hideMacroIntermediates = options_.hideMacroIntermediates != 0;
    creation_.horizontalTables = options_.horizontalTables != 0;
    canvas_->setPlaneSize(options_.planeSize);
    options_.planeSize = canvas_->planeSize();
    canvas_->setMarkRotationCentre(options_.markRotationCentre != 0);
    canvas_->setCursorMessageStyle(options_.cursorFont, options_.cursorBackground);
    if (toolBars) toolBars_->setButtonSize(options_.buttonSize);
}

void TForm1::takeWindowOptions() {
    options_.planeSize = canvas_->planeSize();
    options_.showHidden = TodosElem1->isChecked() ? 1 : 0;
    options_.fullScreen = fullScreen_ ? 1 : 0;
    // A bar is the user's choice; the no-document state hides bars without asking.
    const auto shown = [this](QWidget* bar) {
        return bar->isHidden() && !hiddenPanels_.contains(bar) ? 0 : 1;
    };
    options_.mainBarShown = shown(toolBars_->mainBar());
    options_.editBarShown = shown(toolBars_->editBar());
    options_.documentBarShown = shown(documentBar_);
    options_.statusBarShown = shown(statusBar());
    const QRect r = fullScreen_ ? savedGeometry_ : normalRect();
    const Qt::WindowStates state = fullScreen_ ? savedState_ : windowState();
    options_.window = WindowRecord{r.left(), r.top(), r.height(), r.width(), stateNumber(state)};
}

// ---- dialogs
// ----------------------------------------------------------------------------------------

void TForm1::runDialog(QDialog& dialog) {
    prompts_.run(dialog);
}

bool TForm1::ask(const QString& question) {
    return prompts_.askYesNo(question);
}

void TForm1::openGeneralOptions() {
    if (noDocument_) return;                   // the dialogs edit the current document's options
    options_.planeSize = canvas_->planeSize(); // "Mover la pantalla" may have changed it
    TOp_general dialog(*context_, this);
    connect(&dialog, &TOp_general::optionsChanged, this, &TForm1::optionsChanged);
    connect(&dialog, &TOp_general::lengthAssignmentAsked, this, &TForm1::startLengthAssignment);
    runDialog(dialog);
}

void TForm1::openAppearanceOptions() {
    if (noDocument_) return;
    TOp_aspecto dialog(*context_, this);
    connect(&dialog, &TOp_aspecto::optionsChanged, this, &TForm1::optionsChanged);
    runDialog(dialog);
}

void TForm1::openFontOptions() {
    if (noDocument_) return;
    TOp_fon dialog(*context_, this);
    connect(&dialog, &TOp_fon::optionsChanged, this, &TForm1::optionsChanged);
    runDialog(dialog);
}

QSize TForm1::screenSize() const {
    return canvas_->screenSize();
}

void TForm1::optionsChanged(bool toolBarsChanged) {
    applyProgramOptions(toolBarsChanged);
    {
        const QSignalBlocker block(M_AA);
        M_AA->setChecked(document().antialiased != 0);
    }
    updateStatusUnits();
    canvas_->clearTrace(); // the background may have changed
    canvas_->synchronizeView(true);
    canvas_->recalculateAndRedraw();
    updateMenuStates();
}

void TForm1::startLengthAssignment(double target) {
    canvas_->interaction().startLengthAssignment(target);
}

// ---- saving and restoring
// -------------------------------------------------------------------------

bool TForm1::saveOptions() {
    // Without a document the stand-in's grey workspace and the hidden bars would become the
    // defaults of every later start.
    if (noDocument_) return false;
    if (!ask(text(Msg::SaveOptionsQuestion))) return false;
    takeWindowOptions();
    options_.document = documentOptionsOf(document());
    if (!writeOptionsFile(QFile::encodeName(optionsPath_).toStdString(), options_)) {
        warn(text(Msg::WriteError) + QStringLiteral(": ") + optionsPath_);
        return false;
    }
    return true;
}

void TForm1::restoreOriginalOptions() {
    if (noDocument_) return;
    if (!ask(text(Msg::RestoreOptionsQuestion))) return;
    const QSize screen = screenSize();
    ProgramOptions built = builtInOptions(screen.width(), screen.height());
    // The language and the window are the user's choices, not options to reset.
    built.language = options_.language;
    built.window = options_.window;
    options_ = std::move(built);
    applyOptionDefaults(document(), options_);
    document().modified = 1;
    optionsChanged(true);
    chooseTool(Tool::Move);
}

// ---- window placement
// -----------------------------------------------------------------------------

namespace {
QRect workArea(const QWidget& w) {
    const QScreen* s = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}
QPoint workAreaOrigin(const QWidget& w) {
    return workArea(w).topLeft();
}
} // namespace

void TForm1::restoreWindowPlacement() {
    auto store = registry::open();
    placement_ = registry::readWindowPlacement(*store, workAreaOrigin(*this));
    // A placement from another screen, or written while the window was off it, must not leave
    // the menu bar where nobody can reach it.
    if (placement_.hasRect)
        placement_.rect = registry::keepOnWorkArea(placement_.rect, workArea(*this));
    if (!placement_.hasState) placement_.state = options_.window.state;
    if (!placement_.hasFullScreen) placement_.fullScreen = options_.fullScreen != 0;
    if (placement_.hasRect) setGeometry(placement_.rect);
}

void TForm1::showPlaced() {
    if (!placement_.hasRect)
        if (const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
            setGeometry(s->availableGeometry());
    if (placement_.state == 2)
        showMaximized();
    else
        showNormal();
    if (placement_.fullScreen) setFullScreenMode(true);
}

void TForm1::saveWindowPlacement() {
    if (session_.viewerMode()) return;
    const QRect normal = fullScreen_ ? savedGeometry_ : normalRect();
    const Qt::WindowStates state = fullScreen_ ? savedState_ : windowState();
    auto store = registry::open();
    registry::writeWindowPlacement(*store, normal.isValid() ? normal : geometry(),
                                   stateNumber(state), fullScreen_, workAreaOrigin(*this));
    registry::sync(*store, [this](const QString& where) {
        warn(text(Msg::WriteError) + QStringLiteral(": ") + where);
    });
}

} // namespace qorv
