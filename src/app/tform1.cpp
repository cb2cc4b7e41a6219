#include "app/tform1.h"

#include "app/windowframe.h"
#include "dialogs/tmuepan.h"
#include "dialogs/tv_iterac.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "view/qtexts.h"
#include "view/resources.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>

#include <algorithm>
#include <utility>

namespace qorv {

TForm1::TForm1(QWidget* parent, const OptionsFileContent* startOptions, EditorSession* session)
    : QMainWindow(parent), ownSession_(session ? nullptr : std::make_unique<EditorSession>()),
      session_(session ? *session : *ownSession_), prompts_(std::make_unique<Prompts>(this)) {
    setWindowTitle(text(Msg::ProgramCaption));
    frame_ = new WindowFrame(*this);
    creationOptions().chosenColor = rgb(0, 128, 192); // B_azmarino starts pressed
    statusText_ = new QLabel(this);
    statusUnits_ = new QLabel(this);
    statusBar()->addWidget(statusText_, 1);
    statusBar()->addPermanentWidget(statusUnits_);
    statusText_->setText(QString::fromStdString(uiText().toolPrompt(Tool::Move)));
    commands_ = new Commands(this);
    context_ = std::make_unique<WindowContext>(session_, *prompts_);
    requests_ = new WindowRequests(session_, *context_, this);
    requests_->setPictureFolder([this] { return session_.folders().documents; });
    canvas_ = new DrawingCanvas(*this, *requests_, document(), this);
    context_->setCanvas(*canvas_);
    setCentralWidget(canvas_);
    connect(canvas_, &DrawingCanvas::selectionChangedByTools, &session_,
            &EditorSession::notifySelectionChanged);
    // A dialog gets no clicks while a gesture holds the mouse.
    prompts_->setBeforeDialog([this] { canvas_->interaction().endGesture(); });

    const FeatureContext context{session_,  *canvas_,   *prompts_, *commands_,
                                 *context_, *requests_, this};
    documents_ = new DocumentsController(context, this);
    edit_ = new EditController(context, this);
    selection_ = new SelectionController(context, this);
    export_ = new ExportController(context, this);
    optionsCtl_ = new OptionsController(context, this);
    language_ = new LanguageController(context, this);
    help_ = new HelpController(context, this);

    bindCommands();
    buildDocumentBar(); // the top row: the tool bars go below it
    toolBars_ = new ToolBars(*this, *commands_, creationOptions().chosenColor);
    connect(toolBars_, &ToolBars::colourChosen, this, &TForm1::setCurrentColour);
    calc_ = new CalculatorController(context);
    iteration_ = new IterationController(context);
    elementDialogs_ = new ElementDialogsController(context, *calc_);
    connect(elementDialogs_, &ElementDialogsController::showHiddenAsked, this,
            &TForm1::setShowHidden);
    macros_ = new MacroController(context, *help_);
    // B_MacCon was pressed to open the dialog.
    connect(macros_, &MacroController::toolShownAgain, this,
            [this] { toolBars_->showTool(currentTool()); });
    anim_ = new AnimationController(context);
    anim_->setViewerHides(
        QList<QWidget*>{toolBars_->mainBar(), toolBars_->editBar(), documentBar_, statusBar()});
    buildMenus();
    documents_->setDocumentMenu(documentMenu_);
    documents_->setSaveOptions([this] { return anim_->saveOptions(); });
    applyLanguageTexts();
    followSession();
    // Escape selects the move tool wherever the focus is, and leaves full screen.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (frame_->fullScreen()) setFullScreenMode(false);
        canvas_->interaction().keyPress(KeyCode::Escape, 0);
    });
    resize(900, 650);
    optionsCtl_->load(startOptions);
    applyStartOptions();
    const ProgramOptions& options = programOptions();
    frame_->restorePlacement(options.window.state, options.fullScreen != 0);
    documents_->start();
}

