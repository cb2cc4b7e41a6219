// A document: the construction list, its view, appearance settings and the list operations.
#pragma once

#include "model/element.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qorv {

class UndoHistory;

namespace FontSlot {
enum : int { Cursor = 0, Names = 1, Numbers = 2, Texts = 3 };
}

namespace LengthUnit {
enum : int32_t { Mm = 0, Cm = 1, M = 2, Km = 3 };
}
namespace AngleUnit {
enum : int32_t { Rad = 0, Deg = 1, Gra = 2 };
}

struct AnimationRecord {
    Element* element = nullptr;
    int32_t settings[3] = {0, 0, 0};
};

// A macro kept in a document (the macro file container's record); its meaning belongs to macros.
struct MacroSlot {
    bool used = false;
    int32_t version = 900; // format version of the element records; older files keep theirs
    std::vector<int16_t> head;
    std::string name;
    std::vector<std::string> texts;
    Element* first = nullptr; // owned chain of the macro's element records
    MacroSlot() = default;
    MacroSlot(const MacroSlot&) = delete;
    MacroSlot& operator=(const MacroSlot&) = delete;
    ~MacroSlot();
    void clear();
    // Exchanges every field with `other` (moving macros within a table or between tables).
    void swap(MacroSlot& other);
};

// Built-in defaults that new documents copy (the program options own the editable copy).
struct DocumentDefaults {
    Color background = 0;
    Color hiddenColor = 48830;
    Color selectedColor = 16755370;
    std::array<FontRecord, 4> fonts;
    std::array<Color, Kind::Count> kindColors{};
    std::array<int32_t, Kind::Count> kindShapes{};
    int32_t lengthUnit = LengthUnit::Cm;
    int32_t angleUnit = AngleUnit::Rad;
    double pixelsPerUnit = 40.0;
    int32_t constantLengthsWithZoom = 0;
    int32_t coordinateSystem = 0;
    int32_t antialiased = 0;
    static const DocumentDefaults& builtIn();
    bool operator==(const DocumentDefaults&) const = default;
};

// Program state that element creation reads (owned by the main window in the editor).
struct CreationOptions {
    bool applyChosenColor =
        false; // the tool-bar option "apply the chosen colour to the next element"
    Color chosenColor = 0;
    int32_t decimals = 2; // "Número de decimales en pantalla"
    double angleMarkFactor = 0.13;
    int32_t locusPoints = 80;            // "Número de puntos en un nuevo lugar geométrico"
    double parameterStep = 0.01;         // initial parameter step of the main window
    Point2 lastClick;                    // last mouse position, world coordinates
    Element* redefiningButton = nullptr; // button whose element list is being redefined
    // "ocultar los elementos intermedios al instanciar una macro": copies of a macro's
    // intermediate elements stay internal.
    bool hideMacroIntermediates = true;
    // "Dirección horizontal para las nuevas tablas": a new table's rows run across.
    bool horizontalTables = true;
};

struct ElementRequest {
    ConstructionMethod method = 0;
    Element* parent1 = nullptr;
    Element* parent2 = nullptr;
    Element* parent3 = nullptr;
    double value[4] = {0, 0, 0, 0};
    int32_t option = -1;
    int32_t option2 = 0;
    int32_t shape = -1;
    // Extra parents for methods that keep them in their tail (polygon vertices, conic points,
    // variables and functions, table columns, controlled elements).
    std::vector<Element*> extra;
    std::string text; // expression, name, caption or first text line, where the method has one
    void reset();
};

class Document {
  public:
    Document();
    explicit Document(const DocumentDefaults& d);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // --- the construction list
    Element* head = nullptr;
    Element* tail = nullptr;

    // --- view state
    double savedOriginX = 0, savedOriginY = 0;
    double left = 0, top = 0, right = 0, bottom = 0;
    double view1 = 0, view2 = 0;

    int32_t modified = 0;
    int32_t transient[4] = {0, 0, 0, 0};

    Color background = 0;
    Color hiddenColor = 48830;
    Color selectedColor = 16755370;
    std::array<FontRecord, 4> fonts; // cursor messages, names, numbers, texts
    std::array<Color, Kind::Count> kindColors{};
    std::array<int32_t, Kind::Count> kindShapes{};

