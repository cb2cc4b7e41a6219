// The represent-points dialog: points given by their coordinates on axes, typed as expressions,
// rectangular or polar; or the coordinates of an existing represented point changed.
#pragma once

#include "dialogs/dialogcontext.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace qorv {

class TV_puncoord : public QDialog {
    Q_OBJECT
  public:
    // Points on `axes` (null: the reference axes, made when there are none), or with `edited`,
    // the coordinates of that represented point.
    TV_puncoord(DialogContext& context, Element* axes, Element* edited, QWidget* parent = nullptr);

    // B_rep: both fields evaluated; a point made (or the edited one changed). False, after the
    // message, when a field is invalid.
    bool represent();
    QLineEdit* xField() const { return Ed_cx; }
    QLineEdit* yField() const { return Ed_cy; }
    QRadioButton* polarButton() const { return RB_pol; }
    // The points made so far.
    const std::vector<Element*>& made() const { return made_; }

  private:
    DialogContext& context_;
    Element* axes_;
    Element* edited_;
    bool undoRecorded_ = false;
    std::vector<Element*> made_;
    QLineEdit* Ed_cx = nullptr;
    QLineEdit* Ed_cy = nullptr;
    QRadioButton* RB_rec = nullptr;
    QRadioButton* RB_pol = nullptr;
};

} // namespace qorv
