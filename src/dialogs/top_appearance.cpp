#include "dialogs/top_appearance.h"

#include "dialogs/optionwidgets.h"
#include "model/uitext.h"
#include "view/qtexts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

namespace {

constexpr int PointStyles = 6, LineStyles = 6, AngleMarks = 3;

// clang-format off
constexpr Color DarkBackgrounds[4]  = {0, 32, 8192, 4194304};
constexpr Color LightBackgrounds[4] = {16777215, 14803455, 14811105, 16630933};
// clang-format on
constexpr Color DarkHidden = 48830, DarkSelected = 16755370;
constexpr Color LightSelected = 16711935;
constexpr Color Green = 32768; // rgb(0, 128, 0)

// Darker colours that read on a light background.
std::array<Color, Kind::Count> lightColours() {
    std::array<Color, Kind::Count> c;
    c.fill(rgb(0, 64, 128));
    c[Kind::Point] = rgb(255, 0, 0);
    for (int k : {Kind::Line, Kind::Ray, Kind::Segment, Kind::Vector, Kind::Axes, Kind::Polygon,
                  Kind::Angle})
        c[size_t(k)] = Green;
    for (int k : {Kind::Circle, Kind::Arc, Kind::Conic})
        c[size_t(k)] = rgb(0, 0, 160);
    c[Kind::Locus] = rgb(128, 0, 128);
    c[Kind::Grid] = rgb(128, 128, 128);
    return c;
}

int stylesOf(int group) {
    const int k = appearanceGroups()[size_t(group)].kinds.front();
    return k == Kind::Point ? PointStyles : k == Kind::Angle ? AngleMarks : LineStyles;
}

// A picture of style `style` of the group's kind, in `colour` on `background`.
QIcon styleIcon(int group, int style, Color colour, Color background) {
    constexpr int W = 44, H = 16;
    QPixmap pm(W, H);
    pm.fill(qcolorOf(background));
    QPainter p(&pm);
    const QColor c = qcolorOf(colour);
    const int k = appearanceGroups()[size_t(group)].kinds.front();
    if (k == Kind::Point) {
        const int x = W / 2, y = H / 2;
        p.setPen(c);
        switch (style) {
        case 1:
            p.fillRect(x - 1, y - 1, 4, 4, c);
            break;
        case 2:
        case 3:
            p.setBrush(style == 2 ? c : qcolorOf(background));
            p.drawEllipse(x - 3, y - 3, 6, 6);
            break;
        case 4:
            p.drawLine(x - 2, y - 2, x + 3, y + 3);
            p.drawLine(x - 2, y + 2, x + 3, y - 3);
            break;
        case 5:
            p.fillRect(x - 3, y - 3, 7, 7, c);
            break;
        default:
            p.drawPoint(x, y);
            break;
        }
    } else if (k == Kind::Angle) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(c, 1));
        p.drawLine(8, H - 2, W - 6, H - 2);
        p.drawLine(8, H - 2, 30, 1);
        for (int i = 0; i < style; ++i) {
            const int r = 12 + 3 * i;
            p.drawArc(QRect(8 - r, H - 2 - r, 2 * r, 2 * r), 0, 50 * 16);
        }
    } else {
        static constexpr int widths[LineStyles] = {1, 2, 1, 1, 5, 7};
        QPen pen(c, widths[size_t(std::clamp(style, 1, LineStyles) - 1)]);
        if (style == LineStyle::Dashed) pen.setStyle(Qt::DashLine);
        if (style == LineStyle::Dashed2) pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawLine(4, H / 2, W - 4, H / 2);
    }
    return QIcon(pm);
}

} // namespace

const std::array<AppearanceGroup, 11>& appearanceGroups() {
    static const std::array<AppearanceGroup, 11> groups = {{
        {Msg::GroupPoints, {Kind::Point}},
        {Msg::GroupLines, {Kind::Line, Kind::Axes}},
        {Msg::GroupRays, {Kind::Ray}},
        {Msg::GroupSegments, {Kind::Segment, Kind::Vector}},
        {Msg::GroupPolygons, {Kind::Polygon}},
        {Msg::GroupCircles, {Kind::Circle, Kind::Conic}},
        {Msg::GroupArcs, {Kind::Arc}},
        {Msg::GroupAngles, {Kind::Angle}},
        {Msg::GroupLoci, {Kind::Locus}},
        {Msg::GroupIterations, {Kind::Iteration}},
        {Msg::GroupGrids, {Kind::Grid}},
    }};
    return groups;
}

