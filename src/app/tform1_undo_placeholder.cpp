// Stand-in until the undo history is merged: an undo step only marks the document modified.
#include "app/tform1.h"

namespace qorv {

void TForm1::recordUndoStep() {
    document_->modified = 1;
}

} // namespace qorv