    int32_t lengthUnit = LengthUnit::Cm;
    int32_t angleUnit = AngleUnit::Rad;
    double pixelsPerUnit = 40.0;
    int32_t constantLengthsWithZoom = 0;
    int32_t coordinateSystem = 0;
    int32_t antialiased = 0;

    std::string fileName;

    static constexpr int MaxTraced = 100;
    std::vector<Element*> traceList;
    std::vector<AnimationRecord> animations;

    static constexpr int MacroSlots = 100;
    std::array<MacroSlot, MacroSlots + 1> macros;
    // The macros in the table: the used slots before the first free one.
    int macroCount() const;

    // Undo history (made on first use) and the number of pastes since the last copy.
    std::unique_ptr<UndoHistory> undoHistory;
    int32_t pasteCounter = 0;

    // Runtime: how many partial recalculation passes (points on loci re-running part of the
    // list) are nested at the moment.
    int32_t partialPassDepth = 0;
    // Runtime: what partial passes set aside while they re-run part of the list (the elements
    // they run and the numbers they put back afterwards), used as stacks by nested passes. They
    // keep their capacity, so that a drag step does not allocate.
    struct PassStacks {
        std::vector<Element*> elements;
        std::vector<double> numbers;
        std::vector<int32_t> words;
        std::vector<std::string> texts;
        size_t textsUsed = 0;
        std::vector<const Element*> busy; // loci and graphs being sampled or evaluated
        int64_t work = 0; // recalculations left to the passes nested in the outermost one
    } passStacks;
    // Runtime: the work the current operation (a recalculation, a drawing, an export) may still
    // spend, in units of about one element recalculation, expression word or curve sample (see
    // geometry/workbudget.h). Mutable: drawing a const document spends it too.
    struct WorkBudget {
        int64_t left = 0;
        int32_t depth = 0; // operations open; the outermost one sets `left`
    };
    mutable WorkBudget work;
    // Runtime: the element being dragged, while a drag of a single unselected element is in
    // progress (a locus then keeps the samples that the drag cannot change).
    const Element* dragged = nullptr;
    // Runtime: how many times elements of the list were freed (deleted, undone, cleared). A
    // window that holds elements compares it to know whether they may be gone.
    uint32_t removals = 0;

    // --- list operations
    void append(Element* e); // takes ownership
    // Takes e out of the list without freeing it (ownership passes to the caller).
    void unlink(Element* e);
    // Frees the whole list.
    void clear();
    int32_t elementCount() const;

    void renumber();
    Element* findById(int32_t id);

    void markDescendants(Element* e);
    // Marks the roots and every element that depends on any of them (a drag that moves several
    // elements at once recalculates exactly these).
    void markDescendantsOf(const std::vector<Element*>& roots);
    void markAncestors(Element* e);
    // Marks the roots (with their sub-elements) and every element they depend on, directly or
    // indirectly, in one walk.
    void markAncestorsOf(const std::vector<Element*>& roots);
    void clearMarks();

    void deleteWithDescendants(Element* e);
    // Deletes every element whose `mark` is 1 (with its sub-elements, which must be marked
    // too), after dropping every reference to them: trace and animation entries and names.
    void deleteMarked();
    void deleteSelected();
    // "Eliminar Todo": empties the list, trace and animation lists.
    void deleteAll();

    void selectAll();
    void selectNone();
    void selectKind(ElementKind k, bool showHidden);
    void selectKinds(const std::vector<ElementKind>& kinds, bool showHidden);
    bool selectParents();
    bool selectChildren();

    // --- names
    // The text of the element's name, or empty.
    std::string nameOf(const Element* e) const;

    // --- menu queries
    bool isListable(const Element* e, bool showHidden) const;
    bool isSelectableByKind(const Element* e, ElementKind k, bool showHidden) const;
    bool hasUnselectedSelectable(ElementKind k, bool showHidden) const;
    int32_t selectedCount() const;
    bool selectionHasTextLike() const;

    // Visits every element and its sub-elements in list order.
    template <class F> void forEachWithSubs(F&& f) {
        for (Element* e = head; e; e = e->next) {
            f(*e);
            forEachSubElement(*e, f);
        }
    }

  private:
    // Drops the trace and animation entries of the marked elements and sub-elements, and the
    // name links between them and the elements that stay.
    void forgetMarked();
};

// True when `e` depends directly on `other` (parents, tail lists, colour parameter, and what its
// sub-elements refer to).
bool dependsOn(const Element& e, const Element* other);

} // namespace qorv
