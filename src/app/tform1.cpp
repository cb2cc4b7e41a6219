#include "app/tform1.h"

#include "app/animfeatures.h"
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

namespace {

// 0 normal, 1 minimised, 2 maximised.
int32_t stateNumber(Qt::WindowStates s) {
    if (s & Qt::WindowMinimized) return 1;
    if (s & Qt::WindowMaximized) return 2;
    return 0;
}

QRect workArea(const QWidget& w) {
    const QScreen* s = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

} // namespace

TForm1::TForm1(QWidget* parent, const OptionsFileContent* startOptions, EditorSession* session)
    : QMainWindow(parent), ownSession_(session ? nullptr : std::make_unique<EditorSession>()),
      session_(session ? *session : *ownSession_), prompts_(std::make_unique<Prompts>(this)),
      docs_(session_.documents()), creation_(session_.creationOptions()),
      options_(session_.programOptions()), folders_(session_.folders()) {
    setWindowTitle(text(Msg::ProgramCaption));
    creation_.chosenColor = rgb(0, 128, 192); // B_azmarino starts pressed
    statusText_ = new QLabel(this);
    statusUnits_ = new QLabel(this);
    statusBar()->addWidget(statusText_, 1);
    statusBar()->addPermanentWidget(statusUnits_);
    statusText_->setText(QString::fromStdString(uiText().toolPrompt(Tool::Move)));
    canvas_ = new DrawingCanvas(*this, document(), this);
    setCentralWidget(canvas_);
    // A dialog gets no clicks while a gesture holds the mouse.
    prompts_->setBeforeDialog([this] { canvas_->interaction().endGesture(); });

    const FeatureContext context{session_, *canvas_, *prompts_};
    documents_ = new DocumentsController(context, this);
    edit_ = new EditController(context, this);
    selection_ = new SelectionController(context, this);
    export_ = new ExportController(context, this);
    optionsCtl_ = new OptionsController(context, this);
    language_ = new LanguageController(context, this);
    help_ = new HelpController(context, this);

    createActions();
    buildDocumentBar(); // the top row: the tool bars go below it
    toolBars_ = new ToolBars(*this, TodosElem1, M_AA, creation_.chosenColor);
    // B_MacCon opens the macro dialog, which chooses the macro tools.
    connect(toolBars_, &ToolBars::toolRequested, this, [this](int tool) {
        if (tool == Tool::ApplyMacro)
            openMacroDialog();
        else
            chooseTool(tool, true);
    });
    connect(toolBars_, &ToolBars::colourChosen, this, &TForm1::setCurrentColour);
    const std::pair<QObject*, const char*> bars[] = {
        {toolBars_->mainBar()->toggleViewAction(), "M_botprin"},
        {toolBars_->editBar()->toggleViewAction(), "M_botedi"},
        {documentBar_->toggleViewAction(), "M_bardoc"}};
    for (const auto& [object, name] : bars)
        object->setObjectName(QString::fromLatin1(name));
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
        if (fullScreen_) setFullScreenMode(false);
        canvas_->interaction().keyPress(KeyCode::Escape, 0);
    });
    resize(900, 650);
    optionsCtl_->load(startOptions);
    applyStartOptions();
    restoreWindowPlacement();
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
        setCheckedQuietly(M_AA, doc.antialiased != 0);
        updateStatusUnits();
        anim_->documentShown();
        updateMenuStates();
        updateTitle();
        emit documentChanged(true);
    });
    connect(session, &EditorSession::documentsListed, this, &TForm1::updateTitle);
    connect(session, &EditorSession::modifiedChanged, this, &TForm1::updateTitle);
    connect(session, &EditorSession::viewerModeChanged, this, [this](bool on) {
        setCheckedQuietly(M_modovisor, on);
        emit viewerModeChanged(on);
    });
    for (auto signal : {&EditorSession::undoStepRecorded, &EditorSession::selectionChanged,
                        &EditorSession::clipboardChanged})
        connect(session, signal, this, &TForm1::updateMenuStates);
    connect(documents_, &DocumentsController::noDocumentChanged, this, &TForm1::showNoDocument);
    connect(optionsCtl_, &OptionsController::applied, this, [this](bool bars) {
        if (bars) toolBars_->setButtonSize(options_.buttonSize);
        setCheckedQuietly(M_AA, document().antialiased != 0);
        updateStatusUnits();
        updateMenuStates();
    });
    optionsCtl_->setWindowOptions([this](ProgramOptions& o) { takeWindowOptions(o); });
    optionsCtl_->setFontChooser([this](FontRecord& f) { return chooseFont(f); });
    connect(language_, &LanguageController::languageChanged, this, &TForm1::applyLanguageTexts);
}

// ---- actions ------------------------------------------------------------------------------------

