// A construction built in code that shows every kind the renderer draws, with the numbers that
// recalculation would give them. Used by the editor's hidden "--demo" start and by tests.
#pragma once

namespace qorv {

class Document;

// Replaces the document's list and view with the demonstration construction; the view shows the
// world rectangle [-450, 450] x [-300, 300] at the top-left of a 900 x 600 area.
void buildDemoDocument(Document& doc);

} // namespace qorv
