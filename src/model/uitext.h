// The UI text table: every text the program shows comes from these fixed-size slots, filled with
// the built-in Spanish texts and overwritten by a language file.
#pragma once

#include "model/element.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
    SaveChangesQuestion,    // "¿Guardar los cambios realizados al documento?"
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
    OkButton,               // "Aceptar"
    CancelButton,           // "Cancelar"
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
    DocumentName,           // "Documento": new documents are "Documento 1", "Documento 2" ...
    TooManyDocuments,       // "Existen muchos documentos abiertos"
    MenuDocument,           // "&Documento"
    NewItem,                // "&Nuevo"
    OpenItem,               // "&Abrir..."
    OpenRecent,             // "Abrir recientes"
    SaveItem,               // "&Guardar"
    SaveAs,                 // "Guardar Como..."
    CloseItem,              // "Cerrar"
    CloseAll,               // "Cerrar todo"
    NextDocument,           // "&Siguiente"
    PreviousDocument,       // "&Anterior"
    FirstDocument,          // "Primero"
    LastDocument,           // "Ultimo"
    DocumentListItem,       // "Lista documentos..."
    DocumentListCaption,    // "Lista documentos"
    ListFirst,              // "Primero": buttons of the document list
    ListPrevious,           // "Anterior"
    ListNext,               // "Siguiente"
    ListLast,               // "Último"
    ListSave,               // "Guardar"
    ClearRecent,            // "Eliminar lista de recientes"
    ClearRecentQuestion,    // confirmation of "Eliminar lista de recientes"
    NoRecentFiles,          // the entry of an empty "Abrir recientes"
    DocumentBar,            // "Barra de documento"
    FilterDocumentsAndMacros, // file dialogs: documents and macro files
    FilterDocuments,        // documents
    FilterMacros,           // macro files
    FilterAllFiles,         // every file
    // File dialogs.
    BitmapFilter,           // bitmaps
    DxfFilter,              // DXF drawings
    // Iteration dialog.
    ChooseElements,         // "Elegir elementos"
    AddDestination,         // "Añadir elementos destino"
    DeleteButton,           // "Eliminar"
    IterationCount,         // "Número de iteraciones"
    NewIteration,           // "Nueva iteración"
    IterationListLabel,     // the label of the lists' lines
    // Element dialogs.
    ShowElementToggle,      // "(ver/no ver) elemento"
    ShowNameToggle,         // "(ver/no ver) nombre"
    NameLabel,              // "Nombre"
    UnitButton,             // "U"
    HorizontalButton,       // "HOR"
    LastLevelButton,        // "F"
    PointCopiesButton,      // "P"
    OwnColourButton,        // "C"
    ParamColoursButton,     // "cf"
    PointCountLabel,        // "número de puntos"
    InvertButton,           // "inv"
    EditElementCaption,     // "Editar elemento"
    ConstructionListCaption,// caption of the construction list
    EditParameterCaption,   // "Modificar parámetro"
    ValueLabel,             // parameter dialog: value
    MinimumLabel,           // parameter dialog: minimum
    MaximumLabel,           // parameter dialog: maximum
    ParametricColourCaption,// "Color paramétrico"
    ParametricFillCaption,  // "Color de relleno paramétrico"
    FirstElement,           // "primer elemento"
    LastElement,            // "último elemento"
    // Step-by-step replay and animation.
    ReplayCaption,          // caption of the replay dialog
    NoSteps,                // the replay label when the construction has no step
    KeepConstructionQuestion, // "¿ Mantener la construcción en este paso ?"
    AnimationCaption,       // caption of the animation dialog
    SpeedLabel,             // animation speed
    // Printing.
    PrintCaption,           // caption of the print dialog
    PlaneSizeLabel,         // "Tamaño del plano :"
    MagnificationLabel,     // "Ampliación :"
    PrintButton,            // "imprimir"
    PrinterOptionsButton,   // "opciones"
    CopiesLabel,            // "número de copias"
    NoPrinter,              // "There is no default printer currently selected"
    PrintBitmapQuestion,    // confirmation of "Imprimir bitmap"
    // Expressions.
    ExpressionTooLong,      // "La expresión está limitada a 100 caracteres"
    // Options.
    GeneralOptionsCaption,  // "Opciones generales"
    PickDistanceLabel,      // "Distancia máxima de detección (píxels)"
    PlaneSizeOptionLabel,   // "Ancho y Alto del plano (píxels)"
    LocusPointsLabel,       // "Número de puntos en un nuevo lugar geométrico"
    NameDistanceLabel,      // maximum name-to-element distance
    ParameterStepLabel,     // initial step of the "+" and "-" keys
    DecimalsLabel,          // "Número de decimales en pantalla"
    HideMacroIntermediates, // "ocultar los elementos intermedios al instanciar una macro"
    HorizontalTables,       // "Dirección horizontal para las nuevas tablas"
    ReplayFromLast,         // "Iniciar paso a paso en el último elemento"
    AdaptCursorColour,      // "Adaptar el mensaje del cursor a lo detectado"
    MarkRotationCentre,     // mark the rotation centre
    ButtonSizeLabel,        // tool-button size
    NewIterationsLabel,     // iterations of a new iteration
    ExportScaleLabel,       // scale of the exported drawing
    BackgroundColour,       // "Color de fondo"
    HiddenColour,           // colour of hidden elements
    SelectedColour,         // colour of selected elements
    LengthUnitLabel,        // length unit
    AngleUnitLabel,         // angle unit
    PixelsPerUnit,          // "Pixels / cm"
    ConstantLengthsZoom,    // "Medidas de longitud constantes con Zoom"
    CoordinateSystemLabel,  // coordinate system
    AssignLength,           // "Asignar longitud"
    OnlyIntegersBetween,    // "Solo valen enteros entre"
    AndWord,                // the word between the two bounds of a range
    OnlyIntegers10And,      // "Solo valen enteros entre 10 y"
    OnlyIntegers2And20,     // "Solo valen enteros entre 2 y 20"
    OnlyIntegers20And100,   // "Solo valen enteros entre 20 y 100"
    OnlyReal0And1000,       // "Solo vale real entre 0 y 1000"
    OnlyDecimals0And8,      // the decimals warning
    AppearanceCaption,      // "Aspecto de los elementos"
    SchemesLabel,           // "Esquemas:"
    SchemeCurrent,          // scheme 0: the current document
    SchemeSaved,            // scheme 1: the saved options
    SchemeDark,             // schemes 2, 4, 6, 8
    SchemeLight,            // schemes 3, 5, 7, 9
    GroupPoints,            // "puntos"
    GroupLines,             // "rectas,ejes"
    GroupRays,              // "semirectas"
    GroupSegments,          // "segmentos"
    GroupPolygons,          // "polígonos"
    GroupCircles,           // "circunferencias"
    GroupArcs,              // "arcos"
    GroupAngles,            // "ángulos"
    GroupLoci,              // "lugares geométricos"
    GroupIterations,        // "iteración"
    GroupGrids,             // "cuadrícula"
    ColourLabel,            // colour of a group
    ShapeLabel,             // shape of a group
    FontsCaption,           // "Tipos de Letra"
    CursorMessagesFont,     // "Mensajes del cursor"
    ClickToChange,          // "Haga clic para cambiar"
    FontSample,             // "prueba"
    FirstFont,              // the four document fonts, in the document's order
    NamesFont,
    NumbersFont,
    TextsFont,
    SaveOptionsQuestion,    // "¿ Guardar las opciones actuales ?"
    RestoreOptionsQuestion, // question of "Cargar opciones originales"
    Count                   // the named messages of the first range
};

