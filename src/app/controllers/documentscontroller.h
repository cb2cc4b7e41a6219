// The open documents as the user handles them: new, open, save, close and switching, the three
// places that list them (the tabs TC_doc, the combo box CB_doc and the entries of "&Documento"),
// the recent files, the last folders and the state without any document.
#pragma once

#include "app/controllers/featurecontext.h"
#include "dialogs/tv_listadoc.h"
#include "model/docfile.h"
#include "settings/recentfiles.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class QActionGroup;
class QComboBox;
class QMenu;
class QTabBar;

namespace qorv {

class Document;

class DocumentsController : public QObject {
    Q_OBJECT
  public:
    explicit DocumentsController(const FeatureContext& context, QObject* parent = nullptr);
    ~DocumentsController() override;

    // The recent files and the last folders from the settings store, and the first document.
    void start();
    // Start-up: the whole command line names the document to open (surrounding double quotes
    // are removed). The document the program starts with gives way to it; without one, or when
    // it cannot be opened, that document stays. A document saved in viewer mode gives back its
    // window record.
    std::optional<WindowRecord> openCommandLine(const QString& commandLine);

    // "&Nuevo": an empty document with the world origin at the centre of the drawing area, made
    // current. False, after the message, when 99 documents are open.
    bool newDocument();
    // "Abrir", a recent file, the command line: a document already open (the path compared as
    // the file system compares names) becomes current; another is read into a new document; a
    // macro file goes to the next free macro slot of the current document. Reports the problem
    // and returns false when the file cannot be read.
    bool openDocument(const QString& path);
    // "&Abrir...": the file dialog, then openDocument.
    void askAndOpen();
    // Puts `doc` in the place of the current document (a new one when none is open) and shows it.
    void installDocument(std::unique_ptr<Document> doc);
    // After the last document was closed, until "&Nuevo" or "Abrir".
    bool noDocumentOpen() const { return noDocument_; }

    // Switching, closing and saving by index.
    QStringList documentNames() const;
    int currentDocumentIndex() const;
    void switchTo(int index);
    bool closeDocumentAt(int index);
    // "&Guardar": to the document's file; without one, or when that fails, as "Guardar Como...".
    bool saveDocumentAt(int index);
    // "Guardar Como...": asks for a file, saves, and the document takes the file's name.
    bool saveDocumentAsAt(int index);
    bool saveCurrent() { return saveDocumentAt(currentDocumentIndex()); }
    bool saveCurrentAs() { return saveDocumentAsAt(currentDocumentIndex()); }

    // "Cerrar" and "Cerrar todo": false when a question was cancelled (or a save failed).
    bool closeCurrent();
    bool closeAll();
    void nextDocument();
    void previousDocument();
    void firstDocument();
    void lastDocument();
    // "Lista documentos...".
    void openDocumentList();
    // Every modified document asked about in turn, as closing the program does.
    bool confirmQuit();
    // The recent files and the last folders written to the settings store.
    void storeSettings();

    // "Abrir recientes".
    const RecentFiles& recentFiles() const { return recent_; }
    QMenu* recentMenu() const { return recentMenu_; }
    void addRecent(const QString& path);
    // "Eliminar lista de recientes": after a Yes to its question, the list is emptied.
    void askAndClearRecent();
    void clearRecent();
    QString lastDocumentFolder() const;
    // Where file dialogs start: the folder of documents, else the working folder.
    QString dialogFolder() const;

    // The views of the list: the tabs and the combo box (placed by the window's document bar)
    // and the entries added at the end of `menu`.
    QTabBar* tabs() const { return TC_doc; }
    QComboBox* combo() const { return CB_doc; }
    void setDocumentMenu(QMenu* menu);
    // The name shown for document i.
    QString documentName(int i) const;
    // How documents are saved (with the window record in viewer mode).
    void setSaveOptions(std::function<SaveOptions()> options) { saveOptions_ = std::move(options); }

    // The names and the recent files shown again in the language's texts.
    void applyTexts();
    // The drawing area took a new size: the document the program started with, untouched, keeps
    // its origin at the area's centre.
    void drawingAreaResized();

  signals:
    // The last document was closed (`none`), or a document came again after that.
    void noDocumentChanged(bool none);

  private:
    // The one place where documents come into being, new or to be read into: what every new
    // document starts with is set here.
    std::unique_ptr<Document> createDocument() const;
    void addDocument(std::unique_ptr<Document> doc, int number);
    // Shows the current document: canvas, move tool, the three lists, then the session tells.
    void showCurrent();
    void showList();
    void showRecentFiles();
    bool openMacroFile(const QString& path);
    // Asks whether to save a modified document: false on Cancel or when the save failed.
    bool askToSave(int index);
    bool writeDocument(int index, const QString& path);
    void enterNoDocumentState();
    void leaveNoDocumentState();
    // A modal dialog comes: the gesture running ends (it would hold the mouse).
    void beforeDialog();

    FeatureContext ctx_;
    bool noDocument_ = false;
    // The document the program starts with is made before the window has its size: until it is
    // touched or its view moved, its origin follows the centre of the drawing area.
    const Document* startDocument_ = nullptr;
    double startLeft_ = 0, startTop_ = 0;
    RecentFiles recent_;
    std::function<SaveOptions()> saveOptions_;
    QTabBar* TC_doc = nullptr;
    QComboBox* CB_doc = nullptr;
    QMenu* recentMenu_ = nullptr;
    QMenu* documentMenu_ = nullptr;
    QActionGroup* documentEntries_ = nullptr; // one radio entry per open document
};

} // namespace qorv
