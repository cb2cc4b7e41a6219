// Dragging with the move tool: how each kind of element follows the pointer, and the group drag
// of the selection. Each move sets the numbers of the dragged elements and marks exactly the
// elements that must be recalculated (the moved ones and their descendants).
#pragma once

#include "model/element.h"
#include "view/hitgeometry.h"

#include <vector>

namespace qorv {

class Document;

class DragEngine {
  public:
    // `maxNameDistance`: how far (world units) a name label may be from its element.
    explicit DragEngine(double maxNameDistance = 50) : maxNameDistance_(maxNameDistance) {}

    // Starts dragging `e` grabbed at `press` (world). With `group`, every selected element moves
    // by the pointer's displacement instead. Returns false when nothing can move.
    bool begin(Document& doc, Element* e, Point2 press, bool group);
    // Moves to the pointer and marks what must be recalculated (Document::mark). The marks are
    // set at the first move and again only when they may have changed (see marked()).
    void move(Document& doc, Point2 pointer);
    void end();
    // The elements the last move marked, in list order: what each step recalculates.
    const std::vector<Element*>& marked() const { return marked_; }
    // Recalculates marked() (as recalcMarked, without walking the whole list).
    void recalculate(Document& doc) const;
    // Something outside the drag may have changed the marks or the list: the next move marks
    // again.
    void remark() { markedDoc_ = nullptr; }

    bool active() const { return active_; }
    Element* element() const { return element_; }
    // Elements whose own numbers the drag sets.
    const std::vector<Element*>& roots() const { return roots_; }

    void setMaxNameDistance(double d) { maxNameDistance_ = d; }

  private:
    enum class How {
        FreePoint,     // goes to the pointer (or by the displacement in a group)
        GridPoint,     // to the nearest grid node
        PointOn,       // the parameter of the nearest place of its host
        LineDirection, // a line or ray through one point turns towards the pointer
        CircleRadius,  // a circle given its centre takes the pointer's distance as radius
        TurnAbout,     // the first vertex of a regular polygon turns about the centre
        NameLabel,     // follows the pointer within the maximum distance of its element
        Box,           // text-like elements, tables and free bitmaps move as boxes
        TextBlock,     // texts keep integer positions
        CoordinatesBox // coordinates keep a polar offset from their point
    };
    struct Mover {
        Element* e = nullptr;
        How how = How::FreePoint;
        Point2 start; // the element's position (or offset) when the drag began
        Element* centre = nullptr;
    };

    void addFor(Document& doc, Element* e, bool group);
    void addPoint(Element* p);
    void add(Element* e, How how, Point2 start, Element* centre = nullptr);
    void apply(Document& doc, const Mover& m, Point2 pointer, Point2 shift);
    bool marksCurrent(const Document& doc) const;

    double maxNameDistance_;
    bool active_ = false;
    bool group_ = false;
    Element* element_ = nullptr;
    Point2 press_;
    std::vector<Mover> movers_;
    std::vector<Element*> roots_;
    std::vector<Element*> marked_;
    // The document and the ends of its list when marked_ was made; null: mark at the next move.
    const Document* markedDoc_ = nullptr;
    const Element* markedHead_ = nullptr;
    const Element* markedTail_ = nullptr;
};

// Moves a name label to `target` (the label's top-left, world), kept within `maxDistance` of its
// element: measured from the point (or the angle's vertex), or from the nearest place of a curve,
// whose parameter the label then takes.
void placeNameLabel(Document& doc, Element& name, Point2 target, double maxDistance);

// Translates every free point among the ancestors of `e` (and `e` itself) by `shift`; returns the
// points moved. Used by motion buttons and the arrow keys.
std::vector<Element*> shiftFreeAncestors(Document& doc, Element& e, Point2 shift);

} // namespace qorv
