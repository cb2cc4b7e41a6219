#pragma once

#include <QSettings>

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

// The store itself, named here and nowhere else so that every reader and writer agrees.
// Tests redirect it with QStandardPaths::setTestModeEnabled(true).
std::unique_ptr<QSettings> open();

} // namespace qorv::registry
