#include "model/undo.h"

#include "geometry/recalc.h"

#include <algorithm>
#include <new>

namespace qorv {

// ---- history ------------------------------------------------------------------------------------

bool UndoHistory::recordStep(Document& doc) {
    doc.modified = 1;
    if (position_ == count()) {
        try {
            Snapshot s = takeSnapshot(doc, &base_);
            snapshots_.push_back(std::move(s));
        } catch (const std::bad_alloc&) {
            return false;
        }
        ++position_;
    } else {
        // The steps undone are dropped. The snapshot at `position` becomes the state shown as it
        // is now (what changed since it was installed without a step of its own, such as the
        // selection, belongs to it); the working list itself stays, as snapshots never share
        // elements with it.
        try {
            Snapshot s = takeSnapshot(doc, &base_);
            snapshots_[size_t(position_)] = std::move(s);
        } catch (const std::bad_alloc&) {
            return false;
        }
        snapshots_.erase(snapshots_.begin() + position_ + 1, snapshots_.end());
        position_ = count();
    }
    currentSaved_ = false;
    return true;
}

bool UndoHistory::undo(Document& doc) {
    if (!canUndo()) return false;
    if (position_ == count() && !currentSaved_) {
        // Without the state shown stored, "Rehacer" could not come back to it.
        try {
            Snapshot s = takeSnapshot(doc, &base_);
            snapshots_.push_back(std::move(s));
        } catch (const std::bad_alloc&) {
            return false;
        }
        currentSaved_ = true;
    }
    if (!installSnapshot(doc, snapshots_[size_t(position_ - 1)], &base_)) return false;
    --position_;
    doc.modified = 1;
    recalcUpTo(doc);
    return true;
}

bool UndoHistory::redo(Document& doc) {
    if (!canRedo()) return false;
    if (!installSnapshot(doc, snapshots_[size_t(position_ + 1)], &base_)) return false;
    ++position_;
    doc.modified = 1;
    recalcUpTo(doc);
    return true;
}

bool UndoHistory::revertStep(Document& doc) {
    if (position_ == 0 || position_ != count() || currentSaved_) return false;
    if (!installSnapshot(doc, snapshots_.back(), &base_)) return false;
    snapshots_.pop_back();
    position_ = count();
    recalcUpTo(doc);
    return true;
}

void UndoHistory::clear() {
    snapshots_.clear();
    snapshots_.shrink_to_fit();
    position_ = 0;
    currentSaved_ = false;
    base_.clear();
}

size_t UndoHistory::bytesHeld() const {
    return sizeof(*this) + snapshotBytes(snapshots_) + base_.bytesHeld();
}

UndoHistory& undoHistory(Document& doc) {
    if (!doc.undoHistory) doc.undoHistory = std::make_unique<UndoHistory>();
    return *doc.undoHistory;
}

bool recordUndoStep(Document& doc) {
    return undoHistory(doc).recordStep(doc);
}
bool undo(Document& doc) {
    return undoHistory(doc).undo(doc);
}
bool redo(Document& doc) {
    return undoHistory(doc).redo(doc);
}
bool revertStep(Document& doc) {
    return undoHistory(doc).revertStep(doc);
}
bool canUndo(const Document& doc) {
    return doc.undoHistory && doc.undoHistory->canUndo();
}
bool canRedo(const Document& doc) {
    return doc.undoHistory && doc.undoHistory->canRedo();
}

// ---- held references ----------------------------------------------------------------------------

int HeldReferences::add(Visitor visitor) {
    const int token = nextToken_++;
    holders_.push_back(Holder{token, std::move(visitor)});
    return token;
}

void HeldReferences::remove(int token) {
    holders_.erase(std::remove_if(holders_.begin(), holders_.end(),
                                  [token](const Holder& h) { return h.token == token; }),
                   holders_.end());
}

void HeldReferences::remember(Document& doc) {
    doc.renumber();
    ids_.clear();
    for (const Holder& h : holders_)
        h.visitor([this](Element*& ref) { ids_.push_back(ref ? ref->id : -1); });
}

void HeldReferences::reresolve(Document& doc) {
    doc.renumber();
    std::vector<Element*> byId(1, nullptr);
    doc.forEachWithSubs([&](Element& e) {
        if (e.id >= 1 && size_t(e.id) >= byId.size()) byId.resize(size_t(e.id) + 1, nullptr);
        if (e.id >= 1) byId[size_t(e.id)] = &e;
    });
    size_t next = 0;
    for (const Holder& h : holders_) {
        h.visitor([&](Element*& ref) {
            const int32_t id = next < ids_.size() ? ids_[next] : -1;
            ++next;
            ref = id >= 1 && size_t(id) < byId.size() ? byId[size_t(id)] : nullptr;
        });
    }
}

void HeldReferences::dropMissing(Document& doc) {
    std::vector<const Element*> present;
    doc.forEachWithSubs([&](const Element& e) { present.push_back(&e); });
    std::sort(present.begin(), present.end());
    for (const Holder& h : holders_)
        h.visitor([&](Element*& ref) {
            if (ref && !std::binary_search(present.begin(), present.end(), ref)) ref = nullptr;
        });
}

} // namespace qorv
