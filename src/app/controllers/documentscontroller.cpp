#include "app/controllers/documentscontroller.h"

#include "app/commands.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "app/windowcontext.h"
#include "model/uitext.h"
#include "model/undo.h"
#include "settings/registry.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTabBar>
#include <QWidget>

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

// A document the program started with and nobody has touched since.
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

DocumentsController::DocumentsController(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context) {
    QWidget* window = ctx_.prompts.parent();
    recentMenu_ = new QMenu(text(Msg::OpenRecent), window);
    recentMenu_->setObjectName(QStringLiteral("M_recientes"));
    documentEntries_ = new QActionGroup(this);
    documentEntries_->setExclusive(true);

    CB_doc = new QComboBox(window);
    CB_doc->setObjectName(QStringLiteral("CB_doc"));
    CB_doc->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CB_doc->setMinimumContentsLength(18);
    CB_doc->setFocusPolicy(Qt::NoFocus);
    TC_doc = new QTabBar(window);
    TC_doc->setObjectName(QStringLiteral("TC_doc"));
    TC_doc->setExpanding(false);
    TC_doc->setUsesScrollButtons(true);
    TC_doc->setDrawBase(false);
    TC_doc->setFocusPolicy(Qt::NoFocus);
    TC_doc->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    connect(TC_doc, &QTabBar::currentChanged, this, [this](int i) {
        if (i >= 0) switchTo(i);
    });
    connect(CB_doc, &QComboBox::activated, this, &DocumentsController::switchTo);
    // Names are texts of the language too ("Documento 1").
    connect(&ctx_.session, &EditorSession::documentsListed, this, &DocumentsController::showList);

    using C = CommandId;
    const auto on = [this](CommandId id, std::function<void()> run) {
        ctx_.onCommand(id, this, std::move(run));
    };
    on(C::New, [this] {
        beforeDialog();
        newDocument();
    });
    on(C::Open, [this] { askAndOpen(); });
    on(C::Save, [this] { saveCurrent(); });
    on(C::SaveAs, [this] { saveCurrentAs(); });
    // "&Documento" has items of its own for closing, so that a language can name them apart.
    for (const C id : {C::Close, C::DocumentClose})
        on(id, [this] { closeCurrent(); });
    for (const C id : {C::CloseAll, C::DocumentCloseAll})
        on(id, [this] { closeAll(); });
    on(C::NextDocument, [this] { nextDocument(); });
    on(C::PreviousDocument, [this] { previousDocument(); });
    on(C::FirstDocument, [this] { firstDocument(); });
    on(C::LastDocument, [this] { lastDocument(); });
    on(C::DocumentList, [this] { openDocumentList(); });
    on(C::ClearRecent, [this] { askAndClearRecent(); });
}

DocumentsController::~DocumentsController() = default;

void DocumentsController::start() {
    {
        const std::unique_ptr<QSettings> store = registry::open();
        recent_.load(*store);
        ctx_.session.folders().load(*store);
    }
    showRecentFiles();
    newDocument();
    startDocument_ = &ctx_.session.document();
    startLeft_ = startDocument_->left;
    startTop_ = startDocument_->top;
}

// ---- the table and its three views --------------------------------------------------------------

std::unique_ptr<Document> DocumentsController::createDocument() const {
    auto doc = std::make_unique<Document>();
    applyOptionDefaults(*doc, ctx_.session.programOptions());
    // The world origin at the centre of the drawing area.
    const QSize area = ctx_.canvas.drawingAreaSize();
    doc->left = -area.width() / 2.0;
    doc->top = area.height() / 2.0;
    doc->modified = 0;
    return doc;
}

void DocumentsController::drawingAreaResized() {
    if (!startDocument_) return;
    Document& doc = ctx_.session.document();
    if (ctx_.session.currentIndex() < 0 || &doc != startDocument_ || !untouched(doc) ||
        doc.left != startLeft_ || doc.top != startTop_) {
        startDocument_ = nullptr; // the user has it now
        return;
    }
    const QSize area = ctx_.canvas.drawingAreaSize();
    startLeft_ = doc.left = -area.width() / 2.0;
    startTop_ = doc.top = area.height() / 2.0;
}

void DocumentsController::addDocument(std::unique_ptr<Document> doc, int number) {
    ctx_.session.documents().add(std::move(doc), number);
    showCurrent();
}

void DocumentsController::showCurrent() {
    Document& doc = ctx_.session.document();
    if (&doc != startDocument_) startDocument_ = nullptr;
    ctx_.canvas.showDocument(doc);
    ctx_.session.chooseTool(Tool::Move);
    // Told even when it took the memory of the one shown before; the lists follow.
    ctx_.session.setCurrentDocument(ctx_.session.currentIndex());
}

