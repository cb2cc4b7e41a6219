// The represent-points dialog: points given by their coordinates on axes, typed as expressions,
// rectangular or polar; or the coordinates of an existing represented point changed.
#pragma once

#include "model/document.h"

#include <QDialog>

class QLineEdit;
class QRadioButton;

namespace qorv {

// What the numeric dialogs (this one and the calculator) ask of the main window.
class NumberDialogHost {
  public:
    virtual ~NumberDialogHost() = default;
    virtual Document& dialogDocument() = 0;
    virtual const CreationOptions& dialogCreationOptions() = 0;
    // One undo step, before the document changes.
    virtual void dialogRecordUndo() = 0;
    // The document changed: recalculate and redraw.
    virtual void dialogDocumentChanged() = 0;
    virtual void dialogWarn(const QString& message) = 0;
};

class TV_puncoord : public QDialog {
    Q_OBJECT
  public:
    // Points on `axes` (null: the reference axes, made when there are none), or with `edited`,
    // the coordinates of that represented point.
    TV_puncoord(NumberDialogHost& host, Element* axes, Element* edited, QWidget* parent = nullptr);

    // B_rep: both fields evaluated; a point made (or the edited one changed). False, after the
    // message, when a field is invalid.
    bool represent();
    QLineEdit* xField() const { return Ed_cx; }
    QLineEdit* yField() const { return Ed_cy; }
    QRadioButton* polarButton() const { return RB_pol; }
    // The points made so far.
    const std::vector<Element*>& made() const { return made_; }

  private:
    NumberDialogHost& host_;
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