// Named messages of the second range, after the later tools' prompts and the verdicts: the
// language-file id of slot k is 2000 + k - 200.
enum : int {
    SecondRangeFirst = 247,
    // Macros.
    MacrosCaption = SecondRangeFirst, // "Macros"
    NewMacroLabel,          // " Nueva Macro: "
    InitialElements,        // "Elementos Iniciales"
    FinalElements,          // "Elementos Finales"
    CompleteMacro,          // "Completar Macro"
    SaveMacro,              // "Guardar macro"
    LoadMacros,             // "Cargar macros"
    RenameMacro,            // "Cambiar Nombre"
    DeleteMacro,            // "Eliminar macro"
    MacroNamePrompt,        // "Nombre para la macro"
    MacroNeedsName,         // "Debe tener un nombre"
    NotFinalElement,        // "No puede ser un elemento final"
    LoadAllMacros,          // first item of the loading pop-up menu
    MacroFileHeading,       // heading of the loading pop-up menu
    MacroTableFull,         // no free macro slot
    HelpButton,             // the dialogs' help button
    // Languages.
    LanguageCaption,        // "QORV - Language": the language chooser
    QtLanguageCode,         // "es": the language of the system's own dialogs
    AboutText,              // the about box
    // qorv-cli.
    CliUsage,               // "uso:"
    CliFile,                // the words that stand for the arguments in the usage text
    CliInput,
    CliOutput,
    CliText,
    CliWidth,
    CliHeight,
    CliName,
    CliNoExample,           // "no hay ningún ejemplo"
    CliExamples,            // "los ejemplos son:"
    // Options dialogs.
    PageGeneral,            // "General"
    PageDocument,           // "Documento"
    PageOther,              // "Otras"
    ElementsGroup,          // "Elementos"
    TextColoursGroup,       // "Color de los textos"
    AntialiasedDrawing,     // "Dibujo suavizado (AA)"
    FontSampleChars,        // "AaBb123": the font sample after "prueba "
    // Macro dialog.
    LoadMacroFile,          // first item of the "Cargar macros" menu: a macro file
    MacrosOfDocuments,      // heading of the "Cargar macros" menu: the other documents' macros
    MacroUp,                // hint of B_MacUp
    MacroDown,              // hint of B_MacDw
    // qorv-cli render.
    CliRenderSizes,         // the sizes "render" takes, under its usage line
    CliImageTooLarge,       // an image above the limit; "%1" and "%2" are its width and height