TForm1::~TForm1() {
    // The animation and the replay stop before the canvas they draw on goes; the calculator,
    // which redraws when it closes, and the other features' windows go before it too. The
    // canvas (with the tools at work on the document) goes before the document.
    for (QObject* feature : std::initializer_list<QObject*>{anim_, calc_, elementDialogs_,
                                                            iteration_, macros_, canvas_})
        delete feature;
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
    });
    connect(session, &EditorSession::currentDocumentChanged, this, [this](Document& doc) {
        setCheckedQuietly(act(CommandId::Antialias), doc.antialiased != 0);
        updateStatusUnits();
        updateMenuStates();
        updateTitle();
    });
    connect(session, &EditorSession::documentsListed, this, &TForm1::updateTitle);
    connect(session, &EditorSession::modifiedChanged, this, &TForm1::updateTitle);
    connect(session, &EditorSession::viewerModeChanged, this,
            [this](bool on) { setCheckedQuietly(act(CommandId::ViewerMode), on); });
    for (auto signal : {&EditorSession::undoStepRecorded, &EditorSession::selectionChanged,
                        &EditorSession::clipboardChanged})
        connect(session, signal, this, &TForm1::updateMenuStates);
    connect(documents_, &DocumentsController::noDocumentChanged, this, &TForm1::showNoDocument);
    connect(optionsCtl_, &OptionsController::applied, this, [this](bool bars) {
        if (bars) toolBars_->setButtonSize(programOptions().buttonSize);
        setCheckedQuietly(act(CommandId::Antialias), document().antialiased != 0);
        updateStatusUnits();
        updateMenuStates();
    });
    optionsCtl_->setWindowOptions([this](ProgramOptions& o) { takeWindowOptions(o); });
    connect(language_, &LanguageController::languageChanged, this, &TForm1::applyLanguageTexts);
}

// ---- actions ------------------------------------------------------------------------------------

void TForm1::bindCommands() {
    using C = CommandId;
    connect(act(C::Exit), &QAction::triggered, this, &QWidget::close);
    connect(act(C::RedrawAll), &QAction::triggered, canvas_, &DrawingCanvas::redrawWithoutTraces);
    connect(act(C::ShowHidden), &QAction::toggled, this, &TForm1::setShowHidden);
    connect(act(C::MoveScreen), &QAction::triggered, this, &TForm1::openMoveScreen);
    connect(act(C::FullScreen), &QAction::toggled, this, &TForm1::setFullScreenMode);
    connect(act(C::Antialias), &QAction::toggled, this, &TForm1::setAntialiased);
}

void TForm1::buildDocumentBar() {
    documentBar_ = new QToolBar(text(Msg::DocumentBar), this);
    documentBar_->setObjectName(QStringLiteral("B_documento"));
    documentBar_->setMovable(false);
    documentBar_->setFloatable(false);
    documentBar_->setIconSize(QSize(20, 20));
    addToolBar(Qt::TopToolBarArea, documentBar_);
    addToolBarBreak(Qt::TopToolBarArea);
    const std::pair<QAction*, const char*> buttons[] = {{act(CommandId::New), "B_doc_nuevo"},
                                                        {act(CommandId::Save), "B_doc_guardar"},
                                                        {act(CommandId::Close), "B_doc_cerrar"}};
    for (const auto& [action, name] : buttons) {
        documentBar_->addAction(action);
        QWidget* button = documentBar_->widgetForAction(action);
        button->setObjectName(QString::fromLatin1(name));
        button->setFocusPolicy(Qt::NoFocus);
    }
    documentBar_->addSeparator();
    documentBar_->addWidget(documents_->combo());
    documentBar_->addSeparator();
    documentBar_->addWidget(documents_->tabs());
}

void TForm1::openCommandLine(const QString& commandLine) {
    const std::optional<WindowRecord> window = documents_->openCommandLine(commandLine);
    if (!window) return;
    // A document saved in viewer mode opens as it was shown: viewer mode, the stored size,
    // centred on the screen, not full screen (and the placement is not saved on exit).
    setViewerMode(true);
    setCheckedQuietly(act(CommandId::FullScreen), false);
    frame_->placeCentred(QSize(window->width, window->height));
}

void TForm1::showNoDocument(bool none) {
    if (none) {
        hiddenPanels_.clear();
        for (QWidget* panel :
             {static_cast<QWidget*>(toolBars_->mainBar()),
              static_cast<QWidget*>(toolBars_->editBar()), static_cast<QWidget*>(documentBar_),
              static_cast<QWidget*>(statusBar())})
            if (panel->isVisible()) {
                panel->hide();
                hiddenPanels_ << panel;
            }
    } else {
        for (QWidget* panel : std::as_const(hiddenPanels_))
            panel->show();
        hiddenPanels_.clear();
    }
    // The menus, commands and the drawing area that work on a document: without one they are
    // neither shown nor reached by their shortcuts.
    updateMenuStates();
    canvas_->setEnabled(!none);
    // The drawing area takes its size now: a new document is centred in it.
    if (!none && layout()) layout()->activate();
}

// ---- title, status bar and language -------------------------------------------------------------

void TForm1::updateTitle() {
    const int current = session_.currentIndex();
    if (current < 0) {
        setWindowTitle(text(Msg::ProgramCaption));
        setWindowModified(false);
        return;
    }
    // "[*]" is where the modified mark shows.
    setWindowTitle(text(Msg::ProgramCaption) + QStringLiteral(" - ") +
                   session_.documents().name(current) + QStringLiteral("[*]"));
    setWindowModified(document().modified != 0);
}

