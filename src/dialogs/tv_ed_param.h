// "Modificar parámetro": the value and range of a parameter, typed as expressions or set with a
// track bar; the drawing follows at once, and only OK keeps the change (as one undo step).
#pragma once

#include "dialogs/tv_puncoord.h"

#include <QDialog>

class QLineEdit;
class QSlider;

namespace qorv {

class TV_ed_param : public QDialog {
    Q_OBJECT
  public:
    static constexpr int TrackRange = 1000;

    TV_ed_param(NumberDialogHost& host, Element& parameter, QWidget* parent = nullptr);

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

    NumberDialogHost& host_;
    Element* e_;
    int32_t id_ = 0;
    double value_ = 0, lo_ = 0, hi_ = 0; // at opening
    QLineEdit* Ed_p = nullptr;
    QLineEdit* Ed_a = nullptr;
    QLineEdit* Ed_b = nullptr;
    QSlider* TB = nullptr;
};

} // namespace qorv
