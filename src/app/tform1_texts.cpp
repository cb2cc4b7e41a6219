// The dialogs of the text, "Insertar bitmap" and parametric-colour tools.
#include "app/tform1.h"
#include "dialogs/tvcolpar.h"
#include "dialogs/tvtexto.h"
#include "geometry/elementgeometry.h"
#include "view/qtexts.h"

#include <QDir>
#include <QImageReader>

namespace qorv {

bool TForm1::editText(TextTail& text) {
    TVTexto dialog(
        text.font, document().background, [this](FontRecord& f) { return chooseFont(f); }, this);
    if (!text.lines.empty()) dialog.showText(text);
    runDialog(dialog);
    if (dialog.result() != QDialog::Accepted) return false;
    dialog.fillText(text);
    return !text.lines.empty();
}

bool TForm1::choosePicture(std::vector<uint8_t>& picture) {
    const QString folder = folders_.documents.isEmpty() ? QDir::currentPath() : folders_.documents;
    const QString path =
        dialogs().openFileName(qtext(uiText().toolPrompt(Tool::Bitmap)), folder,
                               {text(Msg::ColTextPictures), text(Msg::FilterAllFiles)});
    if (path.isEmpty()) return false;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (!image.isNull()) picture = bitmapFileBytes(image);
    if (picture.empty()) {
        warn(text(Msg::ColTextUnreadablePicture) + QStringLiteral("\n") + path);
        return false;
    }
    return true;
}

bool TForm1::askParametricColour(int& mode, Color& from, Color& to) {
    TVcolpar dialog(this);
    dialog.setColours(from, to);
    runDialog(dialog);
    if (dialog.result() != QDialog::Accepted) return false;
    mode = dialog.mode();
    from = dialog.fromColour();
    to = dialog.toColour();
    return true;
}

void TForm1::startParametricColour(Element& e) {
    chooseTool(Tool::ParamLineColour);
    Hit hit;
    hit.element = &e;
    canvas_->interaction().engine().click(&hit, firstPointOf(e), 0);
}

} // namespace qorv
