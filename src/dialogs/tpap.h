// The step-by-step replay: the construction shown as it grows, one step at a time, by hand or on
// a timer, and cut back to the step shown when the user keeps it.
#pragma once

#include <QDialog>

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace qorv {

class DialogContext;
struct Element;

class TPaP : public QDialog {
    Q_OBJECT
  public:
    explicit TPaP(DialogContext& context, QWidget* parent = nullptr);
    // Answers "¿ Mantener la construcción en este paso ?" instead of the context's question
    // (tests): QMessageBox::Yes, No or Cancel.
    void setKeepAnswer(std::function<int()> answer) { keepAnswer_ = std::move(answer); }

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

  signals:
    // The list up to and including `step` is to be drawn (the whole list when `whole`), `step`
    // blinking.
    void stepShown(Element* step, bool whole);
    // The replay ended: the whole construction again, with the current tool's cursor.
    void replayEnded();

  protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showStep();
    void accept() override;
    QString describeStep(const Element& e) const;

    int askKeepConstruction();

    DialogContext& context_;
    std::function<int()> keepAnswer_;
    std::vector<Element*> steps_;
    int current_ = -1;
    bool closing_ = false;
};

} // namespace qorv
