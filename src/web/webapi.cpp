// The engine as the web page sees it: a few plain C functions over one document, exported from
// the WebAssembly module. Numbers go out through arrays the page reads from the module's memory.
#include "geometry/drawing.h"
#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/document.h"
#include "view/dragengine.h"

#include <emscripten/emscripten.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace qorv;

namespace {

struct Session {
    std::unique_ptr<Document> doc;
    Drawing drawing;
    std::vector<double> shapes; // ShapeWords numbers per shape
    std::string texts;          // per text: font '\x1e' text, texts separated by '\x1f'
    std::vector<double> values; // per element: id, defined, visible, value[0..3]
    std::vector<double> draggable;
    DragEngine drag;
};

constexpr int ShapeWords = 12;

Session& session() {
    static Session s;
    return s;
}

// Points that a drag moves to the pointer or along their element.
bool pageDraggable(const Element& e) {
    return e.defined && e.visible == 1 && e.kind() == Kind::Point &&
           (e.method == Method::FreePoint || e.method == Method::PointOnElement);
}

Element* findElement(int32_t id) {
    Session& s = session();
    if (!s.doc) return nullptr;
    for (Element* e = s.doc->head; e; e = e->next)
        if (e->id == id) return e;
    return nullptr;
}

} // namespace

extern "C" {

// Reads a document from `size` bytes at `data`: 0 read, 1 not a document this program can read,
// 2 written by a newer version. Nothing is kept from a refused one.
EMSCRIPTEN_KEEPALIVE int qorv_load(const uint8_t* data, int size) {
    auto doc = std::make_unique<Document>();
    const ReadResult r = readDocumentData(*doc, data, size_t(size), FileType::Document);
    if (r.kind == FileKind::Newer) return 2;
    if (r.kind != FileKind::Document) return 1;
    recalcUpTo(*doc);
    session().drag.end();
    session().doc = std::move(doc);
    return 0;
}

// The view origin (world point at the top-left pixel), background and hidden colours.
EMSCRIPTEN_KEEPALIVE double qorv_view(int which) {
    const Document* d = session().doc.get();
    if (!d) return 0;
    switch (which) {
    case 0:
        return d->left;
    case 1:
        return d->top;
    case 2:
        return double(d->background & 0xffffff);
    default:
        return 0;
    }
}

// Describes the drawing for the visible area given (world); returns the number of shapes, each
// ShapeWords numbers at qorv_shapes(): shape, element, colour, fill, style, stroke, first,
// count, text (or picture), font pixels, bold + 2 italic, variant.
EMSCRIPTEN_KEEPALIVE int qorv_describe(double left, double top, double right, double bottom) {
    Session& s = session();
    s.shapes.clear();
    s.texts.clear();
    if (!s.doc) return 0;
    DrawingOptions o;
    o.left = left;
    o.top = top;
    o.right = right;
    o.bottom = bottom;
    describeDrawing(*s.doc, o, s.drawing);
    for (const DrawnShape& d : s.drawing.shapes) {
        const double w[ShapeWords] = {double(d.shape),
                                      double(d.element),
                                      double(d.color),
                                      double(d.fill),
                                      double(d.style),
                                      d.stroke ? 1.0 : 0.0,
                                      double(d.first),
                                      double(d.count),
                                      double(d.text),
                                      double(d.fontPixels),
                                      double(d.bold) + 2.0 * d.italic,
                                      double(d.variant)};
        s.shapes.insert(s.shapes.end(), w, w + ShapeWords);
    }
    // The separators never occur inside: a text holding one shows a space there.
    const auto add = [&](const std::string& t) {
        for (const char c : t)
            s.texts += c == '\x1e' || c == '\x1f' ? ' ' : c;
    };
    for (size_t i = 0; i < s.drawing.texts.size(); ++i) {
        if (i) s.texts += '\x1f';
        add(s.drawing.fonts[i]);
        s.texts += '\x1e';
        add(s.drawing.texts[i]);
    }
    return int(s.drawing.shapes.size());
}
EMSCRIPTEN_KEEPALIVE const double* qorv_shapes() {
    return session().shapes.data();
}
EMSCRIPTEN_KEEPALIVE const double* qorv_numbers() {
    return session().drawing.numbers.data();
}
EMSCRIPTEN_KEEPALIVE const char* qorv_texts() {
    return session().texts.c_str();
}
// The bytes of picture `i` of the last description (a Windows bitmap) and their count.
EMSCRIPTEN_KEEPALIVE const uint8_t* qorv_picture(int i) {
    const Drawing& d = session().drawing;
    return i >= 0 && size_t(i) < d.pictures.size() ? d.pictures[size_t(i)].bytes : nullptr;
}
EMSCRIPTEN_KEEPALIVE int qorv_picture_size(int i) {
    const Drawing& d = session().drawing;
    return i >= 0 && size_t(i) < d.pictures.size() ? int(d.pictures[size_t(i)].size) : 0;
}

// The visible points a drag can move: x, y, id for each; returns their count.
EMSCRIPTEN_KEEPALIVE int qorv_draggable() {
    Session& s = session();
    s.draggable.clear();
    if (!s.doc) return 0;
    for (const Element* e = s.doc->head; e; e = e->next)
        if (pageDraggable(*e))
            s.draggable.insert(s.draggable.end(), {e->value[0], e->value[1], double(e->id)});
    return int(s.draggable.size() / 3);
}
EMSCRIPTEN_KEEPALIVE const double* qorv_draggable_data() {
    return session().draggable.data();
}

// The draggable point nearest to (x, y) within `radius` (world), or -1; the later one wins a tie,
// as it is drawn on top.
EMSCRIPTEN_KEEPALIVE int qorv_hit(double x, double y, double radius) {
    Session& s = session();
    if (!s.doc) return -1;
    int best = -1;
    double bestDistance = radius;
    for (const Element* e = s.doc->head; e; e = e->next) {
        if (!pageDraggable(*e)) continue;
        const double d = std::hypot(e->value[0] - x, e->value[1] - y);
        if (d <= bestDistance) {
            bestDistance = d;
            best = e->id;
        }
    }
    return best;
}

// Starts dragging element `id` grabbed at (x, y) (world); 1 when it can move.
EMSCRIPTEN_KEEPALIVE int qorv_drag_begin(int id, double x, double y) {
    Session& s = session();
    Element* e = findElement(id);
    if (!e || !pageDraggable(*e)) return 0;
    return s.drag.begin(*s.doc, e, {x, y}, false) ? 1 : 0;
}

// Moves the dragged element to the pointer (world) and recalculates what depends on it.
EMSCRIPTEN_KEEPALIVE void qorv_drag_move(double x, double y) {
    Session& s = session();
    if (!s.doc || !s.drag.active()) return;
    s.doc->dragged = s.drag.element();
    s.drag.move(*s.doc, {x, y});
    s.drag.recalculate(*s.doc);
}

// Ends the drag: the whole construction is recalculated, as after a drag in the editor.
EMSCRIPTEN_KEEPALIVE void qorv_drag_end() {
    Session& s = session();
    if (!s.doc) return;
    s.drag.end();
    s.doc->dragged = nullptr;
    recalcUpTo(*s.doc);
}

// Every element's numbers: id, defined, visible, value[0..3]; returns the element count.
EMSCRIPTEN_KEEPALIVE int qorv_values() {
    Session& s = session();
    s.values.clear();
    if (!s.doc) return 0;
    for (const Element* e = s.doc->head; e; e = e->next)
        s.values.insert(s.values.end(), {double(e->id), double(e->defined), double(e->visible),
                                         e->value[0], e->value[1], e->value[2], e->value[3]});
    return int(s.values.size() / 7);
}
EMSCRIPTEN_KEEPALIVE const double* qorv_values_data() {
    return session().values.data();
}

EMSCRIPTEN_KEEPALIVE uint8_t* qorv_alloc(int size) {
    return new uint8_t[size_t(size > 0 ? size : 1)];
}
EMSCRIPTEN_KEEPALIVE void qorv_free(uint8_t* p) {
    delete[] p;
}
}
