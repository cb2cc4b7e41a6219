// The tools' requests as the main window answers them: the small dialogs a click opens (font,
// text, picture, parametric colour, number of iterations), messages and the wait cursor are
// answered here; what belongs to a feature (an element's dialog, a click for the calculator, the
// animation list's entry) is passed on by a signal that the feature's controller connects.
#pragma once

#include "view/toolrequests.h"

#include <QObject>
#include <QWidget>

#include <functional>

namespace qorv {

class DialogContext;
class EditorSession;

class WindowRequests : public QObject, public ToolRequests {
    Q_OBJECT
  public:
    // `window`: the parent of the dialogs.
    WindowRequests(EditorSession& session, DialogContext& context, QWidget* window);

    // What the picture dialog starts in (the folder of documents last used).
    void setPictureFolder(std::function<QString()> folder) { pictureFolder_ = std::move(folder); }

    bool chooseFont(FontRecord& font) override;
    bool editText(TextTail& text) override;
    bool choosePicture(std::vector<uint8_t>& picture) override;
    bool askParametricColour(int& mode, Color& from, Color& to) override;
    bool askIterationCount(int32_t& n) override;
    void showMessage(int msgSlot) override;
    void setBusy(bool on) override;
    void openElementDialog(int tool, Element& e) override;
    void dialogElementClicked(int tool, Element& e) override;
    void animationEntryClicked(Element* e) override;

  signals:
    // The dialog of `e`, as `tool` opens it (a double click with the move tool).
    void elementDialogAsked(int tool, Element* e);
    // A click of a dialog-feeding tool on `e`.
    void elementClickedForDialog(int tool, Element* e);
    void animationEntryChosen(Element* e);

  private:
    EditorSession& session_;
    DialogContext& context_;
    QWidget* window_;
    std::function<QString()> pictureFolder_;
};

} // namespace qorv