QString DocumentsController::documentName(int i) const {
    return ctx_.session.documents().name(i);
}

QStringList DocumentsController::documentNames() const {
    QStringList names;
    for (int i = 0; i < ctx_.session.documents().count(); ++i)
        names << documentName(i);
    return names;
}

int DocumentsController::currentDocumentIndex() const {
    return ctx_.session.currentIndex();
}

void DocumentsController::setDocumentMenu(QMenu* menu) {
    documentMenu_ = menu;
    showList();
}

void DocumentsController::showList() {
    const QStringList names = documentNames();
    const int current = currentDocumentIndex();
    {
        const QSignalBlocker blockTabs(TC_doc);
        while (TC_doc->count() > names.size())
            TC_doc->removeTab(TC_doc->count() - 1);
        for (int i = 0; i < names.size(); ++i) {
            if (i < TC_doc->count())
                TC_doc->setTabText(i, literal(names[i]));
            else
                TC_doc->addTab(literal(names[i]));
            const std::string& file = ctx_.session.documents().at(i).fileName;
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
    if (!documentMenu_) return;
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

void DocumentsController::beforeDialog() {
    // A dialog gets no clicks while a pan holds the mouse.
    ctx_.prompts.beforeDialog();
    ctx_.canvas.redraw();
}

// ---- new, open ----------------------------------------------------------------------------------

bool DocumentsController::newDocument() {
    DocumentTable& docs = ctx_.session.documents();
    const int number = docs.takeNewNumber();
    if (docs.full()) {
        ctx_.prompts.warn(text(Msg::TooManyDocuments));
        return false;
    }
    // The panels come back first, so that the view is centred in the area they leave.
    if (noDocument_) leaveNoDocumentState();
    addDocument(createDocument(), number);
    return true;
}

void DocumentsController::installDocument(std::unique_ptr<Document> doc) {
    DocumentTable& docs = ctx_.session.documents();
    if (docs.currentIndex() < 0) {
        if (noDocument_) leaveNoDocumentState();
        addDocument(std::move(doc), docs.takeNewNumber());
        return;
    }
    // The old document lives until the canvas has let go of it.
    const std::unique_ptr<Document> old = docs.replace(docs.currentIndex(), std::move(doc));
    showCurrent();
}

void DocumentsController::askAndOpen() {
    beforeDialog();
    const QString path =
        ctx_.prompts.dialogs().openFileName(text(Msg::Open), dialogFolder(), openFilters());
    if (!path.isEmpty()) openDocument(path);
}

std::optional<WindowRecord> DocumentsController::openCommandLine(const QString& commandLine) {
    QString name = commandLine;
    if (name.size() > 1 && name.startsWith(QLatin1Char('"'))) name.remove(0, 1);
    if (name.size() > 0 && name.endsWith(QLatin1Char('"'))) name.chop(1);
    if (name.isEmpty()) return std::nullopt;
    DocumentTable& docs = ctx_.session.documents();
    const Document* start = docs.count() == 1 && untouched(docs.at(0)) ? &docs.at(0) : nullptr;
    WindowRecord window;
    const bool viewer = probeFile(filePath(name), &window) == FileKind::DocumentWithWindow;
    if (!openDocument(name)) return std::nullopt;
    // A document file opened: the program starts with it alone, and the next new document is
    // "Documento 1". (A macro file went into the start document, which stays.)
    if (start && docs.count() == 2 && &docs.at(0) == start) {
        const std::unique_ptr<Document> gone = docs.take(0);
        docs.restartNumbering();
        ctx_.session.documentListChanged();
    }
    if (viewer) return window;
    return std::nullopt;
}

bool DocumentsController::openDocument(const QString& path) {
    if (path.isEmpty()) return false;
    DocumentTable& docs = ctx_.session.documents();
    Prompts& prompts = ctx_.prompts;
    const QString full = QFileInfo(path).absoluteFilePath();
    // An open document is not read twice.
    if (const int open = docs.indexOfPath(full); open >= 0) {
        addRecent(localPath(docs.at(open).fileName));
        switchTo(open);
        return true;
    }
    const int kind = probeFile(filePath(full));
    if (kind == FileKind::Newer) {
        prompts.warn(text(Msg::NewerVersion) + QStringLiteral(": ") + path);
        return false;
    }
    if (kind == FileKind::Macro) return openMacroFile(full);
    if (kind != FileKind::Document && kind != FileKind::DocumentWithWindow) {
        prompts.warn(text(Msg::InvalidFile) + QStringLiteral(": ") + path);
        return false;
    }
    if (docs.full()) {
        prompts.warn(text(Msg::TooManyDocuments));
        return false;
    }
    const WaitCursor wait;
    // Read into a document of its own: a refused file leaves the table as it was.
    std::unique_ptr<Document> doc = createDocument();
    const QSize area = ctx_.canvas.drawingAreaSize();
    ReadOptions options;
    // For files older than the stored fonts and tables.
    options.defaults = &ctx_.session.programOptions().document;
    options.viewWidth = area.width();
    options.viewHeight = area.height();
    const ReadResult r = readDocumentFile(*doc, filePath(full), FileType::Document, options);
    if (r.kind != FileKind::Document && r.kind != FileKind::DocumentWithWindow) {
        prompts.warn(text(r.kind == FileKind::Newer ? Msg::NewerVersion : Msg::InvalidFile) +
                     QStringLiteral(": ") + path);
        return false;
    }
    doc->modified = 0;
    if (noDocument_) leaveNoDocumentState();
    addDocument(std::move(doc), 0);
    addRecent(full);
    ctx_.session.folders().documents = QFileInfo(full).absolutePath();
    return true;
}

// The macro goes to the next free macro slot of the current document (a new one when none is
// open), which is then modified.
bool DocumentsController::openMacroFile(const QString& path) {
    if (ctx_.session.currentIndex() < 0 && !newDocument()) return false;
    Document& doc = ctx_.session.document();
    const ReadResult r = readDocumentFile(doc, filePath(path), FileType::Macro);
    if (r.kind != FileKind::Macro) {
        ctx_.prompts.warn(text(r.kind == FileKind::Newer ? Msg::NewerVersion : Msg::InvalidFile) +
                          QStringLiteral(": ") + path);
        return false;
    }
    doc.modified = 1;
    ctx_.session.folders().macros = QFileInfo(path).absolutePath();
    ctx_.session.noteChanges();
    return true;
}

// ---- switching ----------------------------------------------------------------------------------

void DocumentsController::switchTo(int index) {
    DocumentTable& docs = ctx_.session.documents();
    if (index < 0 || index >= docs.count() || index == docs.currentIndex()) return;
    docs.setCurrent(index);
    showCurrent();
}

void DocumentsController::nextDocument() {
    const int n = ctx_.session.documents().count();
    if (n > 0) switchTo((currentDocumentIndex() + 1) % n);
}

void DocumentsController::previousDocument() {
    const int n = ctx_.session.documents().count();
    if (n > 0) switchTo((currentDocumentIndex() + n - 1) % n);
}

void DocumentsController::firstDocument() {
    switchTo(0);
}

void DocumentsController::lastDocument() {
    switchTo(ctx_.session.documents().count() - 1);
}

void DocumentsController::openDocumentList() {
    beforeDialog();
    TV_listadoc dialog(ctx_.context, ctx_.window);
    connect(&dialog, &TV_listadoc::switchAsked, this, &DocumentsController::switchTo);
    connect(&dialog, &TV_listadoc::closeAsked, this, &DocumentsController::closeDocumentAt);
    connect(&dialog, &TV_listadoc::saveAsked, this, &DocumentsController::saveDocumentAt);
    dialog.exec();
}

// ---- saving -------------------------------------------------------------------------------------

bool DocumentsController::writeDocument(int index, const QString& path) {
    EditorSession& session = ctx_.session;
    Document& doc = session.documents().at(index);
    const QString full = QFileInfo(path).absoluteFilePath();
    const int before = doc.elementCount();
    // Clears `modified` only when the whole file was written.
    if (!saveDocument(doc, filePath(full), saveOptions_ ? saveOptions_() : SaveOptions{}))
        return false;
    // Saving drops internal elements that serve nothing; the tools let go of what went.
    if (index == session.currentIndex() && doc.elementCount() != before)
        session.replaceElements(ElementsChange::Save, [](Document&) { return true; });
    addRecent(full);
    session.folders().documents = QFileInfo(full).absolutePath();
    session.documentListChanged();
    session.noteChanges();
    return true;
}

bool DocumentsController::saveDocumentAt(int index) {
    if (index < 0 || index >= ctx_.session.documents().count()) return false;
    beforeDialog();
    const QString path = localPath(ctx_.session.documents().at(index).fileName);
    if (!path.isEmpty()) {
        if (writeDocument(index, path)) return true;
        // Said before another name is asked for, so that the question has a reason.
        ctx_.prompts.warn(text(Msg::WriteError) + QStringLiteral(": ") + path);
    }
    return saveDocumentAsAt(index);
}

bool DocumentsController::saveDocumentAsAt(int index) {
    if (index < 0 || index >= ctx_.session.documents().count()) return false;
    beforeDialog();
    const QString proposed =
        QDir(dialogFolder()).filePath(documentName(index) + QStringLiteral(".qrv"));
    QString path = ctx_.prompts.dialogs().saveFileName(text(Msg::SaveAs), proposed, saveFilters(),
                                                       QStringLiteral("qrv"));
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".qrv");
    // A read-only file of that name is replaced all the same.
    if (QFile::exists(path))
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
    if (writeDocument(index, path)) return true;
    ctx_.prompts.warn(text(Msg::WriteError) + QStringLiteral(": ") + path);
    return false;
}

// ---- closing ------------------------------------------------------------------------------------

bool DocumentsController::askToSave(int index) {
    if (ctx_.session.documents().at(index).modified == 0) return true;
    const QString caption = text(Msg::CloseCaption) + QStringLiteral(" - ") + documentName(index);
    switch (ctx_.prompts.dialogs().ask(caption, text(Msg::SaveChangesQuestion))) {
    case UserDialogs::Answer::Yes:
        return saveDocumentAt(index);
    case UserDialogs::Answer::No:
        return true;
    case UserDialogs::Answer::Cancel:
        break;
    }
    return false;
}

bool DocumentsController::closeDocumentAt(int index) {
    DocumentTable& docs = ctx_.session.documents();
    if (index < 0 || index >= docs.count()) return false;
    beforeDialog();
    if (!askToSave(index)) return false;
    const bool wasCurrent = index == docs.currentIndex();
    // Freed on return, once the canvas shows another document.
    const std::unique_ptr<Document> closed = docs.take(index);
    if (docs.count() == 0) {
        enterNoDocumentState();
    } else if (wasCurrent) {
        docs.setCurrent(docs.count() - 1);
        showCurrent();
    } else {
        ctx_.session.documentListChanged();
    }
    return true;
}

bool DocumentsController::closeCurrent() {
    return currentDocumentIndex() >= 0 && closeDocumentAt(currentDocumentIndex());
}

bool DocumentsController::closeAll() {
    for (int n = ctx_.session.documents().count(); n > 0; --n)
        if (!closeCurrent()) return false;
    return true;
}

bool DocumentsController::confirmQuit() {
    if (noDocument_) return true;
    beforeDialog();
    for (int i = 0; i < ctx_.session.documents().count(); ++i)
        if (!askToSave(i)) return false;
    return true;
}

// ---- the no-document state ----------------------------------------------------------------------

void DocumentsController::enterNoDocumentState() {
    noDocument_ = true;
    emit noDocumentChanged(true);
    // An empty document in the colour of an empty workspace; the one before it is not shown.
    const std::unique_ptr<Document> previous = ctx_.session.documents().renewStandIn();
    const QColor workspace = ctx_.prompts.parent()->palette().color(QPalette::Dark);
    ctx_.session.document().background = rgb(workspace.red(), workspace.green(), workspace.blue());
    showCurrent();
}

void DocumentsController::leaveNoDocumentState() {
    noDocument_ = false;
    emit noDocumentChanged(false);
}

// ---- recent files and last folders --------------------------------------------------------------

void DocumentsController::addRecent(const QString& path) {
    recent_.add(path);
    showRecentFiles();
}

void DocumentsController::askAndClearRecent() {
    beforeDialog();
    if (ctx_.prompts.dialogs().ask(text(Msg::ProgramCaption), text(Msg::ClearRecentQuestion)) ==
        UserDialogs::Answer::Yes)
        clearRecent();
}

void DocumentsController::clearRecent() {
    recent_.clear();
    const std::unique_ptr<QSettings> store = registry::open();
    RecentFiles::removeFromStore(*store);
    showRecentFiles();
}

void DocumentsController::applyTexts() {
    showList();
    showRecentFiles();
}

void DocumentsController::showRecentFiles() {
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

QString DocumentsController::lastDocumentFolder() const {
    return ctx_.session.folders().documents;
}

QString DocumentsController::dialogFolder() const {
    const QString& folder = ctx_.session.folders().documents;
    return folder.isEmpty() ? QDir::currentPath() : folder;
}

void DocumentsController::storeSettings() {
    LastFolders& folders = ctx_.session.folders();
    if (folders.documents.isEmpty()) folders.documents = QDir::currentPath();
    const std::unique_ptr<QSettings> store = registry::open();
    recent_.save(*store);
    folders.save(*store);
}

} // namespace qorv