    SecondRangeEnd
};

// Named messages of the third range, ids 3000..3399 for slots 300..699: the labels of the later
// windows and dialogs, one block of slots per feature so that each grows on its own.
enum : int {
    ThirdRangeFirst = 300,

    // Application shell, help and about: slots 300..339.
    ShellFirst = 300,
    HelpCaption = ShellFirst, // "Ayuda de QORV": the help window
    HelpBack,                 // "Atrás": the help window's back button
    AboutCaption,             // "Acerca de QORV"
    WebAddress,               // the program's web page; empty: the menu item stays disabled

    ShellEnd,

    // Calculator, parameters and functions: slots 340..399.
    CalcFirst = 340,
    CalcClear = CalcFirst, // "C": B_C
    CalcEvaluate, // "=": B_exe
    CalcCoordX, // "x o r": label of Ed_cx
    CalcCoordY, // "y o theta": label of Ed_cy
    CalcRepresent, // "Representar": B_rep
    CalcEnd,

    // Iteration: slots 400..439.
    IterFirst = 400,
    IterDialogCaption = IterFirst, // "Iteración"
    IterCountPrompt,               // count mode: click a number or elsewhere

    IterEnd,

    // Export and print: slots 440..499.
    ExportFirst = 440,
    ExportSvgItem = ExportFirst, // "Exportar a SVG..."
    ExportPdfItem,          // "Exportar a PDF..."
    ExportTikzItem,         // "Exportar a LaTeX (TikZ)..."
    SvgFilter,              // the file types of the save dialogs
    PdfFilter,
    TikzFilter,
    CliRenderTypes,         // the file types "render" writes, under its usage line
    ExportWebItem,          // "Exportar a página web..."
    WebFilter,              // "Páginas web (*.html)"
    WebNotBuilt,            // the page's engine module was not built

    ExportEnd,

