// Large constructions for the benchmarks: blocks mixing every common kind, chained so that the
// first free point has most of the construction as descendants.
#pragma once

#include "model/document.h"

#include <string>

namespace qorv::bench {

// How the blocks are laid out.
enum class Layout {
    // On a square grid of 160-pixel cells centred on the origin: a 1920 x 1080 view at the
    // centre shows a part of a large construction (all of one of 2,000 elements).
    Spread,
    // Every block inside the 1920 x 1080 view at the centre, overlapping as the count grows.
    Dense,
};

// The view the benchmarks draw: 1920 x 1080 pixels whose top-left is this world point.
constexpr double ViewWidth = 1920, ViewHeight = 1080;
constexpr double ViewLeft = -ViewWidth / 2, ViewTop = ViewHeight / 2;

// Appends blocks to `doc` until it holds at least `elements` list elements; returns the free
// point whose drag moves every block rigidly. Each block holds a point of the chain (the
// translation of its neighbour's), two free points, a segment, a line, a circle, a midpoint, a
// hidden perpendicular and a parallel, the line-line, line-circle and circle-circle
// intersections, a triangle, a distance, an area, an angle, a line equation, a ray, a vector and
// the name of its chain point; every fourth block adds a conic through five points and its
// intersection with the line. Texts sit beside their block. The result is not recalculated.
Element* buildMixedConstruction(Document& doc, int elements, Layout layout = Layout::Spread);

// The spread construction of `elements` elements in `doc`, recalculated and at the benchmark
// view, saved to `file`: what the whole-process benchmarks and the web page measure. Returns
// the driver as above, or null when the file cannot be written.
Element* saveMixedConstruction(Document& doc, int elements, const std::string& file);

} // namespace qorv::bench
