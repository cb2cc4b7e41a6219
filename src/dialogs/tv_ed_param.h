// "Modificar parámetro": the value and range of a parameter, typed as expressions or set with a
// track bar; the drawing follows at once, and only OK keeps the change (as one undo step).
#pragma once

#include "dialogs/dialogcontext.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QSlider;

namespace qorv {

class TV_ed_param : public QDialog {
    Q_OBJECT
  public:
    static constexpr int TrackRange = 1000;

    TV_ed_param(DialogContext& context, Element& parameter, QWidget* parent = nullptr);

    // Bot_ok: the fields evaluated and kept. False, after the message, when one is invalid.
    bool confirm();
    void reject() override;
    QLineEdit* valueField() const { return Ed_p; }
    QLineEdit* minimumField() const { return Ed_a; }
    QLineEdit* maximumField() const { return Ed_b; }
    QSlider* trackBar() const { return TB; }

  private:
    void put(Element& e, double value, double lo, double hi);
    void trackMoved(int position);
    // Shows `v` rounded in field i, remembering the exact number behind the text.
    void showNumber(int i, double v);

    static constexpr int FieldCount = 3; // value, minimum, maximum

    DialogContext& context_;
    Element* e_;
    int32_t id_ = 0;
    double value_ = 0, lo_ = 0, hi_ = 0; // at opening
    // Each field's text as last shown and the number it stands for: a field still holding it
    // keeps that number, so an OK with nothing typed changes nothing.
    QString shown_[FieldCount];
    double exact_[FieldCount] = {};
    QLineEdit* Ed_p = nullptr;
    QLineEdit* Ed_a = nullptr;
    QLineEdit* Ed_b = nullptr;
    QSlider* TB = nullptr;
};

} // namespace qorv