AppearanceCopy appearanceOf(const DocumentDefaults& d) {
    AppearanceCopy c;
    c.background = d.background;
    c.hidden = d.hiddenColor;
    c.selected = d.selectedColor;
    c.colours = d.kindColors;
    c.shapes = d.kindShapes;
    for (size_t i = 0; i < 4; ++i)
        c.fontColours[i] = d.fonts[i].color;
    c.antialiased = d.antialiased;
    return c;
}

AppearanceCopy appearanceScheme(int scheme, const AppearanceCopy& base, const Document& doc,
                                const ProgramOptions& options) {
    if (scheme <= 1) {
        // The document's own, or the saved defaults: everything but the anti-aliasing.
        AppearanceCopy c = appearanceOf(scheme == 0 ? documentOptionsOf(doc) : options.document);
        c.antialiased = base.antialiased;
        c.modified = scheme == 0 ? base.modified : true;
        return c;
    }
    AppearanceCopy c = base;
    c.modified = true;
    const size_t n = size_t(std::clamp(scheme, 2, AppearanceSchemes - 1) - 2) / 2;
    const DocumentDefaults& builtIn = DocumentDefaults::builtIn();
    if (scheme % 2 == 0) {
        c.background = DarkBackgrounds[n];
        c.hidden = DarkHidden;
        c.selected = DarkSelected;
        c.colours = builtIn.kindColors;
        for (size_t i = 0; i < 4; ++i)
            c.fontColours[i] = builtIn.fonts[i].color;
    } else {
        c.background = LightBackgrounds[n];
        c.hidden = scheme == 3 ? 9159362 : 39835;
        c.selected = LightSelected;
        c.colours = lightColours();
        c.fontColours.fill(0);
    }
    return c;
}

TOp_aspecto::TOp_aspecto(DialogContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName(QStringLiteral("TOp_aspecto"));
    setWindowTitle(text(Msg::AppearanceCaption));
    copy_ = appearanceOf(documentOptionsOf(context_.document()));
    const auto choose = [this](Color& c) { return context_.chooseColour(c); };

    auto* schemes = new QHBoxLayout;
    schemes->addWidget(new QLabel(text(Msg::SchemesLabel), this));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->addItem(text(Msg::SchemeCurrent));
    ComboBox2->addItem(text(Msg::SchemeSaved));
    for (int i = 2; i < AppearanceSchemes; ++i)
        ComboBox2->addItem(text(i % 2 == 0 ? Msg::SchemeDark : Msg::SchemeLight) +
                           QLatin1Char(' ') + QString::number((i - 2) / 2 + 1));
    schemes->addWidget(ComboBox2, 1);

    auto* elements = new QGroupBox(text(Msg::ElementsGroup), this);
    auto* grid = new QGridLayout(elements);
    const auto& groups = appearanceGroups();
    for (size_t g = 0; g < groups.size(); ++g) {
        const int row = int(g);
        grid->addWidget(new QLabel(text(groups[g].nameSlot), elements), row, 0);
        groupColour[g] = new ColourSwatch(choose, elements);
        groupColour[g]->setObjectName(QStringLiteral("colour_%1").arg(row));
        grid->addWidget(groupColour[g], row, 1);
        groupShape[g] = new QComboBox(elements);
        groupShape[g]->setObjectName(QStringLiteral("shape_%1").arg(row));
        groupShape[g]->setIconSize(QSize(44, 16));
        for (int s = 1; s <= stylesOf(row); ++s)
            groupShape[g]->addItem(QString());
        grid->addWidget(groupShape[g], row, 2);
        connect(groupColour[g], &ColourSwatch::colourChanged, this, [this, g](Color c) {
            for (int k : appearanceGroups()[g].kinds)
                copy_.colours[size_t(k)] = c;
            copy_.modified = true;
            refreshShapeIcons(int(g));
        });
        connect(groupShape[g], &QComboBox::currentIndexChanged, this, [this, g](int index) {
            if (showing_ || index < 0) return;
            for (int k : appearanceGroups()[g].kinds)
                copy_.shapes[size_t(k)] = index + 1;
            copy_.modified = true;
        });
    }

    auto* document = new QGroupBox(this);
    auto* dGrid = new QGridLayout(document);
    const auto swatch = [&](ColourSwatch*& s, const char* name, int slot, int row) {
        s = new ColourSwatch(choose, document);
        s->setObjectName(QLatin1String(name));
        dGrid->addWidget(new QLabel(text(slot), document), row, 0);
        dGrid->addWidget(s, row, 1);
    };
    swatch(Lab_colfon, "Lab_colfon", Msg::BackgroundColour, 0);
    swatch(Lab_col_oc, "Lab_col_oc", Msg::HiddenColour, 1);
    swatch(Lab_col_sel, "Lab_col_sel", Msg::SelectedColour, 2);
    connect(Lab_colfon, &ColourSwatch::colourChanged, this, [this](Color c) {
        copy_.background = c;
        copy_.modified = true;
        for (size_t g = 0; g < groupShape.size(); ++g)
            refreshShapeIcons(int(g));
    });
    connect(Lab_col_oc, &ColourSwatch::colourChanged, this, [this](Color c) {
        copy_.hidden = c;
        copy_.modified = true;
    });
    connect(Lab_col_sel, &ColourSwatch::colourChanged, this, [this](Color c) {
        copy_.selected = c;
        copy_.modified = true;
    });

    auto* fonts = new QGroupBox(text(Msg::TextColoursGroup), this);
    auto* fGrid = new QGridLayout(fonts);
    constexpr int fontNames[4] = {Msg::FirstFont, Msg::NamesFont, Msg::NumbersFont, Msg::TextsFont};
    for (size_t i = 0; i < 4; ++i) {
        fontColour[i] = new ColourSwatch(choose, fonts);
        fontColour[i]->setObjectName(QStringLiteral("font_colour_%1").arg(i));
        fGrid->addWidget(new QLabel(text(fontNames[i]), fonts), int(i), 0);
        fGrid->addWidget(fontColour[i], int(i), 1);
        connect(fontColour[i], &ColourSwatch::colourChanged, this, [this, i](Color c) {
            copy_.fontColours[i] = c;
            copy_.modified = true;
        });
    }

    CkB_AA_nd = new QCheckBox(text(Msg::AntialiasedDrawing), this);
    CkB_AA_nd->setObjectName(QStringLiteral("CkB_AA_nd"));
    connect(CkB_AA_nd, &QCheckBox::toggled, this, [this](bool on) {
        if (showing_) return;
        copy_.antialiased = on ? 1 : 0;
        copy_.modified = true;
    });

    auto* right = new QVBoxLayout;
    right->addWidget(document);
    right->addWidget(fonts);
    right->addWidget(CkB_AA_nd);
    right->addStretch(1);
    auto* columns = new QHBoxLayout;
    columns->addWidget(elements);
    columns->addLayout(right);
    QHBoxLayout* buttons = okCancelRow(*this, B_OK, B_Cancel);
    connect(B_OK, &QPushButton::clicked, this, &TOp_aspecto::B_OKClick);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(schemes);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    connect(ComboBox2, &QComboBox::activated, this, &TOp_aspecto::schemeChosen);
    showCopy();
}

