#include "app/controllers/selectioncontroller.h"

#include "app/commands.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "geometry/recalc.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace qorv {

SelectionController::SelectionController(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context) {
    using C = CommandId;
    ctx_.onCommand(C::DeleteSelection, this, [this] { deleteSelection(); });
    ctx_.onCommand(C::SelectAll, this, [this] { selectAll(); });
    ctx_.onCommand(C::SelectKinds, this, [this] { selectKindsDialog(); });
    ctx_.onCommand(C::SelectParents, this, [this] { selectParents(); });
    ctx_.onCommand(C::SelectChildren, this, [this] { selectChildren(); });
    ctx_.onCommand(C::DeleteAll, this, [this] { deleteAll(); });
}

const std::vector<int>& SelectionController::selectableKinds() {
    // The intersection holder is never drawn, so never chosen.
    static const std::vector<int> kinds = {
        Kind::Point,    Kind::Line,        Kind::Ray,      Kind::Segment,  Kind::Vector,
        Kind::Polygon,  Kind::Circle,      Kind::Arc,      Kind::Conic,    Kind::Angle,
        Kind::Locus,    Kind::Axes,        Kind::Grid,     Kind::Number,   Kind::Function,
        Kind::Equation, Kind::Coordinates, Kind::Property, Kind::Table,    Kind::Text,
        Kind::Name,     Kind::Button,      Kind::Bitmap,   Kind::Iteration};
    return kinds;
}

void SelectionController::selectionChanged() {
    ctx_.canvas.redraw();
    ctx_.session.notifySelectionChanged();
}

void SelectionController::deleteSelection() {
    EditorSession& session = ctx_.session;
    // As the Delete key does: the move tool, with something selected.
    if (session.tool() != Tool::Move || session.document().selectedCount() == 0) return;
    session.recordUndoStep();
    session.replaceElements(ElementsChange::Delete, [](Document& doc) {
        doc.deleteSelected();
        recalcUpTo(doc);
        return true;
    });
}

void SelectionController::selectAll() {
    ctx_.session.document().selectAll();
    selectionChanged();
}

void SelectionController::selectKind(int kind) {
    ctx_.session.document().selectKind(ElementKind(kind), ctx_.canvas.showHidden());
    selectionChanged();
}

bool SelectionController::kindSelectable(int kind) {
    return ctx_.session.document().hasUnselectedSelectable(ElementKind(kind),
                                                           ctx_.canvas.showHidden());
}

void SelectionController::selectParents() {
    ctx_.session.document().selectParents();
    selectionChanged();
}

void SelectionController::selectChildren() {
    ctx_.session.document().selectChildren();
    selectionChanged();
}

void SelectionController::selectKindsDialog() {
    ctx_.prompts.beforeDialog();
    ctx_.canvas.redraw();
    QDialog dialog(ctx_.prompts.parent());
    dialog.setObjectName(QStringLiteral("TV_selgrupo"));
    dialog.setWindowTitle(QString(text(Msg::SelectGroup)).remove(QStringLiteral("...")));
    auto* layout = new QVBoxLayout(&dialog);
    std::vector<std::pair<int, QCheckBox*>> boxes;
    for (int kind : selectableKinds()) {
        auto* box = new QCheckBox(qtext(uiText().kindName(kind)), &dialog);
        box->setObjectName(QStringLiteral("CB_kind_%1").arg(kind));
        layout->addWidget(box);
        boxes.emplace_back(kind, box);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(text(Msg::OkButton), QDialogButtonBox::AcceptRole);
    buttons->addButton(text(Msg::CancelButton), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    ctx_.prompts.run(dialog);
    if (dialog.result() != QDialog::Accepted) return;
    std::vector<ElementKind> kinds;
    for (const auto& [kind, box] : boxes)
        if (box->isChecked()) kinds.push_back(ElementKind(kind));
    ctx_.session.document().selectKinds(kinds, ctx_.canvas.showHidden());
    selectionChanged();
}

void SelectionController::deleteAll() {
    EditorSession& session = ctx_.session;
    if (!session.document().head) return;
    session.chooseTool(Tool::Move);
    session.recordUndoStep();
    ctx_.canvas.clearTrace();
    session.replaceElements(ElementsChange::Delete, [](Document& d) {
        d.deleteAll(); // with the trace and animation lists
        return true;
    });
}

} // namespace qorv
