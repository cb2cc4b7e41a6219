// "&Edición": choosing and deleting elements by the menu ("Borrar", "Seleccionar todo",
// "Seleccionar grupo", "Seleccionar padres", "Seleccionar hijos", "Eliminar Todo").
#pragma once

#include "app/controllers/featurecontext.h"

#include <QObject>

#include <vector>

namespace qorv {

class SelectionController : public QObject {
    Q_OBJECT
  public:
    explicit SelectionController(const FeatureContext& context, QObject* parent = nullptr);

    // The kinds "Seleccionar grupo" offers, one item each.
    static const std::vector<int>& selectableKinds();

    // "Borrar": with the move tool, the selection and what depends on it (one undo step).
    void deleteSelection();
    void selectAll();
    // One item of "Seleccionar grupo": every element of `kind` that can be seen.
    void selectKind(int kind);
    // "Seleccionar grupo...": a dialog of check boxes, one per kind.
    void selectKindsDialog();
    void selectParents();
    void selectChildren();
    // "Eliminar Todo": one undo step; the move tool; the traces cleared.
    void deleteAll();
    // Whether "Seleccionar grupo" has something to add for `kind`.
    bool kindSelectable(int kind);

  private:
    // After a command changed the selection: drawn, and told.
    void selectionChanged();

    FeatureContext ctx_;
};

} // namespace qorv
