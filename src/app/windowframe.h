// How the main window sits on the screen: full screen (no frame, the menu bar pushed above the
// top edge), its normal rectangle also while it is maximised, the size grip, and the placement
// kept in the settings store.
#pragma once

#include "settings/registry.h"

#include <QObject>
#include <QRect>

#include <functional>

class QMainWindow;

namespace qorv {

class WindowFrame : public QObject {
    Q_OBJECT
  public:
    explicit WindowFrame(QMainWindow& window);

    bool fullScreen() const { return fullScreen_; }
    void setFullScreen(bool on);
    // The rectangle and state the window goes back to (before full screen, or when restored).
    QRect normalRect() const;
    Qt::WindowStates normalState() const;

    // Reads the placement (the options give the state and full screen the store lacks) and
    // puts the window at the stored rectangle.
    void restorePlacement(int32_t optionState, bool optionFullScreen);
    // Shows the window as the placement says: full screen, maximised or at the stored
    // rectangle.
    void showPlaced();
    const registry::WindowPlacement& placement() const { return placement_; }
    // A document saved with its window: that size, centred on the screen, not full screen.
    void placeCentred(QSize size);
    // Writes the placement; a store that cannot be written is told to `warn`.
    void savePlacement(const std::function<void(const QString&)>& warn);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QRect workArea() const;
    void updateSizeGrip();

    QMainWindow& window_;
    registry::WindowPlacement placement_;
    bool fullScreen_ = false;
    QRect savedGeometry_; // the window as it was before full screen
    Qt::WindowStates savedState_;
    // The normal rectangle of a window maximised again on leaving full screen.
    QRect maximisedNormal_;
};

} // namespace qorv
