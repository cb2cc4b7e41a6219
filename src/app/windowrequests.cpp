#include "app/windowrequests.h"

#include "app/bitmapbytes.h"
#include "app/editorsession.h"
#include "dialogs/dialogcontext.h"
#include "dialogs/tv_iterac.h"
#include "dialogs/tvcolpar.h"
#include "dialogs/tvtexto.h"
#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QApplication>
#include <QDir>
#include <QImageReader>

namespace qorv {

WindowRequests::WindowRequests(EditorSession& session, DialogContext& context, QWidget* window)
    : QObject(window), session_(session), context_(context), window_(window) {}

bool WindowRequests::chooseFont(FontRecord& font) {
    return context_.chooseFont(font);
}

bool WindowRequests::editText(TextTail& text) {
    TVTexto dialog(
        text.font, session_.document().background,
        [this](FontRecord& f) { return context_.chooseFont(f); }, window_);
    if (!text.lines.empty()) dialog.showText(text);
    context_.run(dialog);
    if (dialog.result() != QDialog::Accepted) return false;
    dialog.fillText(text);
    return !text.lines.empty();
}

bool WindowRequests::choosePicture(std::vector<uint8_t>& picture) {
    const QString last = pictureFolder_ ? pictureFolder_() : QString();
    const QString folder = last.isEmpty() ? QDir::currentPath() : last;
    const QString path =
        context_.openFileName(qtext(uiText().toolPrompt(Tool::Bitmap)), folder,
                              {text(Msg::ColTextPictures), text(Msg::FilterAllFiles)});
    if (path.isEmpty()) return false;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (!image.isNull()) picture = bitmapFileBytes(image);
    if (picture.empty()) {
        context_.warn(text(Msg::ColTextUnreadablePicture) + QStringLiteral("\n") + path);
        return false;
    }
    return true;
}

bool WindowRequests::askParametricColour(int& mode, Color& from, Color& to) {
    TVcolpar dialog(window_);
    dialog.setColours(from, to);
    context_.run(dialog);
    if (dialog.result() != QDialog::Accepted) return false;
    mode = dialog.mode();
    from = dialog.fromColour();
    to = dialog.toColour();
    return true;
}

bool WindowRequests::askIterationCount(int32_t& n) {
    TV_iterac_ni dialog(n, window_);
    context_.run(dialog);
    if (dialog.result() != QDialog::Accepted) return false;
    n = dialog.number();
    return true;
}

void WindowRequests::showMessage(int msgSlot) {
    context_.warn(text(msgSlot));
}

void WindowRequests::setBusy(bool on) {
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void WindowRequests::openElementDialog(int tool, Element& e) {
    emit elementDialogAsked(tool, &e);
}

void WindowRequests::dialogElementClicked(int tool, Element& e) {
    emit elementClickedForDialog(tool, &e);
}

void WindowRequests::animationEntryClicked(Element* e) {
    emit animationEntryChosen(e);
}

} // namespace qorv