void TForm1::createActions() {
    // `slot` < 0: the text of the component table under the object's name.
    const auto make = [this](const char* name, int slot, std::function<void()> run) {
        const QString objectName = QString::fromLatin1(name);
        auto* a = new QAction(slot >= 0 ? text(slot) : componentText(objectName), this);
        a->setObjectName(objectName);
        if (run) connect(a, &QAction::triggered, this, std::move(run));
        return a;
    };
    const auto toggle = [&](const char* name, int slot, void (TForm1::*set)(bool)) {
        QAction* a = make(name, slot, nullptr);
        a->setCheckable(true);
        connect(a, &QAction::toggled, this, set);
        return a;
    };
    DocumentsController* d = documents_;
    const auto dialog = [this](std::function<void()> run) {
        return [this, run] {
            beforeDialog();
            run();
        };
    };
    M_nuevo = make("M_nuevo", Msg::NewItem, dialog([d] { d->newDocument(); }));
    make("M_abrir", Msg::OpenItem, [d] { d->askAndOpen(); });
    M_guardar = make("M_guardar", Msg::SaveItem, [d] { d->saveCurrent(); });
    make("M_guardar_como", Msg::SaveAs, [d] { d->saveCurrentAs(); });
    M_cerrar = make("M_cerrar", Msg::CloseItem, [d] { d->closeCurrent(); });
    make("M_cerrar_todo", Msg::CloseAll, [d] { d->closeAll(); });
    // "&Documento" has items of its own for them, so that a language can name them apart.
    make("M_doc_cerrar", Msg::CloseItem, [d] { d->closeCurrent(); });
    make("M_doc_cerrartodo", Msg::CloseAll, [d] { d->closeAll(); });
    make("M_siguiente", Msg::NextDocument, [d] { d->nextDocument(); });
    make("M_anterior", Msg::PreviousDocument, [d] { d->previousDocument(); });
    make("M_primero", Msg::FirstDocument, [d] { d->firstDocument(); });
    make("M_ultimo", Msg::LastDocument, [d] { d->lastDocument(); });
    make("M_lista_doc", Msg::DocumentListItem, [d] { d->openDocumentList(); });
    make("M_elim_recientes", Msg::ClearRecent, [d] { d->askAndClearRecent(); });
    M_nuevo->setIcon(toolIcon(QStringLiteral("B_doc_nuevo")));
    M_guardar->setIcon(toolIcon(QStringLiteral("B_doc_guardar")));
    M_cerrar->setIcon(toolIcon(QStringLiteral("B_doc_cerrar")));
    make("M_salir", Msg::Exit, [this] { close(); });

    EditController* e = edit_;
    M_undo = make("M_undo", Msg::Undo, [e] { e->undo(); });
    M_redo = make("M_redo", Msg::Redo, [e] { e->redo(); });
    M_cortar = make("M_cortar", Msg::Cut, [e] { e->cutSelection(); });
    M_copiar = make("M_copiar", Msg::Copy, [e] { e->copySelection(); });
    M_pegar = make("M_pegar", Msg::Paste, [e] { e->paste(); });
    M_pegar_imagen = make("M_pegar_imagen", Msg::PastePicture, [e] { e->pastePicture(); });
    SelectionController* s = selection_;
    make("M_borrar", -1, [s] { s->deleteSelection(); });
    make("M_seltodo", -1, [s] { s->selectAll(); });
    make("M_selgrupos", -1, [s] { s->selectKindsDialog(); });
    make("M_selpadres", -1, [s] { s->selectParents(); });
    make("M_selhijos", -1, [s] { s->selectChildren(); });
    make("M_elimtodo", -1, [s] { s->deleteAll(); });
    make("M_dibtodo", -1, [this] { canvas_->redrawWithoutTraces(); });

    TodosElem1 = toggle("TodosElem1", Msg::ShowHidden, &TForm1::setShowHidden);
    make("MuePan1", Msg::MoveScreenItem, [this] { openMoveScreen(); });
    PantallaCom = toggle("PantallaCom", Msg::FullScreen, &TForm1::setFullScreenMode);
    M_AA = toggle("M_AA", Msg::Antialiasing, &TForm1::setAntialiased);
    M_barest = make("M_barest", -1, nullptr);
    M_barest->setCheckable(true);
    M_barest->setChecked(true);
    connect(M_barest, &QAction::toggled, statusBar(), &QWidget::setVisible);
    M_modovisor = toggle("M_modovisor", -1, &TForm1::setViewerMode);

    OptionsController* o = optionsCtl_;
    M_op_Gen = make("M_op_Gen", -1, [o] { o->openGeneral(); });
    M_op_asp = make("M_op_asp", -1, [o] { o->openAppearance(); });
    M_op_Let = make("M_op_Let", -1, [o] { o->openFonts(); });
    M_op_orig = make("M_op_orig", -1, [o] { o->restoreOriginal(); });
    M_op_save = make("M_op_save", -1, [o] { o->save(); });
    M_idioma = make("M_idioma", -1, [this] { language_->chooseFromMenu(); });

    ExportController* x = export_;
    make("M_export_dib", -1, [x] { x->exportDrawing(); });
    make("M_export_dxf", -1, [x] { x->exportDxf(); });
    // Their texts are set with the language's (applyMenuTexts).
    make("M_export_svg", Msg::ExportSvgItem, [x] { x->exportVector(QStringLiteral("svg")); });
    make("M_export_pdf", Msg::ExportPdfItem, [x] { x->exportVector(QStringLiteral("pdf")); });
    make("M_export_tikz", Msg::ExportTikzItem, [x] { x->exportVector(QStringLiteral("tex")); });
    make("M_export_web", Msg::ExportWebItem, [x] { x->exportWebPage(); });
    make("Imprimir1", -1, [x] { x->printDocument(); });
    make("M_print_btm", -1, [x] { x->printBitmap(); });
    make("M_copia_port", -1, [x] { x->copyDrawingToClipboard(); });
    make("M_confimp", -1, [x] { x->pageSetup(); });

    HelpController* h = help_;
    make("M_contenidos", -1, [h] { h->showContents(); });
    make("M_paginaactual", -1, [h] { h->showCurrentTopic(); });
    make("M_web", -1, [h] { h->openWebPage(); });
    make("M_acerca", -1, [h] { h->showAbout(); });
    createMacroActions();
}

