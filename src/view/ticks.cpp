#include "view/ticks.h"

#include <cmath>
#include <limits>

namespace qorv {

double tickStep(double unitLength) {
    if (!(unitLength > 0) || !std::isfinite(unitLength)) return 0.0;
    const double x = 60.0 / unitLength;
    if (!std::isfinite(x) || x <= 0) return 0.0;
    // c is the exponent of x's leading digit. Taking the floor (rather than the integer part
    // lowered by one below 1) gives the same c everywhere except at exact negative powers of ten,
    // where lowering it again would make the ticks ten times too dense.
    int c = int(std::floor(std::log10(x)));
    double lead = x / std::pow(10.0, c);
    if (lead >= 10.0) { // log10 rounding just below a power of ten
        ++c;
        lead /= 10.0;
    } else if (lead < 1.0) {
        --c;
        lead *= 10.0;
    }
    const int digit = int(lead);
    const double b = digit == 1 ? 1.0 : digit <= 4 ? 2.0 : 5.0;
    return b * std::pow(10.0, c);
}

long long snapIndex(double d) {
    if (!std::isfinite(d)) return 0;
    constexpr double limit = double(std::numeric_limits<long long>::max() / 2);
    if (std::fabs(d) > limit) return d > 0 ? (long long)limit : -(long long)limit;
    double whole = 0.0;
    const double frac = std::fabs(std::modf(d, &whole));
    long long i = (long long)whole;
    if (frac > 0.50000001) i += d > 0 ? 1 : -1;
    return i;
}

} // namespace qorv
