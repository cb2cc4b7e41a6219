#include "app/controllers/macrocontroller.h"

#include "app/commands.h"
#include "app/controllers/helpcontroller.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/prompts.h"
#include "app/windowcontext.h"
#include "dialogs/tmaccon.h"
#include "view/tooltable.h"

#include <QDir>

namespace qorv {

MacroController::MacroController(const FeatureContext& context, HelpController& help)
    : QObject(context.window), ctx_(context), help_(help) {
    EditorSession& session = ctx_.session;
    ctx_.onCommand(CommandId::Macros, this, [this] { openDialog(); });
    ctx_.canvas.interaction().lendMacroSession(&macros_);
    session.heldReferences().add(
        [this](const HeldReferences::Visit& visit) { macros_.forEachReference(visit); });
    connect(&session, &EditorSession::currentDocumentChanged, this, [this] { macros_.clear(); });
    // Only what is still in the list is noted for finding again.
    connect(&session, &EditorSession::elementsAboutToBeReplaced, this,
            [this] { macros_.dropMissing(ctx_.session.document()); });
    connect(&session, &EditorSession::elementsReplaced, this,
            [this] { macros_.dropMissing(ctx_.session.document()); });
}

QString MacroController::folder() const {
    const LastFolders& folders = ctx_.session.folders();
    if (!folders.macros.isEmpty()) return folders.macros;
    return folders.documents.isEmpty() ? QDir::homePath() : folders.documents;
}

void MacroController::openDialog() {
    EditorSession& session = ctx_.session;
    if (session.currentIndex() < 0) return;
    ctx_.context.prompts().beforeDialog();
    Document& doc = session.document();
    macros_.dropMissing(doc);
    // The elements chosen in the drawing become the list of the mode.
    const int tool = session.tool();
    if (tool == Tool::MacroInitial) macros_.storeInitial(doc);
    if (tool == Tool::MacroFinal) macros_.storeFinal();
    macros_.dialogOpen = true;
    ctx_.canvas.redraw();

    TMacCon dialog(ctx_.context, macros_, tool, folder(), ctx_.window);
    connect(&dialog, &TMacCon::helpAsked, this,
            [this, &dialog] { help_.showToolTopic(Tool::ApplyMacro, &dialog); });
    connect(&dialog, &TMacCon::listsReleased, this, [this] { ctx_.canvas.redraw(); });
    connect(&dialog, &TMacCon::folderUsed, this,
            [this](const QString& f) { ctx_.session.folders().macros = f; });
    if (dialogHook_)
        dialogHook_(dialog);
    else
        dialog.exec();
    help_.releaseFromDialog(&dialog);

    macros_.dialogOpen = false;
    if (dialog.chosenTool() >= 0)
        session.chooseTool(dialog.chosenTool());
    else if (dialog.result() == TMacCon::BackToMove)
        session.chooseTool(Tool::Move);
    else
        emit toolShownAgain();
    ctx_.canvas.redraw(); // without the marks
    session.noteChanges();
}

} // namespace qorv