void TOp_aspecto::refreshShapeIcons(int group) {
    const Color c = copy_.colours[size_t(appearanceGroups()[size_t(group)].kinds.front())];
    QComboBox* box = groupShape[size_t(group)];
    for (int i = 0; i < box->count(); ++i)
        box->setItemIcon(i, styleIcon(group, i + 1, c, copy_.background));
}

void TOp_aspecto::showCopy() {
    showing_ = true;
    const auto& groups = appearanceGroups();
    for (size_t g = 0; g < groups.size(); ++g) {
        const size_t k = size_t(groups[g].kinds.front());
        groupColour[g]->setColour(copy_.colours[k]);
        QComboBox* box = groupShape[g];
        box->setCurrentIndex(std::clamp(copy_.shapes[k], 1, box->count()) - 1);
        refreshShapeIcons(int(g));
    }
    Lab_colfon->setColour(copy_.background);
    Lab_col_oc->setColour(copy_.hidden);
    Lab_col_sel->setColour(copy_.selected);
    for (size_t i = 0; i < 4; ++i)
        fontColour[i]->setColour(copy_.fontColours[i]);
    CkB_AA_nd->setChecked(copy_.antialiased != 0);
    showing_ = false;
}

void TOp_aspecto::schemeChosen(int scheme) {
    copy_ = appearanceScheme(scheme, copy_, context_.document(), context_.programOptions());
    showCopy();
}

void TOp_aspecto::B_OKClick() {
    Document& doc = context_.document();
    for (const AppearanceGroup& g : appearanceGroups()) {
        const size_t first = size_t(g.kinds.front());
        for (int k : g.kinds) {
            doc.kindColors[size_t(k)] = copy_.colours[first];
            doc.kindShapes[size_t(k)] = copy_.shapes[first];
        }
    }
    doc.antialiased = copy_.antialiased;
    doc.background = copy_.background;
    doc.hiddenColor = copy_.hidden;
    doc.selectedColor = copy_.selected;
    for (size_t i = 0; i < 4; ++i)
        doc.fonts[i].color = copy_.fontColours[i];
    if (copy_.modified) doc.modified = 1;
    emit optionsChanged(false);
    accept();
}

} // namespace qorv
