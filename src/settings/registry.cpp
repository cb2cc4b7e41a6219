#include "settings/registry.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>

namespace qorv::registry {

namespace {
std::atomic<bool> failureReported{false};

constexpr const char* Left = "mwLeft";
constexpr const char* Top = "mwTop";
constexpr const char* Right = "mwRight";
constexpr const char* Bottom = "mwBottom";
constexpr const char* State = "mwState";
constexpr const char* FullScreen = "mwStFS";

// A DWORD value: a whole number, or nothing.
bool readInt(const QSettings& s, const char* name, int& out) {
    const QVariant v = s.value(QLatin1String(name));
    if (!v.isValid()) return false;
    bool ok = false;
    const int x = v.toInt(&ok);
    if (ok) out = x;
    return ok;
}
} // namespace

void nameProgram() {
    QCoreApplication::setOrganizationName(QLatin1String(OrganizationName));
    QCoreApplication::setApplicationName(QLatin1String(ProgramName));
}

std::unique_ptr<QSettings> open() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QLatin1String(OrganizationName), QLatin1String(ProgramName));
}

bool sync(QSettings& s, const std::function<void(const QString& store)>& report) {
    s.sync();
    if (s.status() == QSettings::NoError) return true;
    if (!failureReported.exchange(true) && report) report(s.fileName());
    return false;
}

void forgetReportedFailure() {
    failureReported = false;
}

void writeWindowPlacement(QSettings& s, const QRect& r, int state, bool fullScreen, QPoint origin) {
    s.beginGroup(QLatin1String(SettingsKey));
    s.setValue(QLatin1String(Left), r.left() - origin.x());
    s.setValue(QLatin1String(Top), r.top() - origin.y());
    s.setValue(QLatin1String(Right), r.left() - origin.x() + r.width());
    s.setValue(QLatin1String(Bottom), r.top() - origin.y() + r.height());
    s.setValue(QLatin1String(State), state);
    s.setValue(QLatin1String(FullScreen), fullScreen ? 1 : 0);
    s.endGroup();
}

WindowPlacement readWindowPlacement(QSettings& s, QPoint origin) {
    WindowPlacement p;
    s.beginGroup(QLatin1String(SettingsKey));
    int l = 0, t = 0, r = 0, b = 0, state = 0, fs = 0;
    if (readInt(s, Left, l) && readInt(s, Top, t) && readInt(s, Right, r) &&
        readInt(s, Bottom, b) && r > l && b > t) {
        p.hasRect = true;
        p.rect = QRect(l + origin.x(), t + origin.y(), r - l, b - t);
    }
    if (readInt(s, State, state)) {
        p.hasState = true;
        p.state = state;
    }
    if (readInt(s, FullScreen, fs)) {
        p.hasFullScreen = true;
        p.fullScreen = fs != 0;
    }
    s.endGroup();
    return p;
}

QRect keepOnWorkArea(const QRect& window, const QRect& area) {
    if (!window.isValid() || !area.isValid()) return window;
    // How much of the window must stay on the work area across and down.
    constexpr int Grip = 100;
    QRect r = window;
    // Larger than the work area: it takes the whole of it in that direction.
    if (r.width() > area.width()) {
        r.moveLeft(area.left());
        r.setWidth(area.width());
    }
    if (r.height() > area.height()) {
        r.moveTop(area.top());
        r.setHeight(area.height());
    }
    if (r.top() < area.top()) r.moveTop(area.top());
    if (r.top() > area.bottom() - std::min(Grip, area.height() / 2)) r.moveBottom(area.bottom());
    if (r.right() < area.left() + Grip) r.moveLeft(area.left());
    if (r.left() > area.right() - Grip) r.moveRight(area.right());
    return r;
}

} // namespace qorv::registry
