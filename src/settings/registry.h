#pragma once

#include <QRect>
#include <QSettings>

#include <functional>
#include <memory>

namespace qorv::registry {

// Keys of the per-user store. On Windows they are the keys under
// HKEY_CURRENT_USER\Software\QORV\QORV9; elsewhere groups of the platform's settings file.
inline constexpr const char* SettingsKey = "Settings";
inline constexpr const char* RecentFilesKey = "Recent Files";
inline constexpr const char* LastDirKey = "Last Dir";
inline constexpr const char* LastDirMacKey = "Last DirMac";
// The name under which QSettings reaches a key's default (unnamed) value.
inline constexpr const char* DefaultValue = "Default";

// The program's organisation and name: they name the store and the data folder of the options
// file.
inline constexpr const char* OrganizationName = "QORV";
inline constexpr const char* ProgramName = "QORV9";
// Gives the running program those names (callable before the application object exists).
void nameProgram();

// The store itself, named here and nowhere else so that every reader and writer agrees.
// Tests redirect it with QStandardPaths::setTestModeEnabled(true).
std::unique_ptr<QSettings> open();

// Writes what `s` holds to the store now. When the store cannot be written, `report` is called
// with the store's name, but only the first time in the program's run: the user hears of it
// once, not at every change. Returns whether the store was written.
bool sync(QSettings& s, const std::function<void(const QString& store)>& report);
// Forgets that a failure was reported (a test starting afresh).
void forgetReportedFailure();

// The main window's placement under "Settings": its normal (restored) rectangle as "mwLeft",
// "mwTop", "mwRight", "mwBottom" relative to the work area, its state "mwState" (0 normal,
// 1 minimised, 2 maximised) and the full-screen flag "mwStFS".
struct WindowPlacement {
    bool hasRect = false; // all four coordinates were found
    QRect rect;           // in screen coordinates
    bool hasState = false;
    int state = 0;
    bool hasFullScreen = false;
    bool fullScreen = false;
};
void writeWindowPlacement(QSettings& s, const QRect& normalRect, int state, bool fullScreen,
                          QPoint workAreaOrigin);
WindowPlacement readWindowPlacement(QSettings& s, QPoint workAreaOrigin);

// A window rectangle moved (and, when larger, shrunk) so that its top edge, where the caption and
// the menu bar are, lies on the work area and enough of it is there to be taken with the mouse.
// A rectangle that already is so comes back unchanged.
QRect keepOnWorkArea(const QRect& window, const QRect& workArea);

} // namespace qorv::registry
