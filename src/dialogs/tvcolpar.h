// "Color paramétrico": how a number's value turns into the colour of an element.
#pragma once

#include "geometry/paramcolor.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QRadioButton;
class QScrollBar;

namespace qorv {

// The colours of `mode` for the values 0 (left) to 1 (right), as wide as `size`.
QImage modeImage(int mode, Color from, Color to, QSize size);

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
    // The preset images beside the five choices (a click chooses) and the preview of the mode
    // chosen, each painted with the drawing's own colours from 0 (left) to 1 (right).
    QWidget* preset(int i) const { return presets_[i]; }
    QWidget* preview() const { return preview_; }

  private:
    void showColours();
    // The mode of choice i (the bars' positions for the last two).
    int modeOf(int i) const;

    QRadioButton* choices_[5] = {};
    QWidget* presets_[5] = {};
    QWidget* preview_ = nullptr;
    QScrollBar* SB1 = nullptr;
    QScrollBar* SB2 = nullptr;
    QLabel* Lab_c1 = nullptr;
    QLabel* Lab_c2 = nullptr;
    Color from_ = 0xff0000;
    Color to_ = 255;
};

} // namespace qorv
