#include "geometry/paramcolor.h"

#include "model/document.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qorv {

double parametricFraction(const Element* number) {
    if (!number || !number->defined) return 0.0;
    if (number->kind() == Kind::Number && number->option == NoValue) return 0.0;
    const double v = std::fabs(number->value[0]);
    if (!std::isfinite(v)) return 0.0;
    double whole = 0.0;
    const double frac = std::modf(v, &whole);
    if (frac >= 0.0001) return frac;
    // An integer: odd gives 1, even 0.
    return std::fmod(whole, 2.0) == 1.0 ? 1.0 : 0.0;
}

Color hsvToColor(double h, double s, double v) {
    s = std::clamp(s, 0.0, 1.0);
    v = std::clamp(v, 0.0, 1.0);
    h = std::fmod(h, 360.0);
    if (h < 0) h += 360.0;
    double r = v, g = v, b = v;
    if (s > 0) {
        const double sector = h / 60.0;
        const int i = std::min(int(sector), 5);
        const double f = sector - i;
        const double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
        switch (i) {
        case 0:
            r = v, g = t, b = p;
            break;
        case 1:
            r = q, g = v, b = p;
            break;
        case 2:
            r = p, g = v, b = t;
            break;
        case 3:
            r = p, g = q, b = v;
            break;
        case 4:
            r = t, g = p, b = v;
            break;
        default:
            r = v, g = p, b = q;
            break;
        }
    }
    return rgb(int(r * 255), int(g * 255), int(b * 255));
}

Color parametricColor(int mode, double x, Color from, Color to) {
    // Any word may come from a file; only the modes below mean something, whatever their sign.
    const int64_t m = std::abs(int64_t(mode));
    x = std::clamp(x, 0.0, 1.0);
    if (m == 1) return hsvToColor(x * 360.0 * 0.84, 1.0, 1.0);
    if (m == 2) return hsvToColor(0.0, 0.0, 1.0 - x);
    if (m >= 3 && m <= 101) return hsvToColor(double(m - 3) / 98.0 * 0.84 * 360.0, x, 1.0);
    if (m >= 103 && m <= 201) return hsvToColor(double(m - 103) / 98.0 * 0.84 * 360.0, 1.0, x);
    if (m == 1000) {
        auto mix = [x](int a, int b) { return int(a + (b - a) * x); };
        return rgb(mix(colorRed(from), colorRed(to)), mix(colorGreen(from), colorGreen(to)),
                   mix(colorBlue(from), colorBlue(to)));
    }
    return from;
}

void setLineColour(Element& e, Color c) {
    e.color = c;
    e.colorParam = Ref{};
    e.colorParamMode = 0;
    if (auto* t = e.tailAs<TextTail>()) {
        t->font.color = c;
        for (FontRun& r : t->runs)
            r.font.color = c;
    }
    if (e.font) e.font->color = c;
    forEachSubElement(e, [c](Element& s) { s.color = c; });
}

bool hasFillColor(const Element& e) {
    switch (e.kind()) {
    case Kind::Polygon:
    case Kind::Circle:
    case Kind::Angle:
    case Kind::Iteration:
        return true;
    default:
        return false;
    }
}

EffectiveColors effectiveColors(const Element& e) {
    const bool fillable = hasFillColor(e);
    EffectiveColors c{e.color, fillable ? e.option : -1, e.shape};
    if (!e.colorParam || e.colorParamMode == 0) return c;
    const Color p = parametricColor(e.colorParamMode, parametricFraction(e.colorParam),
                                    e.colorParamFrom, e.colorParamTo);
    if (e.colorParamMode > 0)
        c.color = p;
    else if (fillable)
        c.fill = p;
    else if (isTextLike(e.kind()))
        c.shape = p;
    return c;
}

void applyParametricColour(Element& e) {
    if (!e.colorParam || e.colorParamMode == 0) return;
    const EffectiveColors c = effectiveColors(e);
    e.color = c.color;
    if (hasFillColor(e))
        e.option = c.fill;
    else if (isTextLike(e.kind()))
        e.shape = c.shape;
}

void applyParametricColours(Document& doc) {
    for (Element* e = doc.head; e; e = e->next)
        applyParametricColour(*e);
}

void setParamColour(Element& e, Element& number, int mode, bool fill, Color from, Color to) {
    e.colorParam = &number;
    e.colorParamMode = fill ? -mode : mode;
    if (mode == 1000) {
        e.colorParamFrom = from;
        e.colorParamTo = to;
    }
}

} // namespace qorv
