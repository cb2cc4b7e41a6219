// The arithmetic of single operators and functions, shared by the number and unit evaluators.
#pragma once

#include <cstdint>

namespace qorv::exprops {

// a op b for "+", "-", "*", "/", "^". False: undefined (division by zero, overflow guard,
// no real power) or a code that is not a binary operator.
bool applyBinary(int32_t code, double a, double b, double& result);

// f(a) for unary minus and every function of the table, trigonometric ones in `angleUnit`.
// False: outside the function's domain, a non-finite result, or an unknown code.
bool applyUnary(int32_t code, double a, int32_t angleUnit, double& result);

// True for unary minus and the functions of the table (not calls).
bool isUnaryCode(int32_t code);

} // namespace qorv::exprops
