// What every feature controller works with: the editor session, the drawing canvas that shows
// its current document, the way to ask and tell the user, the commands' actions (each
// controller connects those it carries out), the dialogs' context, the tools' requests it
// answers and the widget its windows belong to. Never the main window's class itself.
#pragma once

#include <cstdint>
#include <functional>

class QObject;
class QWidget;

namespace qorv {

class Commands;
class DrawingCanvas;
class EditorSession;
class Prompts;
class WindowContext;
class WindowRequests;
enum class CommandId : uint16_t;

struct FeatureContext {
    EditorSession& session;
    DrawingCanvas& canvas;
    Prompts& prompts;
    Commands& commands;
    WindowContext& context;
    WindowRequests& requests;
    QWidget* window; // the parent of the feature's windows
    // Runs `run` when the command's action is triggered, for as long as `receiver` lives.
    void onCommand(CommandId id, QObject* receiver, std::function<void()> run) const;
};

} // namespace qorv
