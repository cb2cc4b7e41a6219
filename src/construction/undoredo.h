// "Deshacer" and "Rehacer": the document's history installs a snapshot, and the whole
// construction is recalculated, which brings back the values that snapshots leave out.
#pragma once

#include "model/undo.h"

namespace qorv {

// The operations of UndoHistory on the history of `doc`, each followed by a full recalculation
// when it was done. False (nothing done) as for UndoHistory.
bool undo(Document& doc);
bool redo(Document& doc);
bool revertStep(Document& doc);

} // namespace qorv
