// What every feature controller works with: the editor session, the drawing canvas that shows
// its current document, and the way to ask and tell the user. Never the main window.
#pragma once

namespace qorv {

class DrawingCanvas;
class EditorSession;
class Prompts;

struct FeatureContext {
    EditorSession& session;
    DrawingCanvas& canvas;
    Prompts& prompts;
};

} // namespace qorv