void TForm1::updateStatusUnits() {
    static constexpr int lengthUnits[] = {Msg::UnitMm, Msg::UnitCm, Msg::UnitM, Msg::UnitKm};
    static constexpr int angleUnits[] = {Msg::UnitRad, Msg::UnitDeg, Msg::UnitGra};
    const int l = std::clamp(document().lengthUnit, 0, 3);
    const int a = std::clamp(document().angleUnit, 0, 2);
    statusUnits_->setText(text(lengthUnits[l]) + QStringLiteral("  ") + text(angleUnits[a]));
}

void TForm1::applyLanguageTexts() {
    documents_->applyTexts(); // "Documento 1" is a text of the language too
    updateTitle();
    documentBar_->setWindowTitle(QString::fromStdString(uiText().message(Msg::DocumentBar)));
    toolBars_->applyTexts();
    applyComponentTexts(*this);
    applyMenuTexts();
    help_->applyTexts();
    setStatusText(QString::fromStdString(uiText().toolPrompt(currentTool())));
    updateStatusUnits();
}

// ---- tools --------------------------------------------------------------------------------------

void TForm1::chooseTool(int tool, bool ownButton) {
    canvas_->interaction().chooseTool(tool, ownButton);
}

int TForm1::currentTool() const {
    return session_.tool();
}

void TForm1::setCurrentColour(Color c) {
    creationOptions().chosenColor = c;
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

void TForm1::redrawn() {
    session_.noteChanges();
    if (TV_iterac* lists = iteration_->dialog(); lists && lists->isVisible()) lists->refresh();
    // The construction changes with the drawing; its items follow.
    updateMenuStates();
}

// ---- "&Ver" -------------------------------------------------------------------------------------

void TForm1::setCheckedQuietly(QAction* action, bool on) {
    const QSignalBlocker block(action);
    action->setChecked(on);
}

void TForm1::setShowHidden(bool on) {
    setCheckedQuietly(act(CommandId::ShowHidden), on);
    canvas_->setShowHidden(on);
}

void TForm1::setAntialiased(bool on) {
    document().antialiased = on ? 1 : 0;
    document().modified = 1;
    setCheckedQuietly(act(CommandId::Antialias), on);
    canvas_->recalculateAndRedraw();
}

void TForm1::setFullScreenMode(bool on) {
    setCheckedQuietly(act(CommandId::FullScreen), on);
    frame_->setFullScreen(on);
}

void TForm1::saveWindowPlacement() {
    if (!viewerMode())
        frame_->savePlacement([this](const QString& where) {
            prompts_->warn(text(Msg::WriteError) + QStringLiteral(": ") + where);
        });
}

void TForm1::openMoveScreen() {
    TMuePan dialog(*context_, this);
    dialog.exec();
}

// ---- options and placement ----------------------------------------------------------------------

void TForm1::applyStartOptions() {
    const ProgramOptions& options = programOptions();
    setShowHidden(options.showHidden != 0);
    toolBars_->mainBar()->setVisible(options.mainBarShown != 0);
    toolBars_->editBar()->setVisible(options.editBarShown != 0);
    documentBar_->setVisible(options.documentBarShown != 0);
    statusBar()->setVisible(options.statusBarShown != 0);
    setCheckedQuietly(act(CommandId::StatusBar), options.statusBarShown != 0);
}

void TForm1::takeWindowOptions(ProgramOptions& o) {
    o.fullScreen = frame_->fullScreen() ? 1 : 0;
    // A bar is the user's choice; the no-document state hides bars without asking.
    const auto shown = [this](QWidget* bar) {
        return bar->isHidden() && !hiddenPanels_.contains(bar) ? 0 : 1;
    };
    o.mainBarShown = shown(toolBars_->mainBar());
    o.editBarShown = shown(toolBars_->editBar());
    o.documentBarShown = shown(documentBar_);
    o.statusBarShown = shown(statusBar());
    const QRect r = frame_->normalRect();
    const Qt::WindowStates s = frame_->normalState();
    o.window = WindowRecord{r.left(), r.top(), r.height(), r.width(),
                            s & Qt::WindowMinimized   ? 1
                            : s & Qt::WindowMaximized ? 2
                                                      : 0};
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!documents_->confirmQuit()) {
        event->ignore();
        return;
    }
    documents_->storeSettings();
    saveWindowPlacement();
    help_->close(); // the help goes with the program
    QMainWindow::closeEvent(event);
}

} // namespace qorv
