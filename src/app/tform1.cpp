#include "app/tform1.h"

#include "app/commands.h"
#include "app/controllers/animationcontroller.h"
#include "app/controllers/calculatorcontroller.h"
#include "app/controllers/elementdialogscontroller.h"
#include "app/controllers/iterationcontroller.h"
#include "app/controllers/macrocontroller.h"
#include "app/windowcontext.h"
#include "app/windowrequests.h"
#include "dialogs/tmuepan.h"
#include "model/document.h"
#include "model/iteration.h"
#include "model/uitext.h"
#include "settings/options.h"
#include "settings/registry.h"
#include "view/qtexts.h"

#include <QAction>
#include <QApplication>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter> // the print settings die with the window
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace qorv {

TForm1::TForm1(QWidget* parent, const OptionsFileContent* startOptions, EditorSession* session)
    : QMainWindow(parent), ownSession_(session ? nullptr : std::make_unique<EditorSession>()),
      session_(session ? *session : *ownSession_), docs_(session_.documents()),
      creation_(session_.creationOptions()), options_(session_.programOptions()),
      clipboard_(session_.clipboard()), heldReferences_(session_.heldReferences()),
      folders_(session_.folders()), prompts_(this) {
    setWindowTitle(text(Msg::ProgramCaption));
    creation_.chosenColor = rgb(0, 128, 192); // B_azmarino starts pressed

    statusText_ = new QLabel(this);
    statusUnits_ = new QLabel(this);
    statusBar()->addWidget(statusText_, 1);
    statusBar()->addPermanentWidget(statusUnits_);
    statusText_->setText(QString::fromStdString(uiText().toolPrompt(Tool::Move)));
    commands_ = new Commands(this);
    prompts_.setBeforeDialog([this] { beforeDialog(); });
    context_ = std::make_unique<WindowContext>(session_, prompts_);
    requests_ = new WindowRequests(session_, *context_, this);
    requests_->setPictureFolder([this] { return folders_.documents; });
    canvas_ = new DrawingCanvas(*this, *requests_, document(), this);
    context_->setCanvas(*canvas_);
    setCentralWidget(canvas_);

    createActions();
    buildDocumentBar(); // the top row: the tool bars go below it
    toolBars_ = new ToolBars(*this, *commands_, creation_.chosenColor);
    connect(toolBars_, &ToolBars::colourChosen, this, &TForm1::setCurrentColour);
    setupExportActions();
    createFeatures();
    buildMenus();
    applyLanguageTexts();

    followSession();
    // Escape selects the move tool wherever the focus is, and leaves full screen.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (fullScreen_) setFullScreenMode(false);
        canvas_->interaction().keyPress(KeyCode::Escape, 0);
    });
    {
        const std::unique_ptr<QSettings> store = registry::open();
        recent_.load(*store);
        folders_.load(*store);
    }
    showRecentFiles();
    resize(900, 650);
    loadProgramOptions(startOptions);
    restoreWindowPlacement();
    newDocument();
    startDocument_ = &document();
    startLeft_ = document().left;
    startTop_ = document().top;
}

TForm1::~TForm1() {
    // The animation and the replay stop before the canvas they draw on goes; the calculator,
    // which redraws when it closes, and the other features' windows go before it too. The
    // canvas (with the tools at work on the document) goes before the document.
    delete anim_;
    anim_ = nullptr;
    delete calc_;
    calc_ = nullptr;
    delete elementDialogs_;
    elementDialogs_ = nullptr;
    delete iteration_;
    iteration_ = nullptr;
    delete macros_;
    macros_ = nullptr;
    delete canvas_;
    canvas_ = nullptr;
}

void TForm1::followSession() {
    EditorSession* session = &session_;
    connect(session, &EditorSession::toolRequested, this, &TForm1::chooseTool);
    connect(session, &EditorSession::elementsAboutToBeReplaced, this, [this](ElementsChange why) {
        // Undo, redo and paste go back to the move tool; the tools drop what they hold.
        if (why == ElementsChange::Undo || why == ElementsChange::Redo ||
            why == ElementsChange::Paste) {
            chooseTool(Tool::Move);
            emit editCommandStarted();
        }
        canvas_->interaction().documentReplaced();
    });
    connect(session, &EditorSession::elementsReplaced, this, [this](ElementsChange why) {
        if (why != ElementsChange::Noticed) canvas_->elementsReplaced();
        updateMenuStates();
        emit documentChanged(false);
    });
    connect(session, &EditorSession::currentDocumentChanged, this,
            [this] { emit documentChanged(true); });
    connect(session, &EditorSession::modifiedChanged, this, [this](bool on) {
        if (docs_.currentIndex() >= 0) setWindowModified(on);
    });
    connect(session, &EditorSession::viewerModeChanged, this, [this](bool on) {
        setCheckedQuietly(M_modovisor, on);
        emit viewerModeChanged(on);
    });
    for (auto signal : {&EditorSession::undoStepRecorded, &EditorSession::selectionChanged,
                        &EditorSession::clipboardChanged})
        connect(session, signal, this, &TForm1::updateMenuStates);
}

// ---- actions and menus --------------------------------------------------------------------------

