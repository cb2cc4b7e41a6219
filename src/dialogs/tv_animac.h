// The animation dialog: the animated elements, each with its playing flag, direction and speed,
// and the pacing of the animation. The pacer (ThreadAnim) hands one step every 30 ms to the
// window's own thread, which moves, recalculates and draws; menus and keys stay live between
// steps, and suspending the pacer stops the animation at once.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QComboBox;
class QLineEdit;
class QSlider;
class QSpinBox;
class QTimer;
class QToolButton;
class QPushButton;

namespace qorv {

class DialogContext;
struct Element;

// Paces the animation: while resumed, one step at least every `interval` milliseconds, run on
// the thread that owns it.
class ThreadAnim : public QObject {
    Q_OBJECT
  public:
    static constexpr int IntervalMs = 30;
    explicit ThreadAnim(std::function<void()> step, QObject* parent = nullptr);
    void resume();
    void suspend();
    bool suspended() const;
    int stepsRun() const { return steps_; }

  private:
    void tick();
    std::function<void()> step_;
    QTimer* timer_;
    QElapsedTimer since_;
    int steps_ = 0;
};

class TV_animac : public QDialog {
    Q_OBJECT
  public:
    explicit TV_animac(DialogContext& context, QWidget* parent = nullptr);

    // The animation tool clicked `e`: it becomes the current entry (when still in the list) and
    // the list is shown again.
    void entryClicked(Element* e);
    // The list again from the document (after the document changed or entries were dropped).
    void rebuildList();
    ThreadAnim& pacer() { return *pacer_; }
    Element* currentElement() const { return current_; }

    QComboBox* CB = nullptr;
    QToolButton* B_play = nullptr;
    QToolButton* B_sentido = nullptr;
    QToolButton* B_pausa = nullptr;
    QToolButton* B_stop = nullptr;
    QSlider* TB = nullptr;
    QLineEdit* Ed_vel = nullptr;
    QSpinBox* UpDown_vel = nullptr;
    QPushButton* B_cancel = nullptr;

  signals:
    // One animation step is due on the current document, with its recalculation and drawing.
    void stepDue();
    // The dialog was shown or hidden (traces are left while it is shown).
    void visibilityChanged(bool visible);
    // Closed by its button or Escape: the move tool is chosen.
    void closedByUser();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void entryChosen(int index);
    void showEntry();
    void setSpeed(int speed);
    void runIfWanted();
    void placeAtBottom();
    void finish();

    DialogContext& context_;
    ThreadAnim* pacer_ = nullptr;
    Element* current_ = nullptr;
    bool updating_ = false;
    bool finishing_ = false;
};

} // namespace qorv
