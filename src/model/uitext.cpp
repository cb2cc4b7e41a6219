#include "model/uitext.h"

#include "model/methodtable.h"

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
    "Guardar los cambios realizados al documento",
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
    "OK",
    "Cancel",
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
// clang-format on

template <size_t N> const std::string& at(const std::array<std::string, N>& a, int i) {
    return i >= 0 && size_t(i) < N ? a[size_t(i)] : kEmpty;
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
    for (const MethodRow& row : methodTable())
        methodNames_[size_t(row.code)] = row.name;
    for (int i = 0; i < CheckWordSlots; ++i)
        checkWords_[size_t(i)] = kCheckWords[i];
    for (auto& m : messages_)
        m.clear();
    for (int i = 0; i < Msg::Count; ++i)
        messages_[size_t(i)] = kMessages[i];
    for (int i = 0; i < ToolPromptSlots; ++i)
        toolPrompts_[size_t(i)] = kToolPrompts[i];
}

const std::string& UiTextTable::kindName(int kind) const {
    return at(kindNames_, kind);
}
const std::string& UiTextTable::methodName(int method) const {
    return at(methodNames_, method);
}
const std::string& UiTextTable::message(int slot) const {
    return at(messages_, slot);
}
const std::string& UiTextTable::toolPrompt(int tool) const {
    return at(toolPrompts_, tool);
}

const std::string& UiTextTable::checkWord(int method, bool holds) const {
    if (method < Method::ParallelCheck || method > Method::AlignmentCheck) return kEmpty;
    return checkWords_[size_t((method - Method::ParallelCheck) * 2 + (holds ? 0 : 1))];
}

void UiTextTable::setKindName(int slot, std::string_view text) {
    if (slot >= 0 && slot < KindNameSlots) kindNames_[size_t(slot)] = cut(text, NameSlotSize - 1);
}
void UiTextTable::setMethodName(int slot, std::string_view text) {
    if (slot >= 0 && slot < MethodNameSlots)
        methodNames_[size_t(slot)] = cut(text, NameSlotSize - 1);
}
void UiTextTable::setCheckWord(int slot, std::string_view text) {
    if (slot >= 0 && slot < CheckWordSlots) checkWords_[size_t(slot)] = cut(text, NameSlotSize - 1);
}
void UiTextTable::setMessage(int slot, std::string_view text) {
    if (slot >= 0 && slot < MessageSlots) messages_[size_t(slot)] = cut(text, MessageSlotSize - 1);
}

void UiTextTable::setToolPrompt(int tool, std::string_view text) {
    if (tool >= 0 && tool < ToolPromptSlots)
        toolPrompts_[size_t(tool)] = cut(text, MessageSlotSize - 1);
}

UiTextTable& uiText() {
    static UiTextTable table;
    return table;
}

} // namespace qorv
