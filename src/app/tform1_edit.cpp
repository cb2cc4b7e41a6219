// The main window's "Edición" commands: undo, redo and the clipboard.
#include "app/tform1.h"

#include "app/commands.h"
#include "model/document.h"
#include "model/uitext.h"
#include "view/qtexts.h"

#include <QAction>
#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>

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

void TForm1::createEditActions() {
    M_undo = commands_->action(CommandId::Undo);
    connect(M_undo, &QAction::triggered, this, &TForm1::undo);
    M_redo = commands_->action(CommandId::Redo);
    connect(M_redo, &QAction::triggered, this, &TForm1::redo);
    M_cortar = commands_->action(CommandId::Cut);
    connect(M_cortar, &QAction::triggered, this, &TForm1::cutSelection);
    M_copiar = commands_->action(CommandId::Copy);
    connect(M_copiar, &QAction::triggered, this, &TForm1::copySelection);
    M_pegar = commands_->action(CommandId::Paste);
    connect(M_pegar, &QAction::triggered, this, &TForm1::paste);
    M_pegar_imagen = commands_->action(CommandId::PastePicture);
    connect(M_pegar_imagen, &QAction::triggered, this, &TForm1::pastePicture);
}

void TForm1::recordUndoStep() {
    session_.recordUndoStep();
}

void TForm1::undo() {
    if (!canUndo(document())) return;
    session_.replaceElements(ElementsChange::Undo, [](Document& d) { return qorv::undo(d); });
    updateMenuStates();
}

void TForm1::redo() {
    if (!canRedo(document())) return;
    session_.replaceElements(ElementsChange::Redo, [](Document& d) { return qorv::redo(d); });
    updateMenuStates();
}

void TForm1::copySelection() {
    Document& doc = document();
    if (!anythingSelected(doc)) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(selectionText(doc)));
    qorv::copySelection(doc, clipboard_, docs_.all());
    session_.clipboardFilled();
}

void TForm1::cutSelection() {
    Document& doc = document();
    if (!anythingSelected(doc)) return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(selectionText(doc)));
    session_.replaceElements(ElementsChange::Cut, [this](Document& d) {
        qorv::cutSelection(d, clipboard_, docs_.all());
        return true;
    });
    session_.clipboardFilled();
}

void TForm1::paste() {
    if (clipboard_.empty()) return;
    session_.replaceElements(ElementsChange::Paste,
                             [this](Document& d) { return qorv::paste(d, clipboard_) != nullptr; });
}

void TForm1::pastePicture() {
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull()) return;
    std::vector<uint8_t> bytes = bitmapFileBytes(image);
    if (bytes.empty()) return;
    const CreationOptions options;
    qorv::pastePicture(document(), std::move(bytes), options);
    canvas_->redraw();
    updateMenuStates();
}

} // namespace qorv
