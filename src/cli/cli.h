// The commands of qorv-cli, callable without a process (the tests run them directly).
#pragma once

#include "model/document.h"

#include <string>
#include <vector>

namespace qorv::cli {

// Runs one command (`args` without the program name): "info FILE", "dump FILE",
// "convert IN OUT", "eval TEXT", "example NAME OUT". What the command prints goes to `out`,
// messages to `err`. Returns the exit status: 0 success, 1 a refused or unwritable file or an
// invalid text, 2 usage.
int run(const std::vector<std::string>& args, std::string& out, std::string& err);

// Messages and the usage text in the language `name` of the languages folder `folder`; false
// (the built-in texts stay) when its file cannot be read.
bool useLanguage(const std::string& folder, const std::string& name);

// Whether the command draws, and so needs a QGuiApplication for its fonts; the others need no Qt.
bool drawsWithQt(const std::vector<std::string>& args);

} // namespace qorv::cli
