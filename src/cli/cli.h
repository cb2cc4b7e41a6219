// The commands of qorv-cli, callable without a process (the tests run them directly).
#pragma once

#include "model/document.h"

#include <string>
#include <vector>

namespace qorv::cli {

// Runs one command (`args` without the program name): "info FILE", "dump FILE",
// "convert IN OUT", "eval TEXT". What the command prints goes to `out`, messages to `err`.
// Returns the exit status: 0 success, 1 a refused or unwritable file or an invalid text, 2 usage.
int run(const std::vector<std::string>& args, std::string& out, std::string& err);

// The line the drawing shows for a text-like element: the name of a "Nombre", the lines of a
// "Texto" joined by "\n", and for now nothing for the others.
std::string elementText(const Document& doc, const Element& e);

// The value of a number typed as text; false when the text is not a valid number.
bool evaluateText(const std::string& text, double& value);

} // namespace qorv::cli
