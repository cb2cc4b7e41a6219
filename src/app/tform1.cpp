#include "app/tform1.h"

#include "app/animfeatures.h"
#include "app/windowframe.h"
#include "dialogs/tv_iterac.h"
#include "dialogs/tvtexto.h"
#include "model/uitext.h"
#include "settings/language.h"
#include "view/qtexts.h"
#include "view/resources.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDialog>
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
      session_(session ? *session : *ownSession_), prompts_(std::make_unique<Prompts>(this)),
      docs_(session_.documents()), creation_(session_.creationOptions()),
      options_(session_.programOptions()), folders_(session_.folders()) {
    setWindowTitle(text(Msg::ProgramCaption));
    frame_ = new WindowFrame(*this);
    creation_.chosenColor = rgb(0, 128, 192); // B_azmarino starts pressed
    statusText_ = new QLabel(this);
    statusUnits_ = new QLabel(this);
    statusBar()->addWidget(statusText_, 1);
    statusBar()->addPermanentWidget(statusUnits_);
    statusText_->setText(QString::fromStdString(uiText().toolPrompt(Tool::Move)));
    commands_ = new Commands(this);
    canvas_ = new DrawingCanvas(*this, document(), this);
    setCentralWidget(canvas_);
    // A dialog gets no clicks while a gesture holds the mouse.
    prompts_->setBeforeDialog([this] { canvas_->interaction().endGesture(); });

    const FeatureContext context{session_, *canvas_, *prompts_, *commands_};
    documents_ = new DocumentsController(context, this);
    edit_ = new EditController(context, this);
    selection_ = new SelectionController(context, this);
    export_ = new ExportController(context, this);
    optionsCtl_ = new OptionsController(context, this);
    language_ = new LanguageController(context, this);
    help_ = new HelpController(context, this);

    bindCommands();
    buildDocumentBar(); // the top row: the tool bars go below it
    toolBars_ = new ToolBars(*this, *commands_, creation_.chosenColor);
    connect(toolBars_, &ToolBars::colourChosen, this, &TForm1::setCurrentColour);
    setupIteration();
    setupAnimation();
    buildMenus();
    documents_->setDocumentMenu(documentMenu_);
    documents_->setSaveOptions([this] { return anim_->saveOptions(); });
    applyLanguageTexts();
    followSession();

    heldReferences().add(
        [this](const HeldReferences::Visit& visit) { macroSession().forEachReference(visit); });
    heldReferences().add(
        [this](const HeldReferences::Visit& visit) { visit(creation_.redefiningButton); });
    heldReferences().add([this](const HeldReferences::Visit& visit) {
        if (calc_) calc_->calculator().forEachHeld(visit);
    });
    // What the window itself holds follows the document; the windows that stay open listen too.
    connect(this, &TForm1::documentChanged, this, [this](bool otherDocument) {
        Document& doc = document();
        placed_ = nullptr;
        IterationWorkspace& iteration = canvas_->interaction().iteration();
        if (otherDocument) {
            iteration.reset();
            macroSession().clear();
            creation_.redefiningButton = nullptr;
            return;
        }
        iteration.forgetMissing(doc);
        macroSession().dropMissing(doc);
        bool buttonThere = false;
        for (const Element* e = doc.head; e; e = e->next)
            buttonThere = buttonThere || e == creation_.redefiningButton;
        if (!buttonThere) creation_.redefiningButton = nullptr;
    });
    // Escape selects the move tool wherever the focus is, and leaves full screen.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (frame_->fullScreen()) setFullScreenMode(false);
        canvas_->interaction().keyPress(KeyCode::Escape, 0);
    });
    resize(900, 650);
    optionsCtl_->load(startOptions);
    applyStartOptions();
    frame_->restorePlacement(options_.window.state, options_.fullScreen != 0);
    documents_->start();
}