    // Traces, animation, step-by-step replay and viewer mode: slots 500..559.
    AnimFirst = 500,
    AnimPlay = AnimFirst, // "Animar"
    AnimDirection, // "Cambiar el sentido"
    AnimPause, // "Pausa"
    AnimRemove, // "Quitar de la animación"
    ReplayFirstStep, // "Primer paso"
    ReplayPreviousStep, // "Paso anterior"
    ReplayNextStep, // "Paso siguiente"
    ReplayLastStep, // "Último paso"
    ReplayPlay, // "Avanzar solo"
    ReplayAccept, // "Aceptar"
    ReplayCancel, // "Cancelar"
    ReplayInterval1, // "0.1 s."
    ReplayInterval2, // "0.2 s."
    ReplayInterval3, // "0.3 s."
    ReplayInterval4, // "0.4 s."
    ReplayInterval5, // "0.5 s."
    ReplayInterval6, // "0.6 s."
    ReplayInterval7, // "0.7 s."
    ReplayInterval8, // "0.8 s."
    ReplayInterval9, // "0.9 s."
    ReplayInterval10, // "1.0 s."
    ReplayInterval11, // "2.0 s."
    ReplayInterval12, // "3.0 s."
    ReplayInterval13, // "4.0 s."
    ReplayInterval14, // "5.0 s."
    ReplayInterval15, // "10 s."
    AnimEnd,

    // Element dialogs: slots 560..599.
    ElemFirst = 560,
    ElemDecimals = ElemFirst, // "Decimales"
    ElemAccept, // "Aceptar"
    ElemCancel, // "Cancelar"
    ElemShowAll, // "Ver todo"
    ElemUnitButton, // "U"
    ElemUnitNone, // "sin unidad"
    ElemUnitLength, // "longitud"
    ElemUnitArea, // "área"
    ElemUnitAngle, // "ángulo"
    ElemFontButton, // "Tipo de letra..."
    ElemFullAngle, // "0-2pi"
    ElemInvert, // "inv"
    ElemRangeFrom, // "desde"
    ElemRangeTo, // "hasta"
    ElemMinimum, // "mínimo"
    ElemMaximum, // "máximo"
    ElemIncrement, // "incremento"
    ElemValue, // "valor"
    ElemRedefine, // "Redefinir"
    ElemRedefineParents, // "Redefinir padres"
    ElemRedefineList, // "Redefinir lista"
    ElemHorizontal, // "HOR"
    ElemSameScale, // "x = y"
    ElemIterLast, // "F"
    ElemIterPoints, // "P"
    ElemIterColour, // "C"
    ElemIterFixedColour, // "cf"
    ElemRgb, // "RGB"
    ElemEnd,

    // Texts, pictures and parametric colours: slots 600..659.
    ColTextFirst = 600,
    ColTextFont = ColTextFirst, // "Fuente"
    ColTextBold, // "N"
    ColTextItalic, // "K"
    ColTextUnderline, // "S"
    ColTextColour, // "Color"
    ColTextGreek, // "Letras griegas"
    ColTextPictures, // "Imágenes (*.bmp *.png *.jpg *.jpeg *.gif)"
    ColTextUnreadablePicture, // "No se puede leer la imagen"
    ColTextPreview, // "Vista previa"
    ColTextRainbow, // "Arco iris"
    ColTextGreys, // "Grises"
    ColTextTwoColours, // "Entre dos colores"
    ColTextSaturation, // "Saturación"
    ColTextBrightness, // "Brillo"
    ColTextEnd,

    // Dialogs and tools, later additions: slots 680..699.
    ToolDlgFirst = 680,
    PngFilter = ToolDlgFirst, // "Imágenes PNG (*.png)"
    ExportFactorLowered,      // the export factor lowered to stay within the largest picture
    ImageSideLimit,           // a picture side out of bounds; "%1" is the largest side
    ImagePixelLimit,          // a picture of too many pixels; "%1" is the largest count
    ImageNoMemory,            // "No hay memoria suficiente para la imagen"
    PrintToPdfQuestion,       // no printer: "¿ Imprimir en un archivo PDF ?"
    LanguagePrompt,           // the language chooser's prompt
    UnknownFileType,          // a file type no export writes; "%1" is its extension
    ToolDlgEnd,

    ThirdRangeEnd = 700
};
static_assert(ShellEnd <= CalcFirst && CalcEnd <= IterFirst && IterEnd <= ExportFirst &&
              ExportEnd <= AnimFirst && AnimEnd <= ElemFirst && ElemEnd <= ColTextFirst &&
              ColTextEnd <= ToolDlgFirst && ToolDlgEnd <= ThirdRangeEnd);
}
// clang-format on

