#include "app/controllers/editcontroller.h"

#include "app/bitmapbytes.h"
#include "app/commands.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "construction/clipboard.h"
#include "construction/undoredo.h"
#include "model/undo.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

namespace qorv {

namespace {

bool anythingSelected(const Document& doc) {
    for (const Element* e = doc.head; e; e = e->next) {
        bool any = e->selected != 0;
        forEachSubElement(*e, [&](const Element& s) { any = any || s.selected != 0; });
        if (any) return true;
    }
    return false;
}

} // namespace

std::vector<uint8_t> bitmapFileBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // 24 bits: the format every reader of the file understands.
    if (!image.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP")) return {};
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

EditController::EditController(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context) {
    using C = CommandId;
    ctx_.onCommand(C::Undo, this, [this] { undo(); });
    ctx_.onCommand(C::Redo, this, [this] { redo(); });
    ctx_.onCommand(C::Cut, this, [this] { cutSelection(); });
    ctx_.onCommand(C::Copy, this, [this] { copySelection(); });
    ctx_.onCommand(C::Paste, this, [this] { paste(); });
    ctx_.onCommand(C::PastePicture, this, [this] { pastePicture(); });
}

void EditController::undo() {
    if (!canUndo(ctx_.session.document())) return;
    ctx_.session.replaceElements(ElementsChange::Undo, [](Document& d) { return qorv::undo(d); });
}

void EditController::redo() {
    if (!canRedo(ctx_.session.document())) return;
    ctx_.session.replaceElements(ElementsChange::Redo, [](Document& d) { return qorv::redo(d); });
}

void EditController::copySelection() {
    EditorSession& session = ctx_.session;
    Document& doc = session.document();
    if (!anythingSelected(doc)) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(selectionText(doc)));
    qorv::copySelection(doc, session.clipboard(), session.documents().all());
    session.clipboardFilled();
}

void EditController::cutSelection() {
    EditorSession& session = ctx_.session;
    Document& doc = session.document();
    if (!anythingSelected(doc)) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(selectionText(doc)));
    session.replaceElements(ElementsChange::Cut, [&session](Document& d) {
        qorv::cutSelection(d, session.clipboard(), session.documents().all());
        return true;
    });
    session.clipboardFilled();
}

void EditController::paste() {
    EditorSession& session = ctx_.session;
    if (session.clipboard().empty()) return;
    session.replaceElements(ElementsChange::Paste, [&session](Document& d) {
        return qorv::paste(d, session.clipboard()) != nullptr;
    });
}

void EditController::pastePicture() {
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return;
    std::vector<uint8_t> bytes = bitmapFileBytes(image);
    if (bytes.empty()) return;
    const CreationOptions options;
    qorv::pastePicture(ctx_.session.document(), std::move(bytes), options);
    ctx_.canvas.redraw();
}

} // namespace qorv
