// Traces, animation, the step-by-step replay and viewer mode, as the main window offers them:
// their menu items, the animation dialog and its pacing, the replay dialog and the viewer panel.
// The drawing side (trace bitmap, blinking, the animation step) is the canvas's.
#pragma once

#include "dialogs/tpap.h"
#include "dialogs/tv_animac.h"
#include "model/docfile.h"

#include <QObject>

#include <functional>

class QAction;
class QActionGroup;
class QFrame;
class QToolButton;

namespace qorv {

class TForm1;

class AnimationFeatures : public QObject, public AnimationHost, public ReplayHost {
    Q_OBJECT
  public:
    explicit AnimationFeatures(TForm1& window);
    ~AnimationFeatures() override;

    // ---- what the window tells
    // A tool was chosen: the animation tool drops what can no longer move and shows the dialog,
    // every other tool hides it (which stops the animation).
    void toolChosen(int tool);
    // Another document is shown: the animation and the replay stop.
    void documentShown();
    // Elements of the document may have been freed: the animation list is shown again, and the
    // replay, whose steps may be gone, ends as its "Cancelar" does.
    void elementsMayBeGone();

    // ---- commands
    // "Desactivar trazas".
    void switchTracesOff();
    // "Paso a Paso...".
    void openReplay();
    // "Modo visor" on or off.
    void setViewerMode(bool on);
    bool viewerMode() const { return viewer_; }
    // How a document is saved: with the window record while in viewer mode.
    SaveOptions saveOptions() const;

    TV_animac& animationDialog() { return *TV_animac_; }
    TPaP& replayDialog() { return *TPaP_; }
    QFrame* viewerPanel() const { return panel_; }
    // Answers the replay's question instead of a box (tests): QMessageBox::Yes, No or Cancel.
    void setKeepAnswer(std::function<int()> answer) { keepAnswer_ = std::move(answer); }

    QAction* M_traza_desactivar = nullptr;
    QAction* M_PasoaPaso = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // AnimationHost.
    Document& animationDocument() override;
    void recordUndoStep() override;
    void animationStep() override;
    void animationDialogVisible(bool visible) override;
    void animationDialogClosed() override;
    // ReplayHost.
    Document& replayDocument() override;
    bool replayShowsHidden() override;
    bool replayStartsAtFirst() override;
    void showReplayStep(Element* step, bool whole) override;
    int askKeepConstruction() override;
    void replayClosed() override;

    void createActions();
    void createViewerPanel();
    void placeViewerPanel();

    TForm1& w_;
    TV_animac* TV_animac_ = nullptr;
    TPaP* TPaP_ = nullptr;
    QFrame* panel_ = nullptr;
    bool viewer_ = false;
    bool dying_ = false;
    // The four bars as they were before viewer mode.
    bool barsShown_[4] = {true, true, true, true};
    std::function<int()> keepAnswer_;
};

} // namespace qorv