void TForm1::createActions() {
    createDocumentActions();
    M_salir = commands_->action(CommandId::Exit);
    connect(M_salir, &QAction::triggered, this, &QWidget::close);

    createEditActions();

    TodosElem1 = commands_->action(CommandId::ShowHidden);
    connect(TodosElem1, &QAction::toggled, this, &TForm1::setShowHidden);
    MuePan1 = commands_->action(CommandId::MoveScreen);
    connect(MuePan1, &QAction::triggered, this, &TForm1::openMoveScreen);
    PantallaCom = commands_->action(CommandId::FullScreen);
    connect(PantallaCom, &QAction::toggled, this, &TForm1::setFullScreenMode);
    M_AA = commands_->action(CommandId::Antialias);
    connect(M_AA, &QAction::toggled, this, &TForm1::setAntialiased);

    createOptionActions();
    createLanguageAction();
    createShellActions();
}

void TForm1::warn(const QString& message) {
    prompts_.warn(message);
}

void TForm1::inform(const QString& message) {
    prompts_.inform(message);
}

// ---- status bar --------------------------------------------------------------------------------

void TForm1::updateStatusUnits() {
    static constexpr int lengthUnits[] = {Msg::UnitMm, Msg::UnitCm, Msg::UnitM, Msg::UnitKm};
    static constexpr int angleUnits[] = {Msg::UnitRad, Msg::UnitDeg, Msg::UnitGra};
    const int l = std::clamp(document().lengthUnit, 0, 3);
    const int a = std::clamp(document().angleUnit, 0, 2);
    statusUnits_->setText(text(lengthUnits[l]) + QStringLiteral("  ") + text(angleUnits[a]));
}

// ---- tools --------------------------------------------------------------------------------------

void TForm1::chooseTool(int tool, bool ownButton) {
    canvas_->interaction().chooseTool(tool, ownButton);
}

int TForm1::currentTool() const {
    return canvas_->interaction().tool();
}

void TForm1::setCurrentColour(Color c) {
    creation_.chosenColor = c;
    toolBars_->showColour(c);
}

QString TForm1::statusText() const {
    return statusText_->text();
}

void TForm1::setStatusText(const QString& t) {
    if (statusText_->text() != t) statusText_->setText(t);
}

void TForm1::toolChosen(int tool) {
    if (toolBars_) toolBars_->showTool(tool);
    session_.toolTaken(tool);
}

// ---- "&Ver" -------------------------------------------------------------------------------------

void TForm1::setCheckedQuietly(QAction* action, bool on) {
    const QSignalBlocker block(action);
    action->setChecked(on);
}

void TForm1::setShowHidden(bool on) {
    setCheckedQuietly(TodosElem1, on);
    canvas_->setShowHidden(on);
}

void TForm1::setAntialiased(bool on) {
    document().antialiased = on ? 1 : 0;
    document().modified = 1;
    setCheckedQuietly(M_AA, on);
    canvas_->recalculateAndRedraw();
}

void TForm1::setFullScreenMode(bool on) {
    if (on == fullScreen_) return;
    fullScreen_ = on;
    setCheckedQuietly(PantallaCom, on);
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = s ? s->geometry() : QRect(QPoint(), canvas_->screenSize());
    const QRect workArea = s ? s->availableGeometry() : screenArea;
    if (on) {
        // The normal rectangle (also of a maximised window): leaving full screen and the
        // placement written meanwhile give it back.
        savedGeometry_ = normalRect();
        savedState_ = windowState() & ~(Qt::WindowFullScreen | Qt::WindowMinimized);
        setWindowFlag(Qt::FramelessWindowHint, true);
        // The menu bar is pushed above the top edge of the screen.
        const int menuHeight = menuBar()->sizeHint().height();
        setWindowState(Qt::WindowNoState);
        setGeometry(screenArea.left(), screenArea.top() + 2 - menuHeight, screenArea.width(),
                    menuHeight + screenArea.height() - 2);
        show();
    } else {
        setWindowFlag(Qt::FramelessWindowHint, false);
        setWindowState(Qt::WindowNoState);
        // Set whatever the state: without a window manager maximising moves nothing, and the
        // window would stay with its menu bar above the screen.
        setGeometry(registry::keepOnWorkArea(savedGeometry_, workArea));
        if (savedState_ & Qt::WindowMaximized) {
            showMaximized();
            // Qt may take the maximised rectangle for the normal one after the window was
            // made again without its frame; the one from before stays known.
            maximisedNormal_ = savedGeometry_;
        } else {
            maximisedNormal_ = QRect();
            show();
        }
    }
    updateSizeGrip();
}

QRect TForm1::normalRect() const {
    // Kept only while the window stays maximised; restored, Qt knows it again.
    if (maximisedNormal_.isValid() && (windowState() & Qt::WindowMaximized))
        return maximisedNormal_;
    return normalGeometry().isValid() ? normalGeometry() : geometry();
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) updateSizeGrip();
    QMainWindow::changeEvent(event);
}

void TForm1::updateSizeGrip() {
    statusBar()->setSizeGripEnabled(!fullScreen_ && !(windowState() & Qt::WindowMaximized));
}

void TForm1::openMoveScreen() {
    TMuePan dialog(*context_, this);
    dialog.exec();
}

} // namespace qorv
