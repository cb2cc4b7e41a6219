// Traces, animation, the step-by-step replay and viewer mode: the animation dialog and its
// pacing, the replay dialog, "Desactivar trazas", and the viewer's panel with the bars it hides.
// The drawing side (trace bitmap, blinking, the animation step) is the canvas's; whether viewer
// mode is on is the session's.
#pragma once

#include "app/controllers/featurecontext.h"
#include "model/docfile.h"

#include <QList>
#include <QObject>

#include <functional>

class QFrame;

namespace qorv {

class Commands;
class TPaP;
class TV_animac;
struct Element;

class AnimationController : public QObject {
    Q_OBJECT
  public:
    explicit AnimationController(const FeatureContext& context);
    ~AnimationController() override;

    // "Desactivar trazas".
    void switchTracesOff();
    // "Paso a Paso...".
    void openReplay();
    // How a document is saved: with the window record while in viewer mode.
    SaveOptions saveOptions() const;
    // The bars viewer mode hides (and shows again as they were).
    void setViewerHides(const QList<QWidget*>& bars) { viewerHides_ = bars; }

    TV_animac& animationDialog() { return *TV_animac_; }
    TPaP& replayDialog() { return *TPaP_; }
    QFrame* viewerPanel() const { return panel_; }
    // Answers the replay's question instead of a box (tests): QMessageBox::Yes, No or Cancel.
    void setKeepAnswer(std::function<int()> answer);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The animation tool drops what can no longer move and shows the dialog, every other tool
    // hides it (which stops the animation).
    void toolChanged(int tool);
    // Another document is shown: the animation and the replay stop.
    void documentShown();
    // Elements of the document may have been freed: the animation list is shown again, and the
    // replay, whose steps may be gone, ends as its "Cancelar" does.
    void elementsMayBeGone();
    void viewerModeChanged(bool on);
    void replayEnded();
    void createViewerPanel(Commands& commands);
    void placeViewerPanel();

    FeatureContext ctx_;
    TV_animac* TV_animac_ = nullptr;
    TPaP* TPaP_ = nullptr;
    QFrame* panel_ = nullptr;
    QList<QWidget*> viewerHides_;
    QList<bool> shownBeforeViewer_; // the bars as they were before viewer mode
};

} // namespace qorv
