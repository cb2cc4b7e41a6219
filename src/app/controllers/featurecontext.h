// What every feature controller works with: the editor session, the drawing canvas that shows
// its current document, the way to ask and tell the user, and the commands' actions (each
// controller connects those it carries out). Never the main window.
#pragma once

#include <cstdint>
#include <functional>

class QObject;

namespace qorv {

class Commands;
class DrawingCanvas;
class EditorSession;
class Prompts;
enum class CommandId : uint16_t;

struct FeatureContext {
    EditorSession& session;
    DrawingCanvas& canvas;
    Prompts& prompts;
    Commands& commands;
    // Runs `run` when the command's action is triggered, for as long as `receiver` lives.
    void onCommand(CommandId id, QObject* receiver, std::function<void()> run) const;
};

} // namespace qorv
