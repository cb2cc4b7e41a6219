// The element properties dialog: colour, style, visibility, name, decimals and the settings of
// each kind, every change shown at once; Cancel takes all of them back.
#pragma once

#include "dialogs/dialogcontext.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QBoxLayout;
class QCheckBox;
class QGridLayout;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;

namespace qorv {

// What follows the close of the properties dialog: the dialog only reverts and closes, the
// element dialogs' controller then starts the redefinition asked for.
struct ElementDialogClose {
    bool revert = false;          // everything was taken back
    bool calculator = false;      // redefine a calculation or function in the calculator
    bool parameterDialog = false; // redefine a parameter in its dialog
    bool parents = false;         // redefine the parents (of a point: the redefine tool)
    bool buttonList = false;      // redefine the element list of a hide/show button
};

class TEdit_elem : public QDialog {
    Q_OBJECT
  public:
    // Records an undo step and the state to restore on Cancel.
    TEdit_elem(DialogContext& context, Element& e, QWidget* parent = nullptr);

    // The element being edited (found again by id after Cancel; null once deleted).
    Element* element() const { return e_; }
    // BAceptar: the typed fields applied.
    void applyAndClose();
    // BCancelar: everything taken back.
    void cancelAndClose();
    void reject() override { cancelAndClose(); }
    const ElementDialogClose& closing() const { return closing_; }
    // Closed by Bcolorpar: the parametric-colour tool is to start on the element.
    bool parametricColourAsked() const { return parametricColourAsked_; }

  private:
    // The appearance kept at opening.
    struct Look {
        Color color = 0;
        Element* colorParam = nullptr;
        int32_t colorParamMode = 0;
        Color colorParamFrom = 0, colorParamTo = 0;
        int32_t shape = 0, visible = 0, decimals = 0, option = 0, option2 = 0, unitShown = 0;
        int32_t lastOnly = 0, drawPoints = 0, ownColour = 0;
        double scaleX = 0, scaleY = 0, angleMarker = 0;
        std::string name;
        int32_t nameVisible = -1;
        bool operator==(const Look&) const = default;
    };
    Look lookOf(const Element& e) const;
    void restore(Element& e, const Look& l);
    QPushButton* button(const QString& objectName, const QString& caption,
                        const std::function<void(Element&)>& change);
    void changed();
    void markIfChanged();
    // The controls of one kind of element (numbers, angles, buttons, the numeric settings).
    void addKindButtons(QBoxLayout* row);
    void addNumberFields(QGridLayout* form, int& r);
    // Bmodcpf, Bmodpr, Bmodbvnv: everything taken back, then `flag` for the main window.
    void closeToRedefine(bool ElementDialogClose::*flag);
    // The typed numeric settings, all valid, or nothing after the message.
    std::optional<std::vector<double>> typedNumbers();

    DialogContext& context_;
    Element* e_;
    int32_t id_ = 0;
    int32_t modifiedAtOpening_ = 0;
    Look kept_;
    QLineEdit* ed_nom = nullptr;
    QComboBox* CB_ndec = nullptr;
    QLineEdit* Ed_npLG = nullptr;
    QPushButton* Bitcu = nullptr;
    QMenu* unitMenu_ = nullptr;
    // Ed_exta, Ed_extb, Ed_parinct, Ed_kpe: each field with the number it sets.
    std::vector<std::pair<QLineEdit*, double& (*)(Element&)>> numberFields_;
    bool fontChanged_ = false;
    ElementDialogClose closing_;
    bool parametricColourAsked_ = false;
};

// The number of sample points of a locus or function graph from the typed count `n`.
int32_t locusPointCount(const Element& e, int32_t n);

} // namespace qorv
