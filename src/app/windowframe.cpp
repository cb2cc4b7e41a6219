#include "app/windowframe.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>

namespace qorv {

namespace {

// 0 normal, 1 minimised, 2 maximised.
int32_t stateNumber(Qt::WindowStates s) {
    if (s & Qt::WindowMinimized) return 1;
    if (s & Qt::WindowMaximized) return 2;
    return 0;
}

} // namespace

WindowFrame::WindowFrame(QMainWindow& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
}

QRect WindowFrame::workArea() const {
    const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}

bool WindowFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::WindowStateChange) updateSizeGrip();
    return QObject::eventFilter(watched, event);
}

void WindowFrame::updateSizeGrip() {
    window_.statusBar()->setSizeGripEnabled(!fullScreen_ &&
                                            !(window_.windowState() & Qt::WindowMaximized));
}

void WindowFrame::setFullScreen(bool on) {
    if (on == fullScreen_) return;
    const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = s ? s->geometry() : window_.geometry();
    if (on) {
        // The normal rectangle (also of a maximised window): leaving full screen and the
        // placement written meanwhile give it back.
        savedGeometry_ = normalRect();
        savedState_ = window_.windowState() & ~(Qt::WindowFullScreen | Qt::WindowMinimized);
        fullScreen_ = true;
        window_.setWindowFlag(Qt::FramelessWindowHint, true);
        // The menu bar is pushed above the top edge of the screen.
        const int menuHeight = window_.menuBar()->sizeHint().height();
        window_.setWindowState(Qt::WindowNoState);
        window_.setGeometry(screenArea.left(), screenArea.top() + 2 - menuHeight,
                            screenArea.width(), menuHeight + screenArea.height() - 2);
        window_.show();
    } else {
        fullScreen_ = false;
        window_.setWindowFlag(Qt::FramelessWindowHint, false);
        window_.setWindowState(Qt::WindowNoState);
        // Set whatever the state: without a window manager maximising moves nothing, and the
        // window would stay with its menu bar above the screen.
        window_.setGeometry(registry::keepOnWorkArea(savedGeometry_, s ? workArea() : screenArea));
        if (savedState_ & Qt::WindowMaximized) {
            window_.showMaximized();
            // Qt may take the maximised rectangle for the normal one after the window was
            // made again without its frame; the one from before stays known.
            maximisedNormal_ = savedGeometry_;
        } else {
            maximisedNormal_ = QRect();
            window_.show();
        }
    }
    updateSizeGrip();
}

QRect WindowFrame::normalRect() const {
    if (fullScreen_) return savedGeometry_;
    // Kept only while the window stays maximised; restored, Qt knows it again.
    if (maximisedNormal_.isValid() && (window_.windowState() & Qt::WindowMaximized))
        return maximisedNormal_;
    return window_.normalGeometry().isValid() ? window_.normalGeometry() : window_.geometry();
}

Qt::WindowStates WindowFrame::normalState() const {
    return fullScreen_ ? savedState_ : window_.windowState();
}

void WindowFrame::restorePlacement(int32_t optionState, bool optionFullScreen) {
    auto store = registry::open();
    placement_ = registry::readWindowPlacement(*store, workArea().topLeft());
    // A placement from another screen, or written while the window was off it, must not leave
    // the menu bar where nobody can reach it.
    if (placement_.hasRect) placement_.rect = registry::keepOnWorkArea(placement_.rect, workArea());
    if (!placement_.hasState) placement_.state = optionState;
    if (!placement_.hasFullScreen) placement_.fullScreen = optionFullScreen;
    if (placement_.hasRect) window_.setGeometry(placement_.rect);
}

void WindowFrame::showPlaced() {
    if (!placement_.hasRect)
        if (const QScreen* s =
                window_.screen() ? window_.screen() : QGuiApplication::primaryScreen())
            window_.setGeometry(s->availableGeometry());
    if (placement_.state == 2)
        window_.showMaximized();
    else
        window_.showNormal();
    if (placement_.fullScreen) setFullScreen(true);
}

void WindowFrame::placeCentred(QSize size) {
    const QScreen* s = window_.screen() ? window_.screen() : QGuiApplication::primaryScreen();
    const QSize screen = s ? s->size() : QSize(1024, 768);
    QRect r(0, 0, std::clamp(size.width(), 200, screen.width()),
            std::clamp(size.height(), 150, screen.height()));
    r.moveCenter(QRect(QPoint(), screen).center());
    placement_.hasRect = true;
    placement_.rect = r;
    placement_.state = 0;
    placement_.fullScreen = false;
    setFullScreen(false);
    window_.setGeometry(r);
}

void WindowFrame::savePlacement(const std::function<void(const QString&)>& warn) {
    const QRect normal = normalRect();
    auto store = registry::open();
    registry::writeWindowPlacement(*store, normal.isValid() ? normal : window_.geometry(),
                                   stateNumber(normalState()), fullScreen_, workArea().topLeft());
    registry::sync(*store, warn);
}

} // namespace qorv
