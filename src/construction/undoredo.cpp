#include "construction/undoredo.h"

#include "geometry/recalc.h"

namespace qorv {

namespace {

bool thenRecalculate(Document& doc, bool done) {
    if (done) recalcUpTo(doc);
    return done;
}

} // namespace

bool undo(Document& doc) {
    return thenRecalculate(doc, undoHistory(doc).undo(doc));
}

bool redo(Document& doc) {
    return thenRecalculate(doc, undoHistory(doc).redo(doc));
}

bool revertStep(Document& doc) {
    return thenRecalculate(doc, undoHistory(doc).revertStep(doc));
}

} // namespace qorv