void TForm1::buildDocumentBar() {
    documentBar_ = new QToolBar(text(Msg::DocumentBar), this);
    documentBar_->setObjectName(QStringLiteral("B_documento"));
    documentBar_->setMovable(false);
    documentBar_->setFloatable(false);
    documentBar_->setIconSize(QSize(20, 20));
    addToolBar(Qt::TopToolBarArea, documentBar_);
    addToolBarBreak(Qt::TopToolBarArea);
    const std::pair<QAction*, const char*> buttons[] = {
        {M_nuevo, "B_doc_nuevo"}, {M_guardar, "B_doc_guardar"}, {M_cerrar, "B_doc_cerrar"}};
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
    const QSize screen = canvas_->screenSize();
    QRect r(0, 0, std::clamp(window->width, 200, screen.width()),
            std::clamp(window->height, 150, screen.height()));
    r.moveCenter(QRect(QPoint(), screen).center());
    placement_.hasRect = true;
    placement_.rect = r;
    placement_.state = 0;
    placement_.fullScreen = false;
    setFullScreenMode(false);
    setGeometry(r);
}

void TForm1::showNoDocument(bool none) {
    if (none) {
        hiddenPanels_.clear();
        for (QWidget* panel : {static_cast<QWidget*>(toolBars_->mainBar()),
                               static_cast<QWidget*>(toolBars_->editBar()),
                               static_cast<QWidget*>(documentBar_),
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
    // A frame of a drag changes nothing the window shows.
    if (canvas_->interaction().moving()) return;
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
        setGeometry(registry::keepOnWorkArea(savedGeometry_, s ? workArea(*this) : screenArea));
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
    setCheckedQuietly(M_barest, options_.statusBarShown != 0);
}

void TForm1::takeWindowOptions(ProgramOptions& o) {
    o.fullScreen = fullScreen_ ? 1 : 0;
    // A bar is the user's choice; the no-document state hides bars without asking.
    const auto shown = [this](QWidget* bar) {
        return bar->isHidden() && !hiddenPanels_.contains(bar) ? 0 : 1;
    };
    o.mainBarShown = shown(toolBars_->mainBar());
    o.editBarShown = shown(toolBars_->editBar());
    o.documentBarShown = shown(documentBar_);
    o.statusBarShown = shown(statusBar());
    const QRect r = fullScreen_ ? savedGeometry_ : normalRect();
    const Qt::WindowStates state = fullScreen_ ? savedState_ : windowState();
    o.window = WindowRecord{r.left(), r.top(), r.height(), r.width(), stateNumber(state)};
}

void TForm1::restoreWindowPlacement() {
    auto store = registry::open();
    placement_ = registry::readWindowPlacement(*store, workArea(*this).topLeft());
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
    if (viewerMode()) return;
    const QRect normal = fullScreen_ ? savedGeometry_ : normalRect();
    const Qt::WindowStates state = fullScreen_ ? savedState_ : windowState();
    auto store = registry::open();
    registry::writeWindowPlacement(*store, normal.isValid() ? normal : geometry(),
                                   stateNumber(state), fullScreen_, workArea(*this).topLeft());
    registry::sync(*store, [this](const QString& where) {
        warn(text(Msg::WriteError) + QStringLiteral(": ") + where);
    });
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
