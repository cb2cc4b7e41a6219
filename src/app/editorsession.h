// The editor session: the state of the program that no window owns. It holds the open documents
// and the current one, the references that windows and tools keep into the current document, the
// creation options of new elements, the program's options, the internal clipboard, the last
// folders and the current tool, and it says what changed through its signals. The main window,
// the feature controllers and the non-modal windows listen to it instead of to each other.
#pragma once

#include "app/documenttable.h"
#include "model/clipboard.h"
#include "model/undo.h"
#include "settings/options.h"
#include "settings/recentfiles.h"

#include <QObject>

#include <cstdint>
#include <functional>

namespace qorv {

// What replaced or deleted elements of the current document.
enum class ElementsChange : uint8_t {
    Undo,
    Redo,
    Paste,
    Cut,
    Delete, // the selection or everything
    Revert, // a dialog gives back the state before its last step
    Save,   // saving dropped internal elements that served nothing
    // A deletion made outside replaceElements (a tool, a dialog), noticed afterwards by
    // noteChanges: the drawing has been made already.
    Noticed,
};

class EditorSession : public QObject {
    Q_OBJECT
  public:
    EditorSession();
    ~EditorSession() override;
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // ---- documents
    DocumentTable& documents() { return docs_; }
    const DocumentTable& documents() const { return docs_; }
    // The current document; an empty stand-in while none is open.
    Document& document() { return docs_.current(); }
    int currentIndex() const { return docs_.currentIndex(); }
    // Makes document `index` current (-1: the stand-in) and tells everyone, even when it was
    // current already: the document behind the index may be another one.
    void setCurrentDocument(int index);
    // The names, the count or the order of the open documents changed.
    void documentListChanged() { emit documentsListed(); }

    // ---- what windows and tools keep
    HeldReferences& heldReferences() { return held_; }
    CreationOptions& creationOptions() { return creation_; }
    ProgramOptions& programOptions() { return options_; }
    InternalClipboard& clipboard() { return clipboard_; }
    LastFolders& folders() { return folders_; }

    // ---- the tool
    int tool() const { return tool_; }
    // Chooses a tool as its button or menu item does (`ownButton`: the move tool's own button,
    // which keeps the selection). The tool machine takes it and reports with toolTaken.
    void chooseTool(int tool, bool ownButton = false) { emit toolRequested(tool, ownButton); }
    // The tool machine took `tool`.
    void toolTaken(int tool);

    // ---- changes
    // Records one undo step of the current document; every change of it starts here.
    void recordUndoStep();
    // Carries out an operation that replaces or deletes elements of the current document. The
    // tools let go of what they hold, the held references are noted by id, `operation` runs, the
    // references are found again (or dropped with their element), and elementsReplaced tells
    // the windows, whose drawing follows. Returns what `operation` returned; nothing is told
    // when it returns false.
    bool replaceElements(ElementsChange why, const std::function<bool(Document&)>& operation);
    // Looks at the current document after a command or a click (not per frame): a deletion no
    // one reported, the modified flag and the selection are told when they changed.
    void noteChanges();
    // Elements were freed since the windows were last told (noteChanges will tell them).
    bool removalsUntold() { return document().removals != told_.removals; }
    // The internal clipboard was filled.
    void clipboardFilled() { emit clipboardChanged(); }
    // The selection of the current document changed (a click, a rubber band, a command).
    void notifySelectionChanged();

    // ---- "Modo visor": documents are saved with their window, the placement is not saved.
    bool viewerMode() const { return viewerMode_; }
    void setViewerMode(bool on);

  signals:
    // Another document is current (switch, close, new, open).
    void currentDocumentChanged(Document& doc);
    void documentsListed();
    // Before `operation` of replaceElements: the tools drop gestures and picked elements.
    void elementsAboutToBeReplaced(ElementsChange why);
    // Elements of the current document were replaced or freed: a window holding elements lets
    // go of them, or finds them again, and shows the document afresh.
    void elementsReplaced(ElementsChange why);
    void modifiedChanged(bool modified);
    // An undo step was recorded (the history can go back).
    void undoStepRecorded();
    void toolRequested(int tool, bool ownButton);
    void toolChanged(int tool);
    void selectionChanged();
    void clipboardChanged();
    void viewerModeChanged(bool on);

  private:
    // What was last told about the current document.
    struct Told {
        const Document* doc = nullptr;
        uint32_t removals = 0;
        int modified = 0;
        uintptr_t selection = 0;
    };
    static uintptr_t selectionSignature(const Document& doc);
    void rememberTold();

    DocumentTable docs_;
    HeldReferences held_;
    CreationOptions creation_;
    ProgramOptions options_;
    InternalClipboard clipboard_; // one for the program; outlives the documents
    LastFolders folders_;
    int tool_ = 0;
    bool viewerMode_ = false;
    Told told_;
};

} // namespace qorv
