// The tool bars of the main window: "Botones Principales" (the construction, measuring and
// transforming tools in two rows) and "Botones de edición" (the editing tools, the colour and
// style palettes and the view toggles). One button per tool; a palette button stands for the
// tools of its panel, which opens when the button is held down for 200 ms.
#pragma once

#include "model/element.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <vector>

class QAction;
class QFrame;
class QMainWindow;
class QTimer;
class QToolBar;
class QToolButton;

namespace qorv {

class ToolBars : public QObject {
    Q_OBJECT
  public:
    // Adds both bars to `window`. The view toggles' buttons show `showHidden` ("Ver lo oculto")
    // and `antialias` ("AA"); the colour button shows `colour`.
    ToolBars(QMainWindow& window, QAction* showHidden, QAction* antialias, Color colour);

    QToolBar* mainBar() const { return B_principales; }
    QToolBar* editBar() const { return B_edicion; }
    // The button of a tool (a palette button for the tools of its panel).
    QToolButton* toolButton(int tool) const;
    QToolButton* buttonNamed(const QString& name) const;
    QFrame* palettePanel(const QString& name) const;

    // The chosen tool's button shows pressed; a palette button takes that tool's icon.
    void showTool(int tool);
    // The bars' titles and the buttons' hints from the UI text table again.
    void applyTexts();
    // The colour button shows the colour the colour tools apply.
    void showColour(Color colour);
    // B_colorpar down or up: with it down B_color and B_color_relleno choose the parametric
    // colour tools.
    void setParametric(bool down);
    bool parametric() const { return paramDown_; }
    // The tool-button size: 0 small, 1 normal, 2 large (icons of 16, 20 or 26 pixels).
    void setButtonSize(int size);
    int iconSide() const { return iconSide_; }

  signals:
    // A button (or a panel's button) chooses its tool.
    void toolRequested(int tool);
    // A colour of the colour palette (or of the colour dialog) was chosen.
    void colourChosen(Color colour);

  private:
    void build(QAction* showHidden, QAction* antialias);
    void paletteTimerFired();

    QMainWindow& window_;
    QToolBar* B_principales = nullptr;
    QToolBar* B_edicion = nullptr;
    std::vector<QToolButton*> toolButtons_; // by tool number
    QList<QToolButton*> allButtons_;
    QHash<QString, QFrame*> panels_;
    QTimer* paletteTimer_ = nullptr; // 200 ms: a held palette button opens its panel
    QToolButton* pendingPalette_ = nullptr;
    Color colour_ = 0;
    bool paramDown_ = false; // B_colorpar: the colour buttons give the parametric colours
    int iconSide_ = 20;
};

} // namespace qorv
