// The represent-points dialog: points given by their coordinates on axes, typed as expressions,
// rectangular or polar; or the coordinates of an existing represented point changed.
#pragma once

#include "model/document.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace qorv {

// What the dialog asks of the main window.
class PointDialogHost {
  public:
    virtual ~PointDialogHost() = default;
    virtual Document& pointDocument() = 0;
    virtual const CreationOptions& pointCreationOptions() = 0;
    virtual void pointRecordUndo() = 0;
    virtual void pointDocumentChanged() = 0;
    virtual void pointWarn(const QString& message) = 0;
};

class TV_puncoord : public QDialog {
    Q_OBJECT
  public:
    // Points on `axes` (null: the reference axes, made when there are none), or with `edited`,
    // the coordinates of that represented point.
    TV_puncoord(PointDialogHost& host, Element* axes, Element* edited, QWidget* parent = nullptr);

    // B_rep: both fields evaluated; a point made (or the edited one changed). False, after the
    // message, when a field is invalid.
    bool represent();
    QLineEdit* xField() const { return Ed_cx; }
    QLineEdit* yField() const { return Ed_cy; }
    QRadioButton* polarButton() const { return RB_pol; }
    // The points made so far.
    const std::vector<Element*>& made() const { return made_; }

  private:
    PointDialogHost& host_;
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
