// The step-by-step replay: the construction shown as it grows, one step at a time, by hand or on
// a timer, and cut back to the step shown when the user keeps it.
#pragma once

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace qorv {

class Document;
struct Element;

// What the replay needs from the main window.
class ReplayHost {
  public:
    virtual ~ReplayHost() = default;
    virtual Document& replayDocument() = 0;
    virtual bool replayShowsHidden() = 0;
    // The option "start at the first step" (otherwise the replay starts at the last).
    virtual bool replayStartsAtFirst() = 0;
    // Draws the list up to and including `step` (the whole list when `whole`); `step` blinks.
    virtual void showReplayStep(Element* step, bool whole) = 0;
    virtual void recordUndoStep() = 0;
    // "¿ Mantener la construcción en este paso ?": QMessageBox::Yes, No or Cancel.
    virtual int askKeepConstruction() = 0;
    // The replay ended: the whole construction again, with the current tool's cursor.
    virtual void replayClosed() = 0;
};

class TPaP : public QDialog {
    Q_OBJECT
  public:
    explicit TPaP(ReplayHost& host, QWidget* parent = nullptr);

    // The steps again from the document, and the first or last shown (as on opening).
    void start();
    int stepCount() const { return int(steps_.size()); }
    // 1..N; 0 when there is no step.
    int currentStep() const { return current_ + 1; }
    void goTo(int step); // 1..N
    QTimer* timer() const { return Timer1; }

    QLabel* Label1 = nullptr;
    QToolButton* B_Primero = nullptr;
    QToolButton* B_Unoatras = nullptr;
    QToolButton* B_Unoadel = nullptr;
    QToolButton* B_Ultimo = nullptr;
    QSlider* TB = nullptr;
    QToolButton* B_anima = nullptr;
    QComboBox* CB_vanim = nullptr;
    QPushButton* Aceptar = nullptr;
    QPushButton* Cancelar = nullptr;
    QTimer* Timer1 = nullptr;

  protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showStep();
    void accept() override;
    QString describeStep(const Element& e) const;

    ReplayHost& host_;
    std::vector<Element*> steps_;
    int current_ = -1;
    bool closing_ = false;
};

} // namespace qorv
