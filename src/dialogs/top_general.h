// "Opciones generales": the program's general options and the current document's units, scale
// and colours, on three pages. OK checks the fields in a fixed order and stops at the first
// that is refused, showing its page and focusing it; "Asignar longitud" applies the dialog
// and starts the length tool in its length-assignment mode.
#pragma once

#include "dialogs/dialogcontext.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace qorv {

class ColourSwatch;

class TOp_general : public QDialog {
    Q_OBJECT
  public:
    enum Page { GeneralPage = 0, DocumentPage = 1, OtherPage = 2 };

    explicit TOp_general(DialogContext& context, QWidget* parent = nullptr);

    // OK: checks every field in order; on success applies them and closes. Returns whether the
    // dialog was applied.
    bool B_OKClick();
    // "Asignar longitud".
    bool But_asiglonClick();

    // The controls, by their names.
    QTabWidget* PageControl1 = nullptr;
    QLineEdit* Edit1 = nullptr;        // pick distance
    QLineEdit* Edit2 = nullptr;        // plane size
    QLineEdit* Ed_npLG = nullptr;      // points of a new locus
    QLineEdit* Ed_elong_nom = nullptr; // name-to-element distance
    QLineEdit* Ed_numdec = nullptr;    // decimals
    QLineEdit* Ed_pincparam = nullptr; // parameter step
    QComboBox* CB_niit = nullptr;      // iterations
    QComboBox* CB_eexpdib = nullptr;   // export scale
    QRadioButton* RB_bp = nullptr;     // button sizes
    QRadioButton* RB_bn = nullptr;
    QRadioButton* RB_bg = nullptr;
    QComboBox* CB_unilong = nullptr;
    QComboBox* unidad_angulo = nullptr;
    QLineEdit* Ed_pixl = nullptr;
    QCheckBox* Chk_pixuni_zoomod = nullptr;
    QComboBox* sistcoord = nullptr;
    ColourSwatch* Lab_colfon = nullptr;
    ColourSwatch* Lab_col_oc = nullptr;
    ColourSwatch* Lab_col_sel = nullptr;
    QLineEdit* Ed_asiglon = nullptr;
    QPushButton* But_asiglon = nullptr;
    QCheckBox* O_efin_mac = nullptr;
    QCheckBox* Chk_ntdirhor = nullptr;
    QCheckBox* chb_inipp = nullptr;
    QCheckBox* Adap_col_det = nullptr;
    QCheckBox* Marc_cenrot = nullptr;
    QPushButton* B_OK = nullptr;
    QPushButton* B_Cancel = nullptr;

  signals:
    // The options or the current document's options changed: the drawing, the tools, the status
    // bar (and the tool bars when `toolBarsChanged`) follow.
    void optionsChanged(bool toolBarsChanged);
    // The length tool in its length-assignment mode is asked for.
    void lengthAssignmentAsked(double target);

  private:
    void fillFromOptions();
    // The checks in their order; the first refusal warns and shows its field.
    bool validate();
    void apply();
    bool refuse(QLineEdit* field, int page, int labelSlot, const QString& text);

    DialogContext& context_;
    double pixelsAtOpening_ = 0;
    double planeMin_ = 0;
    // Checked values, kept between validate() and apply().
    int pick_ = 0, plane_ = 0, locus_ = 0, name_ = 0, decimals_ = 0;
    double pixels_ = 0;
};

} // namespace qorv
