// "Tipos de Letra": the current document's four fonts and the cursor-message font. A click on
// the preview opens the font dialog for the entry chosen in the list; OK copies the fonts back.
#pragma once

#include "dialogs/dialogcontext.h"

#include <QDialog>

#include <array>

class QLabel;
class QListWidget;
class QPushButton;

namespace qorv {

class TOp_fon : public QDialog {
    Q_OBJECT
  public:
    static constexpr int CursorEntry = 4; // after the document's four fonts

    explicit TOp_fon(DialogContext& context, QWidget* parent = nullptr);

    const std::array<FontRecord, 5>& fonts() const { return fonts_; }
    // A click on the preview: the font dialog for the chosen entry.
    void previewClicked();
    void B_OKClick();

    QListWidget* ListBox1 = nullptr;
    QLabel* Lab_click = nullptr; // "Haga clic para cambiar"
    QLabel* preview = nullptr;
    QPushButton* B_OK = nullptr;
    QPushButton* B_Cancel = nullptr;

  signals:
    // The options or the current document's options changed: the drawing, the tools, the status
    // bar (and the tool bars when `toolBarsChanged`) follow.
    void optionsChanged(bool toolBarsChanged);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showPreview();

    DialogContext& context_;
    std::array<FontRecord, 5> fonts_;
};

} // namespace qorv
