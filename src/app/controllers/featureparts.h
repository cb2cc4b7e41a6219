// What a feature's controller is built from: the session it works on, the canvas that shows the
// current document, the dialogs' context, the tools' requests it answers and the window its
// windows belong to. Never the main window's class itself.
#pragma once

class QWidget;

namespace qorv {

class DrawingCanvas;
class EditorSession;
class WindowContext;
class WindowRequests;

struct FeatureParts {
    EditorSession& session;
    DrawingCanvas& canvas;
    WindowContext& context;
    WindowRequests& requests;
    QWidget* window; // the parent of the feature's windows
};

} // namespace qorv
