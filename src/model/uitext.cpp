#include "model/uitext.h"

#include "model/element.h"

namespace qorv {

namespace {

const std::string kEmpty;

// Built-in texts are UTF-8 in the source; files convert at their edges.
constexpr const char* kKindNames[UiTextTable::KindNameSlots] = {
    "punto", "recta", "semirecta", "segmento", "polígono", "circunferencia", "arco", "ángulo",
    "lugar geométrico", "texto", "nombre", "número", "función", "ejes", "tabla", "ecuación",
    "coordenadas", "propiedad", "cónica", "intersección", "cuadrícula", "botón", "bitmap",
    "vector", "iteración", "lado", "eje x", "eje y", "coordenada x o r", "coordenada y o theta"};

constexpr const char* kMethodNames[Method::Count] = {
    "Punto Libre",
    "Punto en elemento",
    "Punto de intersección",
    "Punto (simetría central)",
    "Punto medio",
    "Recta por punto",
    "Recta por 2 puntos",
    "Semirecta por 1 punto",
    "Semirecta por 2 puntos",
    "Recta paralela",
    "Recta perpendicular",
    "Bisectriz",
    "Mediatriz",
    "Segmento",
    "Polígono",
    "Lado de un poligono",
    "Circunferencia dado el centro",
    "Circunferencia dados centro y punto",
    "Circunferencia dados el radio y el centro",
    "Arco dados 3 puntos",
    "Angulo",
    "Lugar geométrico",
    "Punto (simetría axial)",
    "Punto (traslación)",
    "Punto (giro)",
    "Punto homotetico",
    "Punto inverso",
    "Punto desplazado",
    "Distancia(punto a punto)",
    "Distancia(punto a recta)",
    "Longitud(segmento)",
    "Longitud(circunferencia)",
    "Longitud(arco)",
    "Perímetro(polígono)",
    "Area (circunferencia)",
    "Area (polígono)",
    "ángulo(valor)",
    "Cálculo",
    "Tabla",
    "Ejes de coordenadas",
    "Eje x",
    "Eje y",
    "coordenadas de un punto",
    "coordenada x o r de un punto",
    "coordenada y o theta de un punto",
    "ecuación (recta)",
    "ecuación (circunferencia)",
    "Texto",
    "Nombre",
    "Punto con coordenadas",
    "comprobador de paralelismo",
    "comprobador de perpendicularidad",
    "comprobador de pertenencia",
    "comprobador de equidistancia",
    "comprobador de alineación",
    "Cónica por 5 puntos",
    "Pendiente",
    "intersección",
    "ecuación (cónica)",
    "Vértice de polígono regular",
    "Punto representado",
    "Cuadrícula",
    "Punto en cuadrícula",
    "Parámetro",
    "Función",
    "Representación de función",
    "Botón Ocultar/Ver",
    "Bitmap",
    "Proporción",
    "Vector",
    "Botón Movimiento",
    "Iteración",
    "Punto (vector suma)",
    "Circunferencia dados el radio(numero) y el centro",
};

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
    "&Edición",
    "Cortar",
    "Copiar",
    "Pegar",
    "Pegar imagen",
};

// Cut to at most max bytes without splitting a UTF-8 sequence.
std::string cut(std::string_view text, size_t max) {
    if (text.size() <= max) return std::string(text);
    size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return std::string(text.substr(0, n));
}

template <size_t N> const std::string& at(const std::array<std::string, N>& a, int i) {
    return i >= 0 && size_t(i) < N ? a[size_t(i)] : kEmpty;
}

} // namespace

void UiTextTable::fillBuiltInTexts() {
    for (int i = 0; i < KindNameSlots; ++i) kindNames_[size_t(i)] = kKindNames[i];
    for (int i = 0; i < MethodNameSlots; ++i) methodNames_[size_t(i)] = kMethodNames[i];
    for (int i = 0; i < CheckWordSlots; ++i) checkWords_[size_t(i)] = kCheckWords[i];
    for (auto& m : messages_) m.clear();
    for (int i = 0; i < Msg::Count; ++i) messages_[size_t(i)] = kMessages[i];
}

const std::string& UiTextTable::kindName(int kind) const { return at(kindNames_, kind); }
const std::string& UiTextTable::methodName(int method) const { return at(methodNames_, method); }
const std::string& UiTextTable::message(int slot) const { return at(messages_, slot); }

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
    if (slot >= 0 && slot < CheckWordSlots)
        checkWords_[size_t(slot)] = cut(text, NameSlotSize - 1);
}
void UiTextTable::setMessage(int slot, std::string_view text) {
    if (slot >= 0 && slot < MessageSlots) messages_[size_t(slot)] = cut(text, MessageSlotSize - 1);
}

UiTextTable& uiText() {
    static UiTextTable table;
    return table;
}

} // namespace qorv
