#include "app/windowcontext.h"

#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "construction/undoredo.h"
#include "dialogs/tvtexto.h"
#include "model/uitext.h"
#include "model/undo.h"
#include "view/qtexts.h"

#include <QColorDialog>
#include <QFontDialog>

namespace qorv {

WindowContext::WindowContext(EditorSession& session, Prompts& prompts)
    : session_(session), prompts_(prompts) {}

Document& WindowContext::document() {
    return session_.document();
}

const CreationOptions& WindowContext::creationOptions() {
    return session_.creationOptions();
}

ProgramOptions& WindowContext::programOptions() {
    return session_.programOptions();
}

void WindowContext::recordUndoStep() {
    session_.recordUndoStep();
}

void WindowContext::changed() {
    // A dialog that deleted elements ("Eliminar"): the tools let go of them before the drawing
    // blinks them, and the windows holding elements hear of it.
    if (session_.removalsUntold()) canvas_->interaction().documentReplaced();
    canvas_->recalculateAndRedraw();
    session_.noteChanges();
}

void WindowContext::revertStep() {
    session_.replaceElements(ElementsChange::Revert,
                             [](Document& doc) { return qorv::revertStep(doc); });
}

QStringList WindowContext::documentNames() {
    QStringList names;
    const DocumentTable& docs = session_.documents();
    for (int i = 0; i < docs.count(); ++i)
        names << docs.name(i);
    return names;
}

int WindowContext::currentDocumentIndex() {
    return session_.currentIndex();
}

Document& WindowContext::documentAt(int index) {
    return session_.documents().at(index);
}

Renderer& WindowContext::renderer() {
    return canvas_->renderer();
}

QSize WindowContext::drawingAreaSize() {
    return canvas_->drawingAreaSize();
}

QSize WindowContext::screenSize() {
    return canvas_->screenSize();
}

double WindowContext::planeSize() {
    return canvas_->planeSize();
}

void WindowContext::setPlaneSize(double size) {
    canvas_->setPlaneSize(size);
}

bool WindowContext::showHidden() {
    return canvas_->showHidden();
}

void WindowContext::redraw() {
    canvas_->redraw();
}

void WindowContext::viewChanged() {
    canvas_->viewChanged();
}

void WindowContext::warn(const QString& message, const QString& caption) {
    if (caption.isEmpty())
        prompts_.warn(message);
    else
        prompts_.warnField(caption, message);
}

DialogContext::Answer WindowContext::ask(const QString& question) {
    switch (prompts_.dialogs().ask(text(Msg::ProgramCaption), question)) {
    case UserDialogs::Answer::Yes:
        return Answer::Yes;
    case UserDialogs::Answer::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> WindowContext::askText(const QString& prompt, const QString& initial) {
    QString answer = initial;
    if (!prompts_.dialogs().inputText(text(Msg::ProgramCaption), prompt, answer))
        return std::nullopt;
    return answer;
}

bool WindowContext::chooseFont(FontRecord& font) {
    if (fontDialogHook_) return fontDialogHook_(font);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, qfontOf(font), prompts_.parent());
    if (!ok) return false;
    font.name = chosen.family().toStdString();
    if (chosen.pointSize() > 0) font.size = chosen.pointSize();
    font.bold = chosen.bold() ? 1 : 0;
    font.italic = chosen.italic() ? 1 : 0;
    font.underline = chosen.underline() ? 1 : 0;
    font.strikeout = chosen.strikeOut() ? 1 : 0;
    return true;
}

bool WindowContext::chooseColour(Color& colour) {
    const QColor chosen = QColorDialog::getColor(
        QColor(colorRed(colour), colorGreen(colour), colorBlue(colour)), prompts_.parent());
    if (!chosen.isValid()) return false;
    colour = rgb(chosen.red(), chosen.green(), chosen.blue());
    return true;
}

QString WindowContext::openFileName(const QString& caption, const QString& folder,
                                    const QStringList& filters) {
    return prompts_.dialogs().openFileName(caption, folder, filters);
}

QString WindowContext::saveFileName(const QString& caption, const QString& proposed,
                                    const QStringList& filters, const QString& suffix) {
    return prompts_.dialogs().saveFileName(caption, proposed, filters, suffix);
}

void WindowContext::run(QDialog& dialog) {
    prompts_.run(dialog);
}

} // namespace qorv
