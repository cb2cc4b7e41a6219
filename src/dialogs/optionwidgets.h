// Small controls shared by the option dialogs: a colour swatch that opens the colour dialog, and
// the up-down arrows beside a number field.
#pragma once

#include "model/element.h"

#include <QPushButton>
#include <QWidget>

#include <functional>

class QDialog;
class QHBoxLayout;
class QLineEdit;

namespace qorv {

// A button that shows a colour; a click asks `choose` for another one.
class ColourSwatch : public QPushButton {
    Q_OBJECT
  public:
    ColourSwatch(std::function<bool(Color&)> choose, QWidget* parent = nullptr);
    Color colour() const { return colour_; }
    void setColour(Color c);

  signals:
    void colourChanged(Color c);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<bool(Color&)> choose_;
    Color colour_ = 0;
};

// An integer field with up and down arrows that step it by `step` between lo and hi. Typing is
// free: the dialog checks the value on OK.
class UpDownField : public QWidget {
    Q_OBJECT
  public:
    UpDownField(QLineEdit* edit, int lo, int hi, int step = 1, QWidget* parent = nullptr);
    QLineEdit* edit() const { return edit_; }
    void stepBy(int steps);

  private:
    QLineEdit* edit_;
    int lo_, hi_, step_;
};

QColor qcolorOf(Color c);

// The dialog's "Aceptar" (the default button) and "Cancelar" (which rejects) in a row on the right.
QHBoxLayout* okCancelRow(QDialog& dialog, QPushButton*& ok, QPushButton*& cancel);

} // namespace qorv
