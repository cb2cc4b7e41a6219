#include "view/resources.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <array>

// The resources live in a static library; without an explicit call the linker may drop their
// registration. Q_INIT_RESOURCE must be used outside any namespace.
static void initQorvResources() {
    Q_INIT_RESOURCE(qorv);
}

namespace qorv {

namespace {

void ensureResources() {
    static const bool done = [] {
        initQorvResources();
        return true;
    }();
    (void)done;
}

// Main, editing and palette buttons. The icon file is the name in lower case.
const char* const kButtonNames[] = {
    "Sel",
    // constructions
    "B_Punto", "B_Recta", "B_Rayo", "B_Conica_5p", "B_Circunf", "B_Circ2pr", "B_Recta_Para",
    "B_Recta_Perp", "B_Segmento", "B_Poligono", "B_Polireg", "B_vector", "B_vectorsuma", "B_arco3p",
    "B_2_div_seg", "B_2_Sectriz", "B_Mediatriz", "B_Punto_Inter", "B_Lugar_G", "B_Angulo",
    // transformations and checks
    "B_Punto_Sim", "B_sim_ax", "B_traslac", "B_giro", "B_homotec", "B_inversion", "B_comp_1",
    "B_comp_par", "B_comp_per", "B_comp_pert", "B_comp_eq", "B_comp_3pa", "B_punto_desp",
    "B_iteracion",
    // measures and numbers
    "B_N_longdist", "B_N_angulo", "B_N_area", "B_N_pend", "B_N_prop", "B_hejes_1", "B_N_ejes",
    "B_N_cuadricula", "B_rep_pun", "B_N_ecoord", "B_puncoord", "B_N_calcular", "B_N_parametro",
    "B_N_funcion", "B_N_rep_fun", "B_N_tabla",
    // other tools
    "B_hvector_1", "B_redefpun", "B_traza", "B_anim", "B_SelRot", "B_zoom", "B_MacCon", "B_Texto",
    "B_vernoverbot", "B_movbot", "B_inbitmap",
    // editing
    "B_vernover", "B_editelem", "B_elimelem", "B_font", "B_color", "B_color_relleno", "B_colorpar",
    "B_edit_forma_punto", "B_edit_pnor", "B_edit_pgran", "B_edit_pgran2", "B_edit_pcruz",
    "B_edit_pcuad", "B_edit_p1p", "B_edit_forma_linea", "B_edit_linor", "B_edit_ligran",
    "B_edit_lipun", "B_edit_lipray", "B_edit_ligran5", "B_edit_ligran7", "B_edit_forma_angulo",
    "B_edit_ang1", "B_edit_ang2", "B_edit_ang3",
    // history and view
    "B_undo", "B_redo", "M_AA", "B_todoelem",
    // documents
    "B_doc_nuevo", "B_doc_guardar", "B_doc_cerrar"};

struct Alias {
    const char* name;
    const char* shows;
};

const Alias kAliases[] = {
    {"Sel1", "Sel"},
    {"B_visor_movsel", "Sel"},
    {"B_visor_anima", "B_anim"},
    {"B_visor_rotsel", "B_SelRot"},
    {"B_visor_zoom", "B_zoom"},
    {"B_visor_undo", "B_undo"},
    {"B_visor_redo", "B_redo"},
    {"B_visor_todoelem", "B_todoelem"},
};

struct CursorInfo {
    const char* name;
    int hotX;
    int hotY;
};

// Index = cursor number - 1. Hot spots: crosshair centres, arrow tips, the finger tip of the
// pointing hand, the palm of the panning hand, the pencil point, the lens centre, the bucket's
// drip.
const std::array<CursorInfo, toolCursorCount> kCursors = {{
    {"CON", 15, 15},      {"ARRCON", 1, 1},   {"ARR", 15, 16},    {"SELEC", 1, 1},
    {"INTERR", 1, 1},     {"COLFOR", 1, 1},   {"VERNOVER", 1, 1}, {"TXT", 7, 7},
    {"EDIT", 1, 30},      {"SELARR", 1, 1},   {"ELIM", 1, 1},     {"MANOI", 11, 3},
    {"ANIM", 1, 1},       {"ZOOM", 12, 12},   {"BOTON", 7, 7},    {"TABLA", 7, 7},
    {"BITMAP", 7, 7},     {"TRAZA", 1, 1},    {"REDEF", 1, 1},    {"COMPROB", 1, 1},
    {"RELLENO", 4, 28},   {"FUENTE", 1, 1},   {"MACINI", 1, 1},   {"MACFIN", 1, 1},
    {"SELROTPT", 15, 15}, {"SELROT", 15, 15},
}};

bool validCursor(int number) {
    return number >= 1 && number <= toolCursorCount;
}

// Lower-case name of every button and alias -> icon file stem.
const QHash<QString, QString>& iconStems() {
    static const QHash<QString, QString> stems = [] {
        QHash<QString, QString> h;
        for (const char* n : kButtonNames) {
            const QString stem = QString::fromLatin1(n).toLower();
            h.insert(stem, stem);
        }
        for (const Alias& a : kAliases)
            h.insert(QString::fromLatin1(a.name).toLower(), QString::fromLatin1(a.shows).toLower());
        return h;
    }();
    return stems;
}

QPixmap renderSvg(const QString& path, int size) {
    QSvgRenderer renderer(path);
    if (!renderer.isValid()) return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return QPixmap::fromImage(image);
}

} // namespace

const QStringList& toolButtonNames() {
    static const QStringList names = [] {
        QStringList l;
        for (const char* n : kButtonNames)
            l << QString::fromLatin1(n);
        return l;
    }();
    return names;
}

const QStringList& toolButtonAliases() {
    static const QStringList names = [] {
        QStringList l;
        for (const Alias& a : kAliases)
            l << QString::fromLatin1(a.name);
        return l;
    }();
    return names;
}

QString toolIconPath(const QString& buttonName) {
    const auto it = iconStems().constFind(buttonName.toLower());
    if (it == iconStems().constEnd()) return {};
    return QStringLiteral(":/icons/") + it.value() + QStringLiteral(".svg");
}

QIcon toolIcon(const QString& buttonName) {
    ensureResources();
    const QString path = toolIconPath(buttonName);
    if (path.isEmpty() || !QFile::exists(path)) return {};
    QIcon icon(path);
    // Without the SVG icon-engine plug-in QIcon cannot read the file; fall back to fixed sizes
    // rendered here so that the tool bars never show blank buttons.
    if (icon.pixmap(24, 24).isNull()) {
        icon = QIcon();
        for (int size : {16, 20, 24, 32, 48})
            icon.addPixmap(renderSvg(path, size));
    }
    return icon;
}

QString toolCursorName(int number) {
    if (!validCursor(number)) return {};
    return QString::fromLatin1(kCursors[number - 1].name);
}

QString toolCursorPath(int number) {
    if (!validCursor(number)) return {};
    return QStringLiteral(":/cursors/") + toolCursorName(number).toLower() + QStringLiteral(".svg");
}

QPoint toolCursorHotSpot(int number) {
    if (!validCursor(number)) return {};
    return {kCursors[number - 1].hotX, kCursors[number - 1].hotY};
}

QPixmap toolCursorPixmap(int number) {
    if (!validCursor(number)) return {};
    ensureResources();
    return renderSvg(toolCursorPath(number), toolCursorSize);
}

QCursor toolCursor(int number) {
    if (!validCursor(number)) return QCursor(Qt::ArrowCursor);
    // Rendered once; the tool modes switch cursors on every hover change. Kept until the process
    // ends on purpose: cursor pixmaps must not be released after the application object.
    static auto* cache = new std::array<QCursor, toolCursorCount>();
    static std::array<bool, toolCursorCount> made{};
    const int i = number - 1;
    if (!made[i]) {
        const QPixmap pixmap = toolCursorPixmap(number);
        (*cache)[i] = pixmap.isNull() ? QCursor(Qt::ArrowCursor)
                                      : QCursor(pixmap, kCursors[i].hotX, kCursors[i].hotY);
        made[i] = true;
    }
    return (*cache)[i];
}

} // namespace qorv
