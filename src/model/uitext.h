// The UI text table: every text the program shows comes from these fixed-size slots, filled with
// the built-in Spanish texts and overwritten by a language file.
#pragma once

#include "model/element.h"

#include <array>
#include <string>
#include <string_view>

namespace qorv {

// Named message slots (256 bytes each). The language-file id of message k is 1000 + k.
// clang-format off
namespace Msg {
enum : int {
    InvalidFile = 0,        // "no es un archivo válido"
    WriteError,             // "error de escritura"
    NewerVersion,           // file written by a newer version
    InvalidExpression,      // "la expresión no es válida"
    InvalidRedefinition,    // "Redefinición no válida"
    InvalidInput,           // "Datos de entrada no válidos"
    NoLanguageFiles,        // "No se encuentran ficheros de lenguaje"
    NoHelpFile,             // "No se ha encontrado el archivo de ayuda"
    SaveChangesQuestion,    // "Guardar los cambios realizados al documento"
    CloseCaption,           // "Cerrar"
    ShowHideButtonCaption,  // caption of a new "Botón Ocultar/Ver"
    MotionButtonCaption,    // caption of a new "Botón Movimiento"
    NewDocument,            // "Nuevo documento"
    DeleteAll,              // "Eliminar Todo"
    SelectChildren,         // "Seleccionar hijos"
    SelectParents,          // "Seleccionar padres"
    SelectAll,              // "Seleccionar todo"
    SelectGroup,            // "Seleccionar grupo..."
    Open,                   // "Abrir..."
    ShowHidden,             // "Ver lo oculto"
    Undo,                   // "Deshacer"
    Redo,                   // "Rehacer"
    NoValueText,            // "no existente": a number without a value
    MenuFile,               // "&Archivo"
    MenuView,               // "&Ver"
    Exit,                   // "Salir"
    MoveScreenItem,         // "Mover la Pantalla..."
    FullScreen,             // "Pantalla Completa"
    Antialiasing,           // "AA"
    MoveScreenCaption,      // "Mover la pantalla"
    PlaneSizeHint,          // "Cambiar el tamaño del plano"
    OkButton,               // "OK"
    CancelButton,           // "Cancel"
    ProgramCaption,         // "QORV": caption of message boxes
    UnitMm,                 // "mm"
    UnitCm,                 // "cm"
    UnitM,                  // "m"
    UnitKm,                 // "km"
    UnitRad,                // "RAD"
    UnitDeg,                // "DEG"
    UnitGra,                // "GRA"
    SeveralElements,        // "varios elementos": cursor label over several elements
    MainButtons,            // "Botones Principales"
    EditButtons,            // "Botones de edición"
    OtherColours,           // "Otros colores..."
    ParametricColour,       // "Color según parámetro"
    MenuEdit,               // "&Edición"
    Cut,                    // "Cortar"
    Copy,                   // "Copiar"
    Paste,                  // "Pegar"
    PastePicture,           // "Pegar imagen"
    CannotOpen,             // "no se puede abrir el archivo"
    Count
};
}
// clang-format on

class UiTextTable {
  public:
    static constexpr int NameSlotSize = 80;
    static constexpr int MessageSlotSize = 256;
    // Kind names 0..24, then "lado", "eje x", "eje y", "coordenada x o r", "coordenada y o theta".
    static constexpr int KindNameSlots = 30;
    static constexpr int MethodNameSlots = Method::Count; // names: the method table's
    static constexpr int CheckWordSlots = 10;             // true/false pairs of checks 50..54
    static constexpr int MessageSlots = 300;
    // One status-bar prompt per tool mode (0..83); the language-file id of tool c is 500 + c.
    static constexpr int ToolPromptSlots = 84;

    UiTextTable() { fillBuiltInTexts(); }
    void fillBuiltInTexts();

    const std::string& kindName(int kind) const;
    const std::string& methodName(int method) const;
    // Verdict word of property check method 50..54.
    const std::string& checkWord(int method, bool holds) const;
    const std::string& message(int slot) const;
    const std::string& toolPrompt(int tool) const;

    // Store a text in a slot, cut to fit the slot (79 or 255 bytes).
    void setKindName(int slot, std::string_view text);
    void setMethodName(int slot, std::string_view text);
    void setCheckWord(int slot, std::string_view text);
    void setMessage(int slot, std::string_view text);
    void setToolPrompt(int tool, std::string_view text);

  private:
    std::array<std::string, KindNameSlots> kindNames_;
    std::array<std::string, MethodNameSlots> methodNames_;
    std::array<std::string, CheckWordSlots> checkWords_;
    std::array<std::string, MessageSlots> messages_;
    std::array<std::string, ToolPromptSlots> toolPrompts_;
};

// The program's table (one per process; the main window fills it at start-up).
UiTextTable& uiText();

// The length of the longest start of `text` of at most `max` bytes that does not end inside a
// UTF-8 sequence, and that start: every text that is cut is cut there.
size_t cutLength(std::string_view text, size_t max);
std::string cut(std::string_view text, size_t max);

} // namespace qorv