TForm1::~TForm1() {
    // The animation and the replay stop before the canvas they draw on goes.
    delete anim_;
    anim_ = nullptr;
    // The canvas (with the tools at work on the document) goes before the document, and the
    // calculator, which redraws when it closes, before the canvas.
    delete calc_;
    delete canvas_;
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
        macroSession().dropMissing(document());
    });
    connect(session, &EditorSession::elementsReplaced, this, [this](ElementsChange why) {
        if (why != ElementsChange::Noticed) canvas_->elementsReplaced();
        updateMenuStates();
        emit documentChanged(false);
    });
    connect(session, &EditorSession::currentDocumentChanged, this, [this](Document& doc) {
        setCheckedQuietly(act(CommandId::Antialias), doc.antialiased != 0);
        updateStatusUnits();
        anim_->documentShown();
        updateMenuStates();
        updateTitle();
        emit documentChanged(true);
    });
    connect(session, &EditorSession::documentsListed, this, &TForm1::updateTitle);
    connect(session, &EditorSession::modifiedChanged, this, &TForm1::updateTitle);
    connect(session, &EditorSession::viewerModeChanged, this, [this](bool on) {
        setCheckedQuietly(act(CommandId::ViewerMode), on);
        emit viewerModeChanged(on);
    });
    for (auto signal : {&EditorSession::undoStepRecorded, &EditorSession::selectionChanged,
                        &EditorSession::clipboardChanged})
        connect(session, signal, this, &TForm1::updateMenuStates);
    connect(documents_, &DocumentsController::noDocumentChanged, this, &TForm1::showNoDocument);
    connect(optionsCtl_, &OptionsController::applied, this, [this](bool bars) {
        if (bars) toolBars_->setButtonSize(options_.buttonSize);
        setCheckedQuietly(act(CommandId::Antialias), document().antialiased != 0);
        updateStatusUnits();
        updateMenuStates();
    });
    optionsCtl_->setWindowOptions([this](ProgramOptions& o) { takeWindowOptions(o); });
    optionsCtl_->setFontChooser([this](FontRecord& f) { return chooseFont(f); });
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
    connect(act(C::Macros), &QAction::triggered, this, &TForm1::openMacroDialog);
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
    setWindowTitle(text(Msg::ProgramCaption) + QStringLiteral(" - ") + docs_.name(current) +
                   QStringLiteral("[*]"));
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
    session_.toolTaken(tool);
    endButtonListRedefinition();
    if (toolBars_) toolBars_->showTool(tool);
    calcToolChosen(tool);
    iterationToolChosen(tool);
    if (anim_) anim_->toolChosen(tool);
}

void TForm1::openElementDialog(int tool, Element& e) {
    if (elementDialogHook_)
        elementDialogHook_(tool, e);
    else if (!openCalcElementDialog(tool, e))
        editElement(e);
}

bool TForm1::chooseFont(FontRecord& font) {
    if (fontDialogHook_) return fontDialogHook_(font);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, qfontOf(font), this);
    if (!ok) return false;
    font.name = chosen.family().toStdString();
    if (chosen.pointSize() > 0) font.size = chosen.pointSize();
    font.bold = chosen.bold() ? 1 : 0;
    font.italic = chosen.italic() ? 1 : 0;
    font.underline = chosen.underline() ? 1 : 0;
    font.strikeout = chosen.strikeOut() ? 1 : 0;
    return true;
}

void TForm1::redrawn() {
    session_.noteChanges();
    if (TV_iterac_ && TV_iterac_->isVisible()) TV_iterac_->refresh();
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
            warn(text(Msg::WriteError) + QStringLiteral(": ") + where);
        });
}

void TForm1::openMoveScreen() {
    TMuePan dialog(*canvas_, this);
    dialog.exec();
}

// ---- options and placement ----------------------------------------------------------------------

void TForm1::applyStartOptions() {
    setShowHidden(options_.showHidden != 0);
    toolBars_->mainBar()->setVisible(options_.mainBarShown != 0);
    toolBars_->editBar()->setVisible(options_.editBarShown != 0);
    documentBar_->setVisible(options_.documentBarShown != 0);
    statusBar()->setVisible(options_.statusBarShown != 0);
    setCheckedQuietly(act(CommandId::StatusBar), options_.statusBarShown != 0);
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
