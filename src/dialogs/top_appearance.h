// "Aspecto de los elementos": the colours and styles new elements of each group take, the
// document's background, hidden and selected colours, the colours of its four fonts and the
// anti-aliased drawing. It works on a copy; "Esquemas:" loads a colour scheme into the copy and
// OK writes the copy into the current document.
#pragma once

#include "dialogs/dialogcontext.h"

#include <QDialog>

#include <array>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace qorv {

class ColourSwatch;

struct AppearanceCopy {
    Color background = 0;
    Color hidden = 0;
    Color selected = 0;
    std::array<Color, Kind::Count> colours{};
    std::array<int32_t, Kind::Count> shapes{};
    std::array<Color, 4> fontColours{}; // the document's fonts, in memory order
    int32_t antialiased = 0;
    bool modified = false; // the user changed something
};

// The eleven groups of the dialog and the kinds each one sets (the first kind shows the group's
// values).
struct AppearanceGroup {
    int nameSlot;
    std::vector<int> kinds;
};
const std::array<AppearanceGroup, 11>& appearanceGroups();

constexpr int AppearanceSchemes = 10;
// Scheme 0 is the current document, 1 the saved defaults, 2, 4, 6, 8 dark backgrounds with the
// default colours, 3, 5, 7, 9 light backgrounds with darker colours and black fonts. Schemes 2 to
// 9 change colours only: the styles stay those of `base`.
AppearanceCopy appearanceScheme(int scheme, const AppearanceCopy& base, const Document& doc,
                                const ProgramOptions& options);
AppearanceCopy appearanceOf(const DocumentDefaults& d);

class TOp_aspecto : public QDialog {
    Q_OBJECT
  public:
    explicit TOp_aspecto(DialogContext& context, QWidget* parent = nullptr);

    const AppearanceCopy& copy() const { return copy_; }
    // OK: the copy goes into the current document.
    void B_OKClick();

    QComboBox* ComboBox2 = nullptr; // "Esquemas:"
    std::array<ColourSwatch*, 11> groupColour{};
    std::array<QComboBox*, 11> groupShape{};
    ColourSwatch* Lab_colfon = nullptr;
    ColourSwatch* Lab_col_oc = nullptr;
    ColourSwatch* Lab_col_sel = nullptr;
    std::array<ColourSwatch*, 4> fontColour{};
    QCheckBox* CkB_AA_nd = nullptr;
    QPushButton* B_OK = nullptr;
    QPushButton* B_Cancel = nullptr;

  signals:
    // The options or the current document's options changed: the drawing, the tools, the status
    // bar (and the tool bars when `toolBarsChanged`) follow.
    void optionsChanged(bool toolBarsChanged);

  private:
    void showCopy();
    void schemeChosen(int scheme);
    void refreshShapeIcons(int group);

    DialogContext& context_;
    AppearanceCopy copy_;
    bool showing_ = false; // controls being filled from the copy
};

} // namespace qorv
