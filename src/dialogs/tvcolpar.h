// "Color paramétrico": how a number's value turns into the colour of an element.
#pragma once

#include "model/element.h"

#include <QDialog>

class QLabel;
class QRadioButton;
class QScrollBar;

namespace qorv {

class TVcolpar : public QDialog {
    Q_OBJECT
  public:
    explicit TVcolpar(QWidget* parent = nullptr);

    // The mode chosen: 1, 2, 1000, or the position of SB1 (3..101) or of SB2 (103..201).
    int mode() const;
    Color fromColour() const { return from_; }
    Color toColour() const { return to_; }
    void setColours(Color from, Color to);
    // The radio choices in order: 1, 2, 1000, SB1, SB2.
    QRadioButton* choice(int i) const { return choices_[i]; }
    QScrollBar* bar1() const { return SB1; }
    QScrollBar* bar2() const { return SB2; }

  private:
    void showColours();

    QRadioButton* choices_[5] = {};
    QScrollBar* SB1 = nullptr;
    QScrollBar* SB2 = nullptr;
    QLabel* Lab_c1 = nullptr;
    QLabel* Lab_c2 = nullptr;
    Color from_ = 0xff0000;
    Color to_ = 255;
};

// Gives `e` the parametric colour of `number` with the mode from the dialog: negative for the
// fill colour; for mode 1000 the two end colours too.
void setParamColour(Element& e, Element& number, int mode, bool fill, Color from, Color to);

} // namespace qorv
