#include "app/editorsession.h"

#include "view/tooltable.h"

namespace qorv {

EditorSession::EditorSession() : tool_(Tool::Move) {}

EditorSession::~EditorSession() = default;

void EditorSession::setCurrentDocument(int index) {
    docs_.setCurrent(index);
    rememberTold();
    emit currentDocumentChanged(document());
    emit documentsListed();
}

void EditorSession::toolTaken(int tool) {
    tool_ = tool;
    emit toolChanged(tool);
}

void EditorSession::recordUndoStep() {
    Document& doc = document();
    const int wasModified = doc.modified;
    qorv::recordUndoStep(doc);
    emit undoStepRecorded();
    if (told_.doc == &doc && doc.modified != wasModified) {
        told_.modified = doc.modified;
        emit modifiedChanged(doc.modified != 0);
    }
}

bool EditorSession::replaceElements(ElementsChange why,
                                    const std::function<bool(Document&)>& operation) {
    Document& doc = document();
    emit elementsAboutToBeReplaced(why);
    // Undo, redo and a revert install new objects: the references are found again by id. The
    // others only delete or add, and the references to what went are dropped.
    const bool newObjects =
        why == ElementsChange::Undo || why == ElementsChange::Redo || why == ElementsChange::Revert;
    if (newObjects) held_.remember(doc);
    const bool done = operation(doc);
    if (newObjects)
        held_.reresolve(doc);
    else
        held_.dropMissing(doc);
    if (!done) return false;
    // Told here; noteChanges has nothing left to say about the removals.
    told_.doc = &doc;
    told_.removals = doc.removals;
    emit elementsReplaced(why);
    noteChanges();
    return true;
}

void EditorSession::noteChanges() {
    Document& doc = document();
    if (told_.doc != &doc) {
        // Made current without setCurrentDocument (the table changed under it).
        rememberTold();
        emit currentDocumentChanged(doc);
        return;
    }
    if (doc.removals != told_.removals) {
        told_.removals = doc.removals;
        // What went cannot be looked at any more: references to it are dropped.
        held_.dropMissing(doc);
        emit elementsReplaced(ElementsChange::Noticed);
    }
    if (doc.modified != told_.modified) {
        told_.modified = doc.modified;
        emit modifiedChanged(doc.modified != 0);
    }
    if (const uintptr_t s = selectionSignature(doc); s != told_.selection) {
        told_.selection = s;
        emit selectionChanged();
    }
}

void EditorSession::notifySelectionChanged() {
    told_.selection = selectionSignature(document());
    emit selectionChanged();
}

void EditorSession::setViewerMode(bool on) {
    if (viewerMode_ == on) return;
    viewerMode_ = on;
    emit viewerModeChanged(on);
}

uintptr_t EditorSession::selectionSignature(const Document& doc) {
    // The selected elements in list order, folded: equal selections give equal numbers.
    uintptr_t s = 0;
    const auto add = [&s](const Element& e) {
        if (e.selected) s = s * 1000003u + reinterpret_cast<uintptr_t>(&e) + 1;
    };
    for (const Element* e = doc.head; e; e = e->next) {
        add(*e);
        forEachSubElement(*e, add);
    }
    return s;
}

void EditorSession::rememberTold() {
    const Document& doc = document();
    told_ = Told{&doc, doc.removals, doc.modified, selectionSignature(doc)};
}

} // namespace qorv
