// Animation: one step of every playing entry of a document's animation list. Each animatable
// element moves by its own rule (a point along its host, a line turning, a circle growing, a
// parameter through its range) and turns back, or wraps round, at the ends of its way. The
// caller recalculates and draws afterwards.
#pragma once

#include "model/document.h"

#include <vector>

namespace qorv {

// The three settings of an animation entry.
namespace AnimSetting {
enum : int { Playing = 0, Direction = 1, Speed = 2 };
}
// What a new entry starts with.
constexpr int NewEntrySpeed = 15;
constexpr int NewEntryDirection = 1;
// At most this many entries (a further one is ignored).
constexpr int MaxAnimations = 100;

// Points on elements, lines through a point, rays from a point, circles given their centre and
// parameters.
bool isAnimatable(const Element& e);

// The distance one step covers: a = 0.1 x speed (negated going backwards), s = |a| a.
double animationStepLength(int speed, int direction);

// Moves the entry's element by one step (nothing for an undefined element, or one that does not
// play); flips the entry's direction where the element turns back.
void animateEntry(Document& doc, AnimationRecord& entry);

// One step of the whole list: false when the list is empty. Otherwise the document is marked
// changed, every playing entry moves, and `moved` (when given) receives the elements moved.
bool animationStep(Document& doc, std::vector<Element*>* moved = nullptr);

// The list entry of `e`, or null.
AnimationRecord* animationEntryOf(Document& doc, const Element* e);
// Adds `e` (playing, with the starting direction and speed) or, when it is in the list already,
// removes it. Returns whether it is in the list afterwards; a 101st entry is ignored.
bool toggleAnimation(Document& doc, Element* e);
// Drops the entries whose element can no longer be animated.
void dropUnanimatable(Document& doc);

// Adds `e` to the trace list, or removes it when it is there. Returns whether it is traced
// afterwards; a 101st entry is ignored.
bool toggleTrace(Document& doc, Element* e);

} // namespace qorv
