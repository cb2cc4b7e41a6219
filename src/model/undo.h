// The undo history of a document, and the references the user interface holds into its list.
#pragma once

#include "model/snapshot.h"

#include <functional>
#include <vector>

namespace qorv {

// Snapshots in order; `position` = `count` means that the state shown is newer than every
// snapshot, `currentSaved` that it has been stored at the end already. No fixed limit: memory is
// the bound, and snapshots share what did not change.
class UndoHistory {
  public:
    int position() const { return position_; }
    int count() const { return int(snapshots_.size()); }
    bool currentSaved() const { return currentSaved_; }
    bool canUndo() const { return position_ > 0; }
    bool canRedo() const { return position_ < count() - 1; }

    // Before a change: marks the document modified and stores its state. After undoing, the
    // steps undone are dropped and the state shown replaces the snapshot it was installed from
    // (with what changed since without a step, such as the selection). The working list is
    // never replaced, so references into it stay valid. False, with the history unchanged, when
    // memory runs out.
    bool recordStep(Document& doc);
    // Installs the snapshot before the one shown (storing the state shown first, when it is
    // newer than every snapshot) and recalculates. False when there is nothing to undo or the
    // state could not be stored or installed; the document is then as it was.
    bool undo(Document& doc);
    // Installs the snapshot after the one shown and recalculates.
    bool redo(Document& doc);
    // Installs the snapshot recorded last, when nothing was undone since, and forgets it: the
    // changes after that step are taken back as if the step had never been taken.
    bool revertStep(Document& doc);

    // Drops every snapshot.
    void clear();
    // Memory held by the snapshots and the comparison base.
    size_t bytesHeld() const;
    const std::vector<Snapshot>& snapshots() const { return snapshots_; }

  private:
    std::vector<Snapshot> snapshots_;
    int position_ = 0;
    bool currentSaved_ = false;
    SnapshotBase base_;
};

// The document's history, made on first use.
UndoHistory& undoHistory(Document& doc);

// The operations of the history of `doc` (see UndoHistory).
bool recordUndoStep(Document& doc);
bool undo(Document& doc);
bool redo(Document& doc);
bool revertStep(Document& doc);
bool canUndo(const Document& doc);
bool canRedo(const Document& doc);

// References that the user interface keeps into the current list: the element being edited, the
// parents of a pending request, the clicked points, the calculator's lists, the macro being
// built, the button whose list is being redefined. Undo and redo build a new list, so each
// holder registers a visitor over its references; they are noted by id before the list is
// replaced and found again by id afterwards (null when no element has the id any more).
class HeldReferences {
  public:
    using Visit = std::function<void(Element*&)>;
    using Visitor = std::function<void(const Visit&)>;

    // Returns a token for remove().
    int add(Visitor visitor);
    void remove(int token);

    // Renumbers the document and notes the id of every held reference.
    void remember(Document& doc);
    // Points every held reference at the element of the document with the noted id.
    void reresolve(Document& doc);
    // Sets to null every held reference to an element no longer in the document (after a
    // deletion that was not remembered first; the references are compared, not followed).
    void dropMissing(Document& doc);

  private:
    struct Holder {
        int token;
        Visitor visitor;
    };
    std::vector<Holder> holders_;
    std::vector<int32_t> ids_;
    int nextToken_ = 1;
};

} // namespace qorv
