// The main window's documents: the table of open documents and the three places that show it
// (the tabs TC_doc, the combo box CB_doc and the "&Documento" menu), new, open, save and close,
// the title, the no-document state, the recent files and the last folders.
#include "app/tform1.h"

#include "app/commands.h"
#include "app/controllers/animationcontroller.h"
#include "app/controllers/macrocontroller.h"
#include "app/helpwindow.h"
#include "app/windowcontext.h"
#include "dialogs/tv_iterac.h"
#include "dialogs/tv_listadoc.h"
#include "model/docfile.h"
#include "model/uitext.h"
#include "model/undo.h"
#include "settings/registry.h"
#include "view/qtexts.h"
#include "view/resources.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace qorv {

namespace {

QString localPath(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

std::string filePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// A name as a menu entry or tab shows it: an "&" in a file name is not an accelerator.
QString literal(QString name) {
    return name.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Documents and macro files, each alone, and every file.
QStringList openFilters() {
    return {text(Msg::FilterDocumentsAndMacros), text(Msg::FilterDocuments),
            text(Msg::FilterMacros), text(Msg::FilterAllFiles)};
}

QStringList saveFilters() {
    return {text(Msg::FilterDocuments), text(Msg::FilterAllFiles)};
}

// A document the window started with and nobody has touched since.
bool untouched(const Document& doc) {
    return doc.fileName.empty() && doc.modified == 0 && doc.head == nullptr &&
           (!doc.undoHistory || doc.undoHistory->count() == 0);
}

// Takes the actions out of a menu; they go once the event that may be running in one of them
// (a recent file chosen, a document entry chosen) is over.
void dropEntries(QMenu* menu, const QList<QAction*>& entries) {
    for (QAction* a : entries) {
        menu->removeAction(a);
        a->deleteLater();
    }
}

class WaitCursor {
  public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

// ---- actions, menus and the document bar --------------------------------------------------------

void TForm1::createDocumentActions() {
    // Their shortcuts come with the menu table (tform1_menus.cpp).
    auto action = [this](CommandId id, auto handler) {
        QAction* a = commands_->action(id);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    M_nuevo = action(CommandId::New, [this] {
        beforeDialog();
        newDocument();
    });
    M_abrir = action(CommandId::Open, [this] {
        beforeDialog();
        const QString folder =
            folders_.documents.isEmpty() ? QDir::currentPath() : folders_.documents;
        const QString path = dialogs().openFileName(text(Msg::Open), folder, openFilters());
        if (!path.isEmpty()) openDocument(path);
    });
    M_guardar = action(CommandId::Save, [this] { saveDocumentAt(docs_.currentIndex()); });
    M_guardar_como = action(CommandId::SaveAs, [this] { saveDocumentAsAt(docs_.currentIndex()); });
    M_cerrar = action(CommandId::Close, [this] { closeCurrent(); });
    M_cerrar_todo = action(CommandId::CloseAll, [this] { closeAll(); });
    // The "&Documento" menu has items of its own for the same commands, so that a language can
    // name them apart from those of "&Archivo".
    M_doc_cerrar = action(CommandId::DocumentClose, [this] { closeCurrent(); });
    M_doc_cerrartodo = action(CommandId::DocumentCloseAll, [this] { closeAll(); });
    M_siguiente = action(CommandId::NextDocument, &TForm1::nextDocument);
    M_anterior = action(CommandId::PreviousDocument, &TForm1::previousDocument);
    M_primero = action(CommandId::FirstDocument, &TForm1::firstDocument);
    M_ultimo = action(CommandId::LastDocument, &TForm1::lastDocument);
    M_lista_doc = action(CommandId::DocumentList, &TForm1::openDocumentList);
    M_elim_recientes = action(CommandId::ClearRecent, [this] {
        beforeDialog();
        if (dialogs().ask(text(Msg::ProgramCaption), text(Msg::ClearRecentQuestion)) ==
            UserDialogs::Answer::Yes)
            clearRecent();
    });

    recentMenu_ = new QMenu(text(Msg::OpenRecent), this);
    recentMenu_->setObjectName(QStringLiteral("M_recientes"));
    documentEntries_ = new QActionGroup(this);
    documentEntries_->setExclusive(true);
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

    CB_doc = new QComboBox(documentBar_);
    CB_doc->setObjectName(QStringLiteral("CB_doc"));
    CB_doc->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CB_doc->setMinimumContentsLength(18);
    CB_doc->setFocusPolicy(Qt::NoFocus);
    documentBar_->addWidget(CB_doc);
    documentBar_->addSeparator();

    TC_doc = new QTabBar(documentBar_);
    TC_doc->setObjectName(QStringLiteral("TC_doc"));
    TC_doc->setExpanding(false);
    TC_doc->setUsesScrollButtons(true);
    TC_doc->setDrawBase(false);
    TC_doc->setFocusPolicy(Qt::NoFocus);
    TC_doc->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    documentBar_->addWidget(TC_doc);

    connect(TC_doc, &QTabBar::currentChanged, this, [this](int i) {
        if (i >= 0) switchTo(i);
    });
    connect(CB_doc, &QComboBox::activated, this, &TForm1::switchTo);
}

// ---- the table and its three views --------------------------------------------------------------

std::unique_ptr<Document> TForm1::createDocument() const {
    auto doc = std::make_unique<Document>();
    applyOptionDefaults(*doc, options_);
    // The world origin at the centre of the drawing area.
    const QSize area = canvas_->drawingAreaSize();
    doc->left = -area.width() / 2.0;
    doc->top = area.height() / 2.0;
    doc->modified = 0;
    return doc;
}

void TForm1::drawingAreaResized() {
    if (!startDocument_) return;
    Document& doc = document();
    if (docs_.currentIndex() < 0 || &doc != startDocument_ || !untouched(doc) ||
        doc.left != startLeft_ || doc.top != startTop_) {
        startDocument_ = nullptr; // the user has it now
        return;
    }
    const QSize area = canvas_->drawingAreaSize();
    startLeft_ = doc.left = -area.width() / 2.0;
    startTop_ = doc.top = area.height() / 2.0;
}

void TForm1::addDocument(std::unique_ptr<Document> doc, int number) {
    docs_.add(std::move(doc), number);
    showCurrentDocument();
}

void TForm1::showCurrentDocument() {
    Document& doc = document();
    if (&doc != startDocument_) startDocument_ = nullptr;
    // The button whose list was being redefined belongs to the document shown before, and so
    // does the macro work.
    creation_.redefiningButton = nullptr;
    {
        const QSignalBlocker block(M_AA);
        M_AA->setChecked(doc.antialiased != 0);
    }
    updateStatusUnits();
    canvas_->showDocument(doc);
    chooseTool(Tool::Move);
    updateMenuStates();
    showDocumentList();
    updateTitle();
    // Told even when it took the memory of the one shown before.
    session_.setCurrentDocument(docs_.currentIndex());
}

QStringList TForm1::documentNames() const {
    QStringList names;
    for (int i = 0; i < docs_.count(); ++i)
        names << docs_.name(i);
    return names;
}

void TForm1::showDocumentList() {
    const QStringList names = documentNames();
    const int current = docs_.currentIndex();
    {
        const QSignalBlocker blockTabs(TC_doc);
        while (TC_doc->count() > names.size())
            TC_doc->removeTab(TC_doc->count() - 1);
        for (int i = 0; i < names.size(); ++i) {
            if (i < TC_doc->count())
                TC_doc->setTabText(i, literal(names[i]));
            else
                TC_doc->addTab(literal(names[i]));
            const std::string& file = docs_.at(i).fileName;
            TC_doc->setTabToolTip(i, file.empty() ? names[i] : localPath(file));
        }
        TC_doc->setCurrentIndex(current);
    }
    {
        const QSignalBlocker blockCombo(CB_doc);
        CB_doc->clear();
        CB_doc->addItems(names);
        CB_doc->setCurrentIndex(current);
    }
    const QList<QAction*> oldEntries = documentEntries_->actions();
    for (QAction* a : oldEntries)
        documentEntries_->removeAction(a);
    dropEntries(documentMenu_, oldEntries);
    for (int i = 0; i < names.size(); ++i) {
        QAction* entry = documentMenu_->addAction(literal(names[i]));
        entry->setCheckable(true);
        entry->setChecked(i == current);
        documentEntries_->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, i] { switchTo(i); });
    }
}

void TForm1::updateTitle() {
    if (docs_.currentIndex() < 0) {
        setWindowTitle(text(Msg::ProgramCaption));
        setWindowModified(false);
        return;
    }
    // "[*]" is where the modified mark shows.
    setWindowTitle(text(Msg::ProgramCaption) + QStringLiteral(" - ") +
                   docs_.name(docs_.currentIndex()) + QStringLiteral("[*]"));
    setWindowModified(document().modified != 0);
}

void TForm1::redrawn() {
    // A frame of a drag changes nothing the window shows.
    if (canvas_->interaction().moving()) return;
    session_.noteChanges();
    if (TV_iterac* lists = iterationDialog(); lists && lists->isVisible()) lists->refresh();
    // The construction changes with the drawing; its items follow.
    updateMenuStates();
}

void TForm1::beforeDialog() {
    // A dialog gets no clicks while a pan holds the mouse.
    canvas_->interaction().endGesture();
    canvas_->redraw();
}

// ---- new, open ----------------------------------------------------------------------------------

bool TForm1::newDocument() {
    const int number = docs_.takeNewNumber();
    if (docs_.full()) {
        warn(text(Msg::TooManyDocuments));
        return false;
    }
    // The panels come back first, so that the view is centred in the area they leave.
    if (noDocument_) leaveNoDocumentState();
    addDocument(createDocument(), number);
    return true;
}

void TForm1::installDocument(std::unique_ptr<Document> doc) {
    if (docs_.currentIndex() < 0) {
        if (noDocument_) leaveNoDocumentState();
        addDocument(std::move(doc), docs_.takeNewNumber());
        return;
    }
    // The old document lives until the canvas has let go of it.
    const std::unique_ptr<Document> old = docs_.replace(docs_.currentIndex(), std::move(doc));
    showCurrentDocument();
}

void TForm1::openCommandLine(const QString& commandLine) {
    QString name = commandLine;
    if (name.size() > 1 && name.startsWith(QLatin1Char('"'))) name.remove(0, 1);
    if (name.size() > 0 && name.endsWith(QLatin1Char('"'))) name.chop(1);
    if (name.isEmpty()) return;
    const Document* start = docs_.count() == 1 && untouched(docs_.at(0)) ? &docs_.at(0) : nullptr;
    WindowRecord window;
    const bool viewer = probeFile(filePath(name), &window) == FileKind::DocumentWithWindow;
    if (!openDocument(name)) return;
    if (viewer) {
        // A document saved in viewer mode opens as it was shown: viewer mode, the stored size,
        // centred on the screen, not full screen (and the placement is not saved on exit).
        setViewerMode(true);
        const QSize screen = screenSize();
        QRect r(0, 0, std::clamp(window.width, 200, screen.width()),
                std::clamp(window.height, 150, screen.height()));
        r.moveCenter(QRect(QPoint(), screen).center());
        placement_.hasRect = true;
        placement_.rect = r;
        placement_.state = 0;
        placement_.fullScreen = false;
        setFullScreenMode(false);
        setGeometry(r);
    }
    // A document file opened: the program starts with it alone, and the next new document is
    // "Documento 1". (A macro file went into the start document, which stays.)
    if (start && docs_.count() == 2 && &docs_.at(0) == start) {
        const std::unique_ptr<Document> gone = docs_.take(0);
        docs_.restartNumbering();
        showDocumentList();
        updateTitle();
    }
}

bool TForm1::openDocument(const QString& path) {
    if (path.isEmpty()) return false;
    const QString full = QFileInfo(path).absoluteFilePath();
    // An open document is not read twice.
    if (const int open = docs_.indexOfPath(full); open >= 0) {
        addRecent(localPath(docs_.at(open).fileName));
        switchTo(open);
        return true;
    }
    const int kind = probeFile(filePath(full));
    if (kind == FileKind::Newer) {
        warn(text(Msg::NewerVersion) + QStringLiteral(": ") + path);
        return false;
    }
    if (kind == FileKind::Macro) return openMacroFile(full);
    if (kind != FileKind::Document && kind != FileKind::DocumentWithWindow) {
        warn(text(Msg::InvalidFile) + QStringLiteral(": ") + path);
        return false;
    }
    if (docs_.full()) {
        warn(text(Msg::TooManyDocuments));
        return false;
    }
    const WaitCursor wait;
    // Read into a document of its own: a refused file leaves the table as it was.
    std::unique_ptr<Document> doc = createDocument();
    const QSize area = canvas_->drawingAreaSize();
    ReadOptions options;
    options.defaults = &options_.document; // for files older than the stored fonts and tables
    options.viewWidth = area.width();
    options.viewHeight = area.height();
    const ReadResult r = readDocumentFile(*doc, filePath(full), FileType::Document, options);
    if (r.kind != FileKind::Document && r.kind != FileKind::DocumentWithWindow) {
        warn(text(r.kind == FileKind::Newer ? Msg::NewerVersion : Msg::InvalidFile) +
             QStringLiteral(": ") + path);
        return false;
    }
    doc->modified = 0;
    if (noDocument_) leaveNoDocumentState();
    addDocument(std::move(doc), 0);
    addRecent(full);
    folders_.documents = QFileInfo(full).absolutePath();
    return true;
}

// The macro goes to the next free macro slot of the current document (a new one when none is
// open), which is then modified.
bool TForm1::openMacroFile(const QString& path) {
    if (docs_.currentIndex() < 0 && !newDocument()) return false;
    Document& doc = document();
    const ReadResult r = readDocumentFile(doc, filePath(path), FileType::Macro);
    if (r.kind != FileKind::Macro) {
        warn(text(r.kind == FileKind::Newer ? Msg::NewerVersion : Msg::InvalidFile) +
             QStringLiteral(": ") + path);
        return false;
    }
    doc.modified = 1;
    folders_.macros = QFileInfo(path).absolutePath();
    updateTitle();
    return true;
}

// ---- switching ----------------------------------------------------------------------------------

void TForm1::switchTo(int index) {
    if (index < 0 || index >= docs_.count() || index == docs_.currentIndex()) return;
    docs_.setCurrent(index);
    showCurrentDocument();
}

void TForm1::nextDocument() {
    if (const int n = docs_.count(); n > 0) switchTo((docs_.currentIndex() + 1) % n);
}

void TForm1::previousDocument() {
    if (const int n = docs_.count(); n > 0) switchTo((docs_.currentIndex() + n - 1) % n);
}

void TForm1::firstDocument() {
    switchTo(0);
}

void TForm1::lastDocument() {
    switchTo(docs_.count() - 1);
}

void TForm1::openDocumentList() {
    beforeDialog();
    TV_listadoc dialog(*context_, this);
    connect(&dialog, &TV_listadoc::switchAsked, this, &TForm1::switchTo);
    connect(&dialog, &TV_listadoc::closeAsked, this, &TForm1::closeDocumentAt);
    connect(&dialog, &TV_listadoc::saveAsked, this, &TForm1::saveDocumentAt);
    dialog.exec();
}

// ---- saving -------------------------------------------------------------------------------------

bool TForm1::writeDocument(int index, const QString& path) {
    Document& doc = docs_.at(index);
    const QString full = QFileInfo(path).absoluteFilePath();
    const int before = doc.elementCount();
    // Clears `modified` only when the whole file was written.
    if (!saveDocument(doc, filePath(full), anim_ ? anim_->saveOptions() : SaveOptions{}))
        return false;
    // Saving drops internal elements that serve nothing; the tools let go of what went.
    if (index == docs_.currentIndex() && doc.elementCount() != before)
        session_.replaceElements(ElementsChange::Save, [](Document&) { return true; });
    addRecent(full);
    folders_.documents = QFileInfo(full).absolutePath();
    showDocumentList();
    updateTitle();
    return true;
}

bool TForm1::saveDocumentAt(int index) {
    if (index < 0 || index >= docs_.count()) return false;
    beforeDialog();
    const QString path = localPath(docs_.at(index).fileName);
    if (!path.isEmpty()) {
        if (writeDocument(index, path)) return true;
        // Said before another name is asked for, so that the question has a reason.
        warn(text(Msg::WriteError) + QStringLiteral(": ") + path);
    }
    return saveDocumentAsAt(index);
}

bool TForm1::saveDocumentAsAt(int index) {
    if (index < 0 || index >= docs_.count()) return false;
    beforeDialog();
    const QString folder = folders_.documents.isEmpty() ? QDir::currentPath() : folders_.documents;
    const QString proposed = QDir(folder).filePath(docs_.name(index) + QStringLiteral(".qrv"));
    QString path =
        dialogs().saveFileName(text(Msg::SaveAs), proposed, saveFilters(), QStringLiteral("qrv"));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".qrv");
    // A read-only file of that name is replaced all the same.
    if (QFile::exists(path))
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    if (writeDocument(index, path)) return true;
    warn(text(Msg::WriteError) + QStringLiteral(": ") + path);
    return false;
}

// ---- closing ------------------------------------------------------------------------------------

bool TForm1::askToSave(int index) {
    if (docs_.at(index).modified == 0) return true;
    const QString caption = text(Msg::CloseCaption) + QStringLiteral(" - ") + docs_.name(index);
    switch (dialogs().ask(caption, text(Msg::SaveChangesQuestion))) {
    case UserDialogs::Answer::Yes:
        return saveDocumentAt(index);
    case UserDialogs::Answer::No:
        return true;
    case UserDialogs::Answer::Cancel:
        break;
    }
    return false;
}

bool TForm1::closeDocumentAt(int index) {
    if (index < 0 || index >= docs_.count()) return false;
    beforeDialog();
    if (!askToSave(index)) return false;
    const bool wasCurrent = index == docs_.currentIndex();
    // Freed on return, once the canvas shows another document.
    const std::unique_ptr<Document> closed = docs_.take(index);
    if (docs_.count() == 0) {
        enterNoDocumentState();
    } else if (wasCurrent) {
        docs_.setCurrent(docs_.count() - 1);
        showCurrentDocument();
    } else {
        showDocumentList();
    }
    return true;
}

bool TForm1::closeCurrent() {
    return docs_.currentIndex() >= 0 && closeDocumentAt(docs_.currentIndex());
}

bool TForm1::closeAll() {
    for (int n = docs_.count(); n > 0; --n)
        if (!closeCurrent()) return false;
    return true;
}

bool TForm1::confirmQuit() {
    if (noDocument_) return true;
    beforeDialog();
    for (int i = 0; i < docs_.count(); ++i)
        if (!askToSave(i)) return false;
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (!confirmQuit()) {
        event->ignore();
        return;
    }
    storeDocumentSettings();
    saveWindowPlacement();
    if (helpWindow_) helpWindow_->close(); // the help goes with the program
    QMainWindow::closeEvent(event);
}

// ---- the no-document state ----------------------------------------------------------------------

void TForm1::enterNoDocumentState() {
    noDocument_ = true;
    hiddenPanels_.clear();
    for (QWidget* panel :
         {static_cast<QWidget*>(toolBars_->mainBar()), static_cast<QWidget*>(toolBars_->editBar()),
          static_cast<QWidget*>(documentBar_), static_cast<QWidget*>(statusBar())})
        if (panel->isVisible()) {
            panel->hide();
            hiddenPanels_ << panel;
        }
    showDocumentCommands(false);
    // An empty document in the colour of an empty workspace; the one before it is not shown.
    const std::unique_ptr<Document> previous = docs_.renewStandIn();
    const QColor workspace = palette().color(QPalette::Dark);
    document().background = rgb(workspace.red(), workspace.green(), workspace.blue());
    showCurrentDocument();
}

// The menus, commands and the drawing area that work on a document: without one they are neither
// shown nor reached by their shortcuts.
void TForm1::showDocumentCommands(bool on) {
    updateMenuStates();
    canvas_->setEnabled(on);
}

void TForm1::leaveNoDocumentState() {
    noDocument_ = false;
    for (QWidget* panel : std::as_const(hiddenPanels_))
        panel->show();
    hiddenPanels_.clear();
    showDocumentCommands(true);
    // The drawing area takes its size now: a new document is centred in it.
    if (layout()) layout()->activate();
}

// ---- recent files and last folders --------------------------------------------------------------

void TForm1::addRecent(const QString& path) {
    recent_.add(path);
    showRecentFiles();
}

void TForm1::clearRecent() {
    recent_.clear();
    const std::unique_ptr<QSettings> store = registry::open();
    RecentFiles::removeFromStore(*store);
    showRecentFiles();
}

void TForm1::showRecentFiles() {
    dropEntries(recentMenu_, recentMenu_->actions());
    if (recent_.count() == 0) recentMenu_->addAction(text(Msg::NoRecentFiles))->setEnabled(false);
    for (int slot = 0; slot < recent_.count(); ++slot) {
        const QString path = recent_.paths()[slot];
        QAction* entry = recentMenu_->addAction(RecentFiles::caption(slot, path));
        connect(entry, &QAction::triggered, this, [this, path] {
            beforeDialog();
            openDocument(path);
        });
    }
}

QString TForm1::lastMacroFolder() const {
    return macros_->folder();
}

void TForm1::storeDocumentSettings() {
    if (folders_.documents.isEmpty()) folders_.documents = QDir::currentPath();
    const std::unique_ptr<QSettings> store = registry::open();
    recent_.save(*store);
    folders_.save(*store);
}

} // namespace qorv
