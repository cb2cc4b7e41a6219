#include "model/uitext.h"

#include "model/methodtable.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace qorv {

namespace {

const std::string kEmpty;

// Built-in texts are UTF-8 in the source; files convert at their edges.
// clang-format off
constexpr const char* kKindNames[UiTextTable::KindNameSlots] = {
    "punto", "recta", "semirecta", "segmento", "polígono", "circunferencia", "arco", "ángulo",
    "lugar geométrico", "texto", "nombre", "número", "función", "ejes", "tabla", "ecuación",
    "coordenadas", "propiedad", "cónica", "intersección", "cuadrícula", "botón", "bitmap",
    "vector", "iteración", "lado", "eje x", "eje y", "coordenada x o r", "coordenada y o theta"};

constexpr const char* kCheckWords[UiTextTable::CheckWordSlots] = {
    "paralelos",  "no paralelos",  "perpendicular", "no perpendicular", "pertenece",
    "no pertenece", "equidistan", "no equidistan",  "alineados",        "no alineados"};

constexpr const char* kMessages[Msg::Count] = {
    "no es un archivo válido",
    "error de escritura",
    "el archivo fue escrito por una versión más reciente del programa",
    "la expresión no es válida",
    "Redefinición no válida",
    "Datos de entrada no válidos",
    "No se encuentran ficheros de lenguaje",
    "No se ha encontrado el archivo de ayuda",
    "¿Guardar los cambios realizados al documento?",
    "Cerrar",
    "Ocultar/Ver",
    "Movimiento",
    "Nuevo documento",
    "Eliminar Todo",
    "Seleccionar hijos",
    "Seleccionar padres",
    "Seleccionar todo",
    "Seleccionar grupo...",
    "Abrir...",
    "Ver lo oculto",
    "Deshacer",
    "Rehacer",
    "no existente",
    "&Archivo",
    "&Ver",
    "Salir",
    "Mover la Pantalla...",
    "Pantalla Completa",
    "AA",
    "Mover la pantalla",
    "Cambiar el tamaño del plano",
    "Aceptar",
    "Cancelar",
    "QORV",
    "mm",
    "cm",
    "m",
    "km",
    "RAD",
    "DEG",
    "GRA",
    "varios elementos",
    "Botones Principales",
    "Botones de edición",
    "Otros colores...",
    "Color según parámetro",
    "&Edición",
    "Cortar",
    "Copiar",
    "Pegar",
    "Pegar imagen",
    "no se puede abrir el archivo",
    "Documento",
    "Existen muchos documentos abiertos",
    "&Documento",
    "&Nuevo",
    "&Abrir...",
    "Abrir recientes",
    "&Guardar",
    "Guardar Como...",
    "Cerrar",
    "Cerrar todo",
    "&Siguiente",
    "&Anterior",
    "Primero",
    "Ultimo",
    "Lista documentos...",
    "Lista documentos",
    "Primero",
    "Anterior",
    "Siguiente",
    "Último",
    "Guardar",
    "Eliminar lista de recientes",
    "¿Eliminar la lista de archivos recientes?",
    "(vacía)",
    "Barra de documento",
    "Documentos y macros (*.qrv *.mac)",
    "Documentos (*.qrv)",
    "Macros (*.mac)",
    "Todos los archivos (*)",
    "Imágenes BMP (*.bmp)",
    "Dibujos DXF (*.dxf)",
    "Elegir elementos",
    "Añadir elementos destino",
    "Eliminar",
    "Número de iteraciones",
    "Nueva iteración",
    "Elementos",
    "(ver/no ver) elemento",
    "(ver/no ver) nombre",
    "Nombre",
    "U",
    "HOR",
    "F",
    "P",
    "C",
    "cf",
    "número de puntos",
    "inv",
    "Editar elemento",
    "Lista de la construcción",
    "Modificar parámetro",
    "Valor",
    "Mínimo",
    "Máximo",
    "Color paramétrico",
    "Color de relleno paramétrico",
    "primer elemento",
    "último elemento",
    "Paso a paso",
    "La construcción no tiene pasos",
    "¿ Mantener la construcción en este paso ?",
    "Animación",
    "Velocidad",
    "Imprimir",
    "Tamaño del plano :",
    "Ampliación :",
    "imprimir",
    "opciones",
    "número de copias",
    "No hay ninguna impresora instalada",
    "¿ Imprimir el dibujo de la pantalla ?",
    "La expresión está limitada a 100 caracteres",
    "Opciones generales",
    "Distancia máxima de detección (píxels)",
    "Ancho y Alto del plano (píxels)",
    "Número de puntos en un nuevo lugar geométrico",
    "Distancia máxima del nombre al elemento (píxels)",
    "Incremento inicial de los parámetros (teclas + y -)",
    "Número de decimales en pantalla",
    "ocultar los elementos intermedios al instanciar una macro",
    "Dirección horizontal para las nuevas tablas",
    "Iniciar paso a paso en el último elemento",
    "Adaptar el mensaje del cursor a lo detectado",
    "Marcar el centro de rotación",
    "Tamaño de los botones",
    "Iteraciones de una nueva iteración",
    "Escala del dibujo exportado",
    "Color de fondo",
    "Color de los elementos ocultos",
    "Color de los elementos seleccionados",
    "Unidad de longitud",
    "Unidad de ángulo",
    "Pixels / cm",
    "Medidas de longitud constantes con Zoom",
    "Sistema de coordenadas",
    "Asignar longitud",
    "Solo valen enteros entre",
    "y",
    "Solo valen enteros entre 10 y",
    "Solo valen enteros entre 2 y 20",
    "Solo valen enteros entre 20 y 100",
    "Solo vale real entre 0 y 1000",
    "Solo valen enteros entre 0 y 8",
    "Aspecto de los elementos",
    "Esquemas:",
    "Documento actual",
    "Opciones guardadas",
    "Fondo oscuro",
    "Fondo claro",
    "puntos",
    "rectas,ejes",
    "semirectas",
    "segmentos",
    "polígonos",
    "circunferencias",
    "arcos",
    "ángulos",
    "lugares geométricos",
    "iteración",
    "cuadrícula",
    "Color",
    "Forma",
    "Tipos de Letra",
    "Mensajes del cursor",
    "Haga clic para cambiar",
    "prueba",
    "Mensajes",
    "Nombres",
    "Números",
    "Textos",
    "¿ Guardar las opciones actuales ?",
    "¿ Cargar las opciones originales ?",
};

// The named messages of the second range, from Msg::SecondRangeFirst.
constexpr const char* kSecondMessages[Msg::SecondRangeEnd - Msg::SecondRangeFirst] = {
    "Macros",
    " Nueva Macro: ",
    "Elementos Iniciales",
    "Elementos Finales",
    "Completar Macro",
    "Guardar macro",
    "Cargar macros",
    "Cambiar Nombre",
    "Eliminar macro",
    "Nombre para la macro",
    "Debe tener un nombre",
    "No puede ser un elemento final",
    "Todas las macros",
    "Macros del archivo",
    "No caben más macros en el documento",
    "Ayuda",
    "QORV - Language",
    "es",
    "QORV: geometría dinámica en el plano",
    "uso:",
    "ARCHIVO",
    "ENTRADA",
    "SALIDA",
    "TEXTO",
    "ANCHO",
    "ALTO",
    "NOMBRE",
    "no hay ningún ejemplo",
    "los ejemplos son:",
    "General",
    "Documento",
    "Otras",
    "Elementos",
    "Color de los textos",
    "Dibujo suavizado (AA)",
    "AaBb123",
    "Cargar un archivo de macro...",
    "Macros de otros documentos",
    "Subir la macro",
    "Bajar la macro",
    "(cada lado de 1 a 16384 píxeles, a lo sumo 100 megapíxeles en total)",
    "la imagen de %1 x %2 píxeles pasa del límite de 100 megapíxeles",
};

constexpr const char* kToolPrompts[UiTextTable::ToolPromptSlots] = {
    "Mover los elementos libres o editar",                                  // 0
    "Punto Libre o Punto en elemento",                                      // 1
    "Recta dado 1 punto o dados 2 puntos",                                  // 2
    "Semirecta dado 1 punto o dados 2 puntos",                              // 3
    "Cónica por 5 puntos",                                                  // 4
    "Circunferencia dado el centro o dados el centro y un punto",           // 5
    "Circunferencia dados 2 puntos que definen el radio y dado el centro",  // 6
    "Recta Paralela",                                                       // 7
    "Recta Perpendicular",                                                  // 8
    "Segmento dados dos puntos",                                            // 9
    "Polígono dados 3 o más puntos",                                        // 10
    "Polígono regular",                                                     // 11
    "Vector dados dos puntos",                                              // 12
    "Suma de dos vectores aplicada en un punto",                            // 13
    "Arco dados 3 puntos",                                                  // 14
    "Punto medio dados 2 puntos",                                           // 15
    "Bisectriz dados 3 puntos",                                             // 16
    "Mediatriz dados 2 puntos",                                             // 17
    "Punto(s) de Intersección de dos elementos",                            // 18
    "Lugar Geométrico",                                                     // 19
    "Simetría central",                                                     // 20
    "Simetría axial",                                                       // 21
    "Traslación según un vector o dos puntos",                              // 22
    "Giro dados el centro y el ángulo",                                     // 23
    "Homotecia dados el centro y la razón",                                 // 24
    "Inversión de un punto respecto de una circunferencia",                 // 25
    "Comprobar paralelismo",                                                // 26
    "Comprobar perpendicularidad",                                          // 27
    "Comprobar pertenencia",                                                // 28
    "Comprobar equidistancia",                                              // 29
    "Comprobar alineación",                                                 // 30
    "Punto desplazado según número",                                        // 31
    "Punto con coordenadas",                                                // 32
    "Representar puntos",                                                   // 33
    "Longitud - distancia",                                                 // 34
    "Medir un ángulo dados 3 puntos, un ángulo o un arco",                  // 35
    "Área de un polígono o de una circunferencia",                          // 36
    "Pendiente de una recta",                                               // 37
    "Proporción entre dos longitudes",                                      // 38
    "Ejes de coordenadas",                                                  // 39
    "Ecuación,coordenadas",                                                 // 40
    "Definir cuadrícula a unos ejes",                                       // 41
    "Calcular",                                                             // 42
    "Parámetro",                                                            // 43
    "Función",                                                              // 44
    "Representar función",                                                  // 45
    "Ligar/Desligar punto en elemento",                                     // 46
    "Activar/Desactivar traza",                                             // 47
    "Animación",                                                            // 48
    "Rotar selección",                                                      // 49
    "Zoom: arrastrar hacia arriba para ampliar, hacia abajo para reducir",  // 50
    "Tabla de valores",                                                     // 51
    "Aplicar macro",                                                        // 52
    "Seleccionar los elementos iniciales",                                  // 53
    "Seleccionar los elementos finales",                                    // 54
    "Texto",                                                                // 55
    "Angulo dados 3 puntos",                                                // 56
    "Botón Ocultar/Ver",                                                    // 57
    "Botón movimiento",                                                     // 58
    "Insertar bitmap",                                                      // 59
    "Iteración",                                                            // 60
    "Hacer visible o invisible un elemento",                                // 61
    "Editar elemento",                                                      // 62
    "Eliminar elemento",                                                    // 63
    "Tipo de letra",                                                        // 64
    "Color de línea",                                                       // 65
    "Color de relleno",                                                     // 66
    "Color de línea según parámetro",                                       // 67
    "Color de relleno según parámetro",                                     // 68
    "Punto normal",                                                         // 69
    "Punto de un píxel",                                                    // 70
    "Punto en cruz",                                                        // 71
    "Punto grande",                                                         // 72
    "Punto cuadrado",                                                       // 73
    "Punto hueco",                                                          // 74
    "Línea normal",                                                         // 75
    "Línea de puntos",                                                      // 76
    "Línea de trazo y punto",                                               // 77
    "Línea gruesa (5)",                                                     // 78
    "Línea gruesa (7)",                                                     // 79
    "Línea gruesa",                                                         // 80
    "Marca de ángulo simple",                                               // 81
    "Marca de ángulo doble",                                                // 82
    "Marca de ángulo triple",                                               // 83
};

// Ids 550..653: the texts of the main window's components. Menu items that choose a tool of the
// "&Construcción", "&Medir - Calcular" and "&Transformar - Comprobar" menus show that tool's
// prompt; the items of "Seleccionar grupo" show the kind names.
constexpr ComponentRow kComponents[] = {
    {550, "M_archivo", "&Archivo"},
    {551, "M_nuevo B_doc_nuevo", "&Nuevo"},
    {552, "M_abrir", "&Abrir..."},
    {553, "M_recientes", "Abrir recientes"},
    {554, "M_guardar B_doc_guardar", "&Guardar"},
    {555, "M_guardar_como", "Guardar Como..."},
    {556, "M_export_dib", "Exportar dibujo..."},
    {557, "M_export_dxf", "Exportar a DXF..."},
    {558, "M_cerrar B_doc_cerrar", "Cerrar"},
    {559, "M_cerrar_todo", "Cerrar todo"},
    {560, "Imprimir1 B_doc_print", "Imprimir..."},
    {561, "M_print_btm", "Imprimir bitmap"},
    {562, "M_confimp", "Configurar Impresión..."},
    {563, "M_opciones", "Opciones"},
    {564, "M_salir", "Salir"},
    {565, "M_op_Gen", "Opciones generales..."},
    {566, "M_op_asp", "Aspecto de los elementos..."},
    {567, "M_op_Let", "Tipos de Letra..."},
    {568, "M_idioma", "Idioma..."},
    {569, "M_op_orig", "Cargar opciones originales"},
    {570, "M_op_save", "Guardar opciones"},
    {571, "M_elim_recientes", "Eliminar lista de recientes"},
    {572, "M_ver", "&Ver"},
    {573, "TodosElem1 B_todoelem B_visor_todoelem", "Ver lo oculto"},
    {574, "M_PasoaPaso", "Paso a Paso..."},
    {575, "M_lista", "Lista construcción "},
    {576, "MuePan1 B_MuePan B_visor_muepan", "Mover la Pantalla..."},
    {577, "PantallaCom B_pancom", "Pantalla Completa"},
    {578, "M_SelRot", "Rotar selección"},
    {579, "M_zoom", "Zoom"},
    {580, "M_anim", "Animación"},
    {581, "M_AA", "AA"},
    {582, "M_botprin", "Botones Principales"},
    {583, "M_botedi", "Botones de edición"},
    {584, "M_bardoc", "Barra de documento"},
    {585, "M_barest", "Barra de Estado"},
    {586, "M_modovisor B_visor_salirvisor", "Modo visor"},
    {587, "M_edicion", "&Edición"},
    {588, "M_undo B_undo B_visor_undo", "Deshacer"},
    {589, "M_redo B_redo B_visor_redo", "Rehacer"},
    {590, "M_cortar", "Cortar"},
    {591, "M_copiar", "Copiar"},
    {592, "M_pegar", "Pegar"},
    {593, "M_borrar", "Borrar"},
    {594, "M_seltodo", "Seleccionar todo"},
    {595, "M_selgrupo", "Seleccionar grupo"},
    {596, "M_selgrupos", "Seleccionar grupo..."},
    {597, "M_selpadres", "Seleccionar padres"},
    {598, "M_selhijos", "Seleccionar hijos"},
    {599, "M_copia_port B_copia_port", "Copiar al portapapeles"},
    {600, "M_pegar_imagen", "Pegar imagen"},
    {601, "Sel1", "Mover, editar"},
    {602, "M_editelem", "Editar elemento"},
    {603, "M_elimelem", "Eliminar elemento"},
    {604, "M_vernover", "Ocultar/Ver"},
    {605, "M_elimtodo", "Eliminar Todo"},
    {606, "M_redefpun", "Redefinir punto"},
    {607, "M_Angulo", "Angulo"},
    {608, "M_inbitmap", "Bitmap"},
    {609, "M_Texto", "Texto"},
    {610, "M_N_tabla", "Tabla de valores"},
    {611, "M_vernoverbot", "Botón Ocultar/Ver"},
    {612, "M_movbot", "Botón movimiento"},
    {613, "M_trazas", "Traza"},
    {614, "M_traza", "Traza"},
    {615, "M_traza_desactivar", "Desactivar trazas"},
    {616, "M_dibtodo", "Redibujar"},
    {617, "M_construccion", "&Construcción"},
    {618, "M_Lugar_G", "Lugar Geométrico"},
    {619, "M_medir", "&Medir - Calcular"},
    {620, "M_N_rep_fun", "Representar función"},
    {621, "M_transformar", "&Transformar - Comprobar"},
    {622, "M_iteracion", "Iteracion"},
    {623, "M_macros_menu", "&Macros"},
    {624, "M_macros", "Macros..."},
    {625, "M_documento", "&Documento"},
    {626, "M_siguiente", "&Siguiente"},
    {627, "M_anterior", "&Anterior"},
    {630, "M_primero", "Primero"},
    {635, "M_ultimo", "Ultimo"},
    {640, "M_doc_cerrar", "Cerrar"},
    {645, "M_doc_cerrartodo", "Cerrar todo"},
    {646, "M_lista_doc", "Lista documentos..."},
    {647, "M_ayuda", "A&yuda"},
    {648, "M_contenidos", "Contenidos"},
    {650, "M_paginaactual", "Página actual"},
    {651, "M_web", "QORV en Internet"},
    {652, "M_acerca", "Acerca de QORV..."},
    {653, "B_MacCon", "MacroConstrucciones"},
};

// The named messages of the third range, each with its slot; every feature keeps its own block.
struct SlotText {
    int slot;
    const char* text;
};
constexpr SlotText kThirdMessages[] = {
    // Application shell, help and about.
    {Msg::HelpCaption, "Ayuda de QORV"},
    {Msg::HelpBack, "Atrás"},
    {Msg::AboutCaption, "Acerca de QORV"},
    {Msg::WebAddress, ""},

    // Calculator, parameters and functions.
    {Msg::CalcClear, "C"},
    {Msg::CalcEvaluate, "="},
    {Msg::CalcCoordX, "x o r"},
    {Msg::CalcCoordY, "y o theta"},
    {Msg::CalcRepresent, "Representar"},

    // Iteration.
    {Msg::IterDialogCaption, "Iteración"},
    {Msg::IterCountPrompt, "Haz clic en un número, o en otro lugar para escribir el número de iteraciones"},

    // Export and print.
    {Msg::ExportSvgItem, "Exportar a SVG..."},
    {Msg::ExportPdfItem, "Exportar a PDF..."},
    {Msg::ExportTikzItem, "Exportar a LaTeX (TikZ)..."},
    {Msg::SvgFilter, "Dibujos SVG (*.svg)"},
    {Msg::PdfFilter, "Documentos PDF (*.pdf)"},
    {Msg::TikzFilter, "Documentos LaTeX con TikZ (*.tex)"},
    {Msg::CliRenderTypes, "(.png, .bmp, .svg, .pdf, .tex con TikZ o .dxf)"},
    {Msg::ExportWebItem, "Exportar a página web..."},
    {Msg::WebFilter, "Páginas web (*.html)"},
    {Msg::WebNotBuilt, "No se puede escribir la página web: falta su módulo del motor (se construye con scripts/build-web.sh)"},

    // Traces, animation, step-by-step replay and viewer mode.
    {Msg::AnimPlay, "Animar"},
    {Msg::AnimDirection, "Cambiar el sentido"},
    {Msg::AnimPause, "Pausa"},
    {Msg::AnimRemove, "Quitar de la animación"},
    {Msg::ReplayFirstStep, "Primer paso"},
    {Msg::ReplayPreviousStep, "Paso anterior"},
    {Msg::ReplayNextStep, "Paso siguiente"},
    {Msg::ReplayLastStep, "Último paso"},
    {Msg::ReplayPlay, "Avanzar solo"},
    {Msg::ReplayAccept, "Aceptar"},
    {Msg::ReplayCancel, "Cancelar"},
    {Msg::ReplayInterval1, "0.1 s."},
    {Msg::ReplayInterval2, "0.2 s."},
    {Msg::ReplayInterval3, "0.3 s."},
    {Msg::ReplayInterval4, "0.4 s."},
    {Msg::ReplayInterval5, "0.5 s."},
    {Msg::ReplayInterval6, "0.6 s."},
    {Msg::ReplayInterval7, "0.7 s."},
    {Msg::ReplayInterval8, "0.8 s."},
    {Msg::ReplayInterval9, "0.9 s."},
    {Msg::ReplayInterval10, "1.0 s."},
    {Msg::ReplayInterval11, "2.0 s."},
    {Msg::ReplayInterval12, "3.0 s."},
    {Msg::ReplayInterval13, "4.0 s."},
    {Msg::ReplayInterval14, "5.0 s."},
    {Msg::ReplayInterval15, "10 s."},

    // Element dialogs.
    {Msg::ElemDecimals, "Decimales"},
    {Msg::ElemAccept, "Aceptar"},
    {Msg::ElemCancel, "Cancelar"},
    {Msg::ElemShowAll, "Ver todo"},
    {Msg::ElemUnitButton, "U"},
    {Msg::ElemUnitNone, "sin unidad"},
    {Msg::ElemUnitLength, "longitud"},
    {Msg::ElemUnitArea, "área"},
    {Msg::ElemUnitAngle, "ángulo"},
    {Msg::ElemFontButton, "Tipo de letra..."},
    {Msg::ElemFullAngle, "0-2pi"},
    {Msg::ElemInvert, "inv"},
    {Msg::ElemRangeFrom, "desde"},
    {Msg::ElemRangeTo, "hasta"},
    {Msg::ElemMinimum, "mínimo"},
    {Msg::ElemMaximum, "máximo"},
    {Msg::ElemIncrement, "incremento"},
    {Msg::ElemValue, "valor"},
    {Msg::ElemRedefine, "Redefinir"},
    {Msg::ElemRedefineParents, "Redefinir padres"},
    {Msg::ElemRedefineList, "Redefinir lista"},
    {Msg::ElemHorizontal, "HOR"},
    {Msg::ElemSameScale, "x = y"},
    {Msg::ElemIterLast, "F"},
    {Msg::ElemIterPoints, "P"},
    {Msg::ElemIterColour, "C"},
    {Msg::ElemIterFixedColour, "cf"},
    {Msg::ElemRgb, "RGB"},

    // Texts, pictures and parametric colours.
    {Msg::ColTextFont, "Fuente"},
    {Msg::ColTextBold, "N"},
    {Msg::ColTextItalic, "K"},
    {Msg::ColTextUnderline, "S"},
    {Msg::ColTextColour, "Color"},
    {Msg::ColTextGreek, "Letras griegas"},
    {Msg::ColTextPictures, "Imágenes (*.bmp *.png *.jpg *.jpeg *.gif)"},
    {Msg::ColTextUnreadablePicture, "No se puede leer la imagen"},
    {Msg::ColTextPreview, "Vista previa"},
    {Msg::ColTextRainbow, "Arco iris"},
    {Msg::ColTextGreys, "Grises"},
    {Msg::ColTextTwoColours, "Entre dos colores"},
    {Msg::ColTextSaturation, "Saturación"},
    {Msg::ColTextBrightness, "Brillo"},

    // Dialogs and tools, later additions.
    {Msg::PngFilter, "Imágenes PNG (*.png)"},
    {Msg::ExportFactorLowered, "Con el factor %1 el dibujo pasaría del tamaño máximo de imagen: se exporta con el factor %2 (%3 x %4 píxeles)."},
    {Msg::ImageSideLimit, "La imagen debe medir entre 1 y %1 píxeles de lado"},
    {Msg::ImagePixelLimit, "La imagen puede tener como máximo %1 píxeles"},
    {Msg::ImageNoMemory, "No hay memoria suficiente para la imagen"},
    {Msg::PrintToPdfQuestion, "¿ Imprimir en un archivo PDF ?"},
    {Msg::LanguagePrompt, "Elige el idioma - Choose the language:"},
    {Msg::UnknownFileType, "Tipo de archivo desconocido \"%1\":"},
};

constexpr const char* kNames[Name::Count] = {
    "Pequeño", "Normal", "Grande", "rectangulares (x,y)", "polares (r,theta)",
    "y=f(x)",  "x=f(y)", "r=f(w)", "w=f(r)"};

constexpr const char* kKindsHeading = "Tipos de elemento";
// clang-format on

static_assert(Msg::Count <= UiTextTable::SecondRangeSlot, "the first message range is full");
static_assert(Msg::SecondRangeFirst == UiTextTable::FreeSecondRangeSlot);
static_assert(Msg::SecondRangeEnd <= UiTextTable::MessageSlots, "the second message range is full");
static_assert(std::size(kComponents) == 89, "ids 550..627, 630, 635, 640, 645..648, 650..653");

// Language ids 1..39: the kind-name slot of each id; -1 for id 30 (the kinds heading) and for
// ids 11..19, which name nothing. Kind 23 (vector) has no id.
// clang-format off
constexpr int kKindSlotOfId[40] = {
    -1,  0,  1,  2,  3,  4,  5,  6,  7,  8, 24,   // 0..10
    -1, -1, -1, -1, -1, -1, -1, -1, -1,           // 11..19
     9, 10, 11, 13, 14, 15, 16, 25, 26, 27,       // 20..29
    -1, 28, 29, 18, 12, 17, 19, 20, 21, 22};      // 30..39
// clang-format on
constexpr int KindsHeadingId = 30;
constexpr int FirstNameId = 100, LastNameId = 182;
constexpr int FirstPromptId = 500;
constexpr int FirstMessageId = 1000, SecondMessageId = 2000, ThirdMessageId = 3000;

// Cut to at most max characters (slots hold characters, not bytes).
std::string cutChars(std::string_view text, size_t max) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue; // continuation byte
        if (chars == max) return std::string(text.substr(0, i));
        ++chars;
    }
    return std::string(text);
}

