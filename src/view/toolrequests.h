// What the tools ask of the windows: the dialogs a click opens (font, text, picture, parametric
// colour, number of iterations, an element's dialog), messages, the wait cursor and the
// animation list's entry. One object answers them all; it is handed to the Interaction, which
// hands it to its ClickEngine, so a request goes straight from the tool to the window that
// answers it. Every request has a quiet default: without windows (tests of the tools, the
// command-line program) a dialog is cancelled and a message dropped.
#pragma once

#include "model/element.h"

#include <cstdint>
#include <vector>

namespace qorv {

class ToolRequests {
  public:
    virtual ~ToolRequests() = default;

    // The font dialog on `font`; false when it is cancelled.
    virtual bool chooseFont(FontRecord& font) {
        (void)font;
        return false;
    }
    // The text editor: on a new text (no lines yet, its font the document's texts font) or on
    // the wording of an existing one. Fills the lines, the default font and the font runs;
    // false when it is cancelled.
    virtual bool editText(TextTail& text) {
        (void)text;
        return false;
    }
    // A picture the user chooses, as the bytes documents keep pictures in (a Windows bitmap
    // file); false when cancelled or unreadable (the user has been told).
    virtual bool choosePicture(std::vector<uint8_t>& picture) {
        (void)picture;
        return false;
    }
    // The parametric-colour dialog: the mode and the two colours of mode 1000 (which show
    // first); false when it is cancelled.
    virtual bool askParametricColour(int& mode, Color& from, Color& to) {
        (void)mode;
        (void)from;
        (void)to;
        return false;
    }
    // The number of iterations of a new iteration (`n` shows first); false when cancelled.
    virtual bool askIterationCount(int32_t& n) {
        (void)n;
        return false;
    }
    // A message of the UI text table, as a warning.
    virtual void showMessage(int msgSlot) { (void)msgSlot; }
    // The wait cursor, while something computes for long (the crossings of loci).
    virtual void setBusy(bool on) { (void)on; }
    // Double click with the move tool on an element: the dialog of that element, as `tool`
    // (Tool::Calculate, Function, Parameter, RepresentPoints or EditElement) opens it.
    virtual void openElementDialog(int tool, Element& e) {
        (void)tool;
        (void)e;
    }
    // A click that feeds a dialog rather than a construction: an element for the calculator
    // (tools 42..44), axes for the represent-points dialog, the element of "Editar elemento".
    virtual void dialogElementClicked(int tool, Element& e) {
        (void)tool;
        (void)e;
    }
    // The animation tool added `e` to the animation list or took it away.
    virtual void animationEntryClicked(Element* e) { (void)e; }
};

// The wait cursor for as long as it lives.
class BusyCursor {
  public:
    explicit BusyCursor(ToolRequests& requests) : requests_(requests) { requests_.setBusy(true); }
    ~BusyCursor() { requests_.setBusy(false); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

  private:
    ToolRequests& requests_;
};

} // namespace qorv
