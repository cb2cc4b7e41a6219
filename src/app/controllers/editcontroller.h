// "&Edición": undo, redo, the internal and the system clipboard, and pasting a picture.
#pragma once

#include "app/controllers/featurecontext.h"

#include <QObject>

namespace qorv {

class EditController : public QObject {
    Q_OBJECT
  public:
    explicit EditController(const FeatureContext& context, QObject* parent = nullptr);

    // "Deshacer" and "Rehacer": the references the session holds are found again by id in the
    // list installed.
    void undo();
    void redo();
    // "Copiar": the selection's text to the system clipboard, the selection with its ancestors
    // to the internal clipboard. Nothing happens when nothing is selected.
    void copySelection();
    // "Cortar": "Copiar", then the selection is deleted (one undo step).
    void cutSelection();
    // "Pegar": a copy of the internal clipboard, selected, moved by the paste offset.
    void paste();
    // "Pegar imagen": the picture on the system clipboard as a "Bitmap".
    void pastePicture();

  private:
    FeatureContext ctx_;
};

} // namespace qorv
