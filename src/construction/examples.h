// The example documents shipped with the program, built by its own element creation.
#pragma once

#include "model/document.h"

#include <string_view>
#include <vector>

namespace qorv {

// Names of the examples: "triangle", "conic", "intersections", "sierpinski".
const std::vector<std::string_view>& exampleNames();

// Fills an empty document with the named example; false for an unknown name. The caller
// recalculates it.
bool buildExample(std::string_view name, Document& doc);

} // namespace qorv