template <size_t N> const std::string& at(const std::array<std::string, N>& a, int i) {
    return i >= 0 && size_t(i) < N ? a[size_t(i)] : kEmpty;
}

// A negative id counts as its absolute value; -1 for the one that has none.
int absoluteId(int id) {
    if (id >= 0) return id;
    return id == std::numeric_limits<int>::min() ? -1 : -id;
}

int componentRow(int id) {
    for (size_t r = 0; r < std::size(kComponents); ++r)
        if (kComponents[r].id == id) return int(r);
    return -1;
}

} // namespace

size_t cutLength(std::string_view text, size_t max) {
    if (text.size() <= max) return text.size();
    size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

std::string cut(std::string_view text, size_t max) {
    return std::string(text.substr(0, cutLength(text, max)));
}

void UiTextTable::fillBuiltInTexts() {
    for (int i = 0; i < KindNameSlots; ++i)
        kindNames_[size_t(i)] = kKindNames[i];
    kindsHeading_ = kKindsHeading;
    for (const MethodRow& row : methodTable())
        names_[size_t(row.code)] = row.name;
    for (int i = 0; i < Name::Count; ++i)
        names_[size_t(MethodNameSlots + i)] = kNames[i];
    for (auto& m : messages_)
        m.clear();
    for (int i = 0; i < Msg::Count; ++i)
        messages_[size_t(i)] = kMessages[i];
    for (int i = Msg::SecondRangeFirst; i < Msg::SecondRangeEnd; ++i)
        messages_[size_t(i)] = kSecondMessages[i - Msg::SecondRangeFirst];
    for (const SlotText& row : kThirdMessages)
        messages_[size_t(row.slot)] = row.text;
    for (int i = 0; i < CheckWordSlots; ++i)
        messages_[size_t(CheckWordsSlot + i)] = kCheckWords[i];
    for (int i = 0; i < ToolPromptSlots; ++i)
        setToolPrompt(i, kToolPrompts[i]);
    components_.assign(std::size(kComponents), std::string());
    for (size_t r = 0; r < std::size(kComponents); ++r)
        components_[r] = kComponents[r].text;
}

const std::string& UiTextTable::kindName(int kind) const {
    return at(kindNames_, kind);
}
const std::string& UiTextTable::methodName(int method) const {
    return method >= 0 && method < MethodNameSlots ? names_[size_t(method)] : kEmpty;
}
const std::string& UiTextTable::name(int slot) const {
    return slot >= 0 && slot < Name::Count ? names_[size_t(MethodNameSlots + slot)] : kEmpty;
}
const std::string& UiTextTable::message(int slot) const {
    return at(messages_, slot);
}
const std::string& UiTextTable::toolPrompt(int tool) const {
    if (tool >= PromptIdTools && tool < ToolPromptSlots)
        return messages_[size_t(LaterPromptsSlot + tool - PromptIdTools)];
    return at(toolPrompts_, tool);
}

const std::string& UiTextTable::checkWord(int method, bool holds) const {
    if (method < Method::ParallelCheck || method > Method::AlignmentCheck) return kEmpty;
    return messages_[size_t(CheckWordsSlot + (method - Method::ParallelCheck) * 2 +
                            (holds ? 0 : 1))];
}

const std::string* UiTextTable::componentText(std::string_view objectName) const {
    if (objectName.empty()) return nullptr;
    for (size_t r = 0; r < std::size(kComponents); ++r) {
        std::string_view names = kComponents[r].names;
        while (!names.empty()) {
            const size_t end = std::min(names.find(' '), names.size());
            if (names.substr(0, end) == objectName) return &components_[r];
            names.remove_prefix(std::min(end + 1, names.size()));
        }
    }
    return nullptr;
}

void UiTextTable::setKindName(int slot, std::string_view text) {
    if (slot >= 0 && slot < KindNameSlots)
        kindNames_[size_t(slot)] = cutChars(text, NameSlotSize - 1);
}
void UiTextTable::setMethodName(int slot, std::string_view text) {
    if (slot >= 0 && slot < MethodNameSlots)
        names_[size_t(slot)] = cutChars(text, NameSlotSize - 1);
}
void UiTextTable::setName(int slot, std::string_view text) {
    if (slot >= 0 && slot < Name::Count)
        names_[size_t(MethodNameSlots + slot)] = cutChars(text, NameSlotSize - 1);
}
void UiTextTable::setCheckWord(int slot, std::string_view text) {
    if (slot >= 0 && slot < CheckWordSlots) setMessage(CheckWordsSlot + slot, text);
}
void UiTextTable::setMessage(int slot, std::string_view text) {
    if (slot >= 0 && slot < MessageSlots)
        messages_[size_t(slot)] = cutChars(text, MessageSlotSize - 1);
}

void UiTextTable::setToolPrompt(int tool, std::string_view text) {
    if (tool >= PromptIdTools && tool < ToolPromptSlots)
        setMessage(LaterPromptsSlot + tool - PromptIdTools, text);
    else if (tool >= 0 && tool < PromptIdTools)
        toolPrompts_[size_t(tool)] = cutChars(text, MessageSlotSize - 1);
}

// ---- language-file ids --------------------------------------------------------------------------

bool UiTextTable::setById(int id, std::string_view utf8) {
    id = absoluteId(id);
    if (id < 0) return false;
    if (id < int(std::size(kKindSlotOfId)) && kKindSlotOfId[id] >= 0) {
        setKindName(kKindSlotOfId[id], utf8);
    } else if (id == KindsHeadingId) {
        kindsHeading_ = cutChars(utf8, MessageSlotSize - 1);
    } else if (id >= FirstNameId && id <= LastNameId) {
        names_[size_t(id - FirstNameId)] = cutChars(utf8, NameSlotSize - 1);
    } else if (id >= FirstPromptId && id < FirstPromptId + PromptIdTools) {
        setToolPrompt(id - FirstPromptId, utf8);
    } else if (const int row = componentRow(id); row >= 0) {
        components_[size_t(row)] = cutChars(utf8, MessageSlotSize - 1);
    } else if (id >= FirstMessageId && id < FirstMessageId + SecondRangeSlot) {
        setMessage(id - FirstMessageId, utf8);
    } else if (id >= SecondMessageId && id < SecondMessageId + ThirdRangeSlot - SecondRangeSlot) {
        setMessage(SecondRangeSlot + id - SecondMessageId, utf8);
    } else if (id >= ThirdMessageId && id < ThirdMessageId + MessageSlots - ThirdRangeSlot) {
        setMessage(ThirdRangeSlot + id - ThirdMessageId, utf8);
    } else {
        return false;
    }
    return true;
}

const std::string* UiTextTable::textById(int id) const {
    id = absoluteId(id);
    if (id < 0) return nullptr;
    if (id < int(std::size(kKindSlotOfId)) && kKindSlotOfId[id] >= 0)
        return &kindNames_[size_t(kKindSlotOfId[id])];
    if (id == KindsHeadingId) return &kindsHeading_;
    if (id >= FirstNameId && id <= LastNameId) return &names_[size_t(id - FirstNameId)];
    if (id >= FirstPromptId && id < FirstPromptId + PromptIdTools)
        return &toolPrompts_[size_t(id - FirstPromptId)];
    if (const int row = componentRow(id); row >= 0) return &components_[size_t(row)];
    if (id >= FirstMessageId && id < FirstMessageId + SecondRangeSlot)
        return &messages_[size_t(id - FirstMessageId)];
    if (id >= SecondMessageId && id < SecondMessageId + ThirdRangeSlot - SecondRangeSlot)
        return &messages_[size_t(SecondRangeSlot + id - SecondMessageId)];
    if (id >= ThirdMessageId && id < ThirdMessageId + MessageSlots - ThirdRangeSlot)
        return &messages_[size_t(ThirdRangeSlot + id - ThirdMessageId)];
    return nullptr;
}

int UiTextTable::slotCharacters(int id) {
    static const UiTextTable table;
    if (!table.textById(id)) return 0;
    id = absoluteId(id);
    const bool name = (id < int(std::size(kKindSlotOfId)) && kKindSlotOfId[id] >= 0) ||
                      (id >= FirstNameId && id <= LastNameId);
    return (name ? NameSlotSize : MessageSlotSize) - 1;
}

const std::vector<int>& UiTextTable::ids() {
    static const std::vector<int> all = [] {
        const UiTextTable builtIn;
        std::vector<int> v;
        for (int id = 0; id < ThirdMessageId + MessageSlots - ThirdRangeSlot; ++id)
            if (const std::string* text = builtIn.textById(id); text && !text->empty())
                v.push_back(id);
        return v;
    }();
    return all;
}

std::span<const ComponentRow> UiTextTable::components() {
    return kComponents;
}

UiTextTable& uiText() {
    static UiTextTable table;
    return table;
}

} // namespace qorv
