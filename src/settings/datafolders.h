// Where the program's data folders ("languages", "help") are: beside the program in the build
// tree, or in the installed tree's data folder (share/qorv beside bin/).
#pragma once

#include <QString>

#include <string>

namespace qorv {

// The folder `name` for a program that lives in `programFolder`; empty when neither exists.
std::string programDataFolder(const std::string& programFolder, const std::string& name);
// The same for the running program.
QString programDataFolder(const QString& name);

} // namespace qorv
