// The tool bars of the main window: "Botones Principales" (the construction, measuring and
// transforming tools in two rows) and "Botones de edición" (the editing tools, the colour and
// style palettes and the view toggles). A tool's button places the tool's action (commands.h); a
// palette button stands for the tools of its panel, which opens when the button is held down for
// 200 ms.
#pragma once

#include "model/element.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <vector>

class QFrame;
class QMainWindow;
class QTimer;
class QToolBar;
class QToolButton;

namespace qorv {

class Commands;

class ToolBars : public QObject {
    Q_OBJECT
  public:
    // Adds both bars to `window`, their buttons placing the actions of `commands`; the colour
    // button shows `colour`.
    ToolBars(QMainWindow& window, Commands& commands, Color colour);

    QToolBar* mainBar() const { return B_principales; }
    QToolBar* editBar() const { return B_edicion; }
    // The button of a tool (a palette button for the tools of its panel).
    QToolButton* toolButton(int tool) const;
    QToolButton* buttonNamed(const QString& name) const;
    QFrame* palettePanel(const QString& name) const;

    // The chosen tool's action and button show checked; a palette button takes that tool's icon.
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
    // A colour of the colour palette (or of the colour dialog) was chosen.
    void colourChosen(Color colour);

  private:
    void build();
    void paletteTimerFired();
    // A palette button (or a panel's) chooses its tool as the tool's action does.
    void trigger(int tool);
    // The palette buttons show checked when the tool shown is one of their panel's.
    void showPalettes();

    QMainWindow& window_;
    Commands& commands_;
    int shownTool_ = 0;
    QToolBar* B_principales = nullptr;
    QToolBar* B_edicion = nullptr;
    std::vector<QToolButton*> toolButtons_; // by tool number
    QList<QToolButton*> paletteButtons_;
    QList<QToolButton*> allButtons_;
    QHash<QString, QFrame*> panels_;
    QTimer* paletteTimer_ = nullptr; // 200 ms: a held palette button opens its panel
    QToolButton* pendingPalette_ = nullptr;
    Color colour_ = 0;
    bool paramDown_ = false; // B_colorpar: the colour buttons give the parametric colours
    int iconSide_ = 20;
};

} // namespace qorv