// Extra names of the second group of 80-byte name slots, after the method names.
namespace Name {
enum : int {
    SmallButtons,  // "Pequeño"
    NormalButtons, // "Normal"
    LargeButtons,  // "Grande"
    Rectangular,   // "rectangulares (x,y)"
    Polar,         // "polares (r,theta)"
    TypeYofX,      // "y=f(x)": the four function types
    TypeXofY,
    TypeRofW,
    TypeWofR,
    Count
};
}

// A text set on components of the main window (menus, menu items, tool buttons) rather than
// kept in a slot: `names` lists, separated by blanks, the object names that show it (a menu item
// and the tool button that does the same); a button shows it as its hint.
struct ComponentRow {
    int id;
    const char* names;
    const char* text;
};

// The table of texts: every language-file id names exactly one slot or component text.
class UiTextTable {
  public:
    static constexpr int NameSlotSize = 80;
    static constexpr int MessageSlotSize = 256;
    // Kind names 0..24, then "lado", "eje x", "eje y", "coordenada x o r", "coordenada y o theta".
    static constexpr int KindNameSlots = 30;
    static constexpr int MethodNameSlots = Method::Count; // names: the method table's
    static constexpr int CheckWordSlots = 10;             // true/false pairs of checks 50..54
    // Ids 1000..1199 set slots 0..199, ids 2000..2099 slots 200..299, ids 3000..3399 slots
    // 300..699.
    static constexpr int MessageSlots = 700;
    static constexpr int SecondRangeSlot = 200;
    static constexpr int ThirdRangeSlot = 300;
    // One status-bar prompt per tool mode (0..83). Ids 500..546 set the prompts of tools 0..46;
    // the later tools' prompts live in the second message range.
    static constexpr int ToolPromptSlots = 84;
    static constexpr int PromptIdTools = 47;
    static constexpr int LaterPromptsSlot = SecondRangeSlot; // 200..236
    static constexpr int CheckWordsSlot = LaterPromptsSlot + ToolPromptSlots - PromptIdTools; // 237
    static constexpr int FreeSecondRangeSlot = CheckWordsSlot + CheckWordSlots;               // 247

    UiTextTable() { fillBuiltInTexts(); }
    void fillBuiltInTexts();

    const std::string& kindName(int kind) const;
    const std::string& methodName(int method) const;
    const std::string& name(int slot) const; // Name::
    // Verdict word of property check method 50..54.
    const std::string& checkWord(int method, bool holds) const;
    const std::string& message(int slot) const;
    const std::string& toolPrompt(int tool) const;
    // The heading of a list of element kinds (language id 30).
    const std::string& kindsHeading() const { return kindsHeading_; }
    // The text of a component, by one of its object names; null for a name the table lacks.
    const std::string* componentText(std::string_view objectName) const;

    // Store a text in a slot, cut to fit the slot (79 or 255 characters).
    void setKindName(int slot, std::string_view text);
    void setMethodName(int slot, std::string_view text);
    void setName(int slot, std::string_view text);
    void setCheckWord(int slot, std::string_view text);
    void setMessage(int slot, std::string_view text);
    void setToolPrompt(int tool, std::string_view text);

    // ---- language-file ids
    // Stores `utf8` in what `id` names (a negative id counts as its absolute value); false for an
    // id that names nothing.
    bool setById(int id, std::string_view utf8);
    // How many characters the slot of `id` holds (79 or 255); 0 for an id that names nothing.
    static int slotCharacters(int id);
    // The current text of what `id` names, or null.
    const std::string* textById(int id) const;
    // Every id whose built-in text is not empty, ascending: what a complete language file sets.
    static const std::vector<int>& ids();
    static std::span<const ComponentRow> components();

  private:
    std::array<std::string, KindNameSlots> kindNames_;
    std::string kindsHeading_;
    std::array<std::string, MethodNameSlots + Name::Count> names_; // methods, then Name::
    std::array<std::string, MessageSlots> messages_;
    std::array<std::string, PromptIdTools> toolPrompts_;
    std::vector<std::string> components_; // by row of components()
};

// The program's table (one per process; the main window fills it at start-up).
UiTextTable& uiText();

// The length of the longest start of `text` of at most `max` bytes that does not end inside a
// UTF-8 sequence, and that start: every text that is cut is cut there.
size_t cutLength(std::string_view text, size_t max);
std::string cut(std::string_view text, size_t max);

} // namespace qorv
