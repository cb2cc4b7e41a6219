#include "app/toolbars.h"

#include "app/commands.h"
#include "model/uitext.h"
#include "view/clickengine.h"
#include "view/qtexts.h"
#include "view/resources.h"

#include <QAction>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>
#include <utility>

namespace qorv {

namespace {

constexpr int IconSize = 20;

QString prompt(int tool) {
    return qtext(uiText().toolPrompt(tool));
}

// A square of the colour with a margin, as the colour buttons show it.
QIcon colourGlyph(Color c) {
    QPixmap pm(IconSize, IconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(60, 60, 60));
    p.setBrush(QColor(colorRed(c), colorGreen(c), colorBlue(c)));
    p.drawRect(QRect(3, 3, IconSize - 7, IconSize - 7));
    return QIcon(pm);
}

struct PaletteColour {
    const char* name;
    Color colour;
};

// Two rows of eight, in the order of the panel.
const PaletteColour kColours[16] = {
    {"B_rojo", rgb(255, 0, 0)},      {"B_verde", rgb(0, 255, 0)},
    {"B_azul", rgb(0, 255, 255)},    {"B_violeta", rgb(128, 128, 255)},
    {"B_naranja", rgb(255, 128, 0)}, {"B_amar", rgb(255, 255, 0)},
    {"B_gris", rgb(192, 192, 192)},  {"B_blanco", rgb(255, 255, 255)},
    {"B_rojo2", rgb(128, 0, 0)},     {"B_verde2", rgb(0, 128, 0)},
    {"B_azul2", rgb(0, 0, 255)},     {"B_azmarino", rgb(0, 128, 192)},
    {"B_rosado", rgb(255, 0, 255)},  {"B_amar2", rgb(128, 128, 0)},
    {"B_gris2", rgb(128, 128, 128)}, {"B_negro", rgb(0, 0, 0)},
};

} // namespace

ToolBars::ToolBars(QMainWindow& window, Commands& commands, Color colour)
    : QObject(&window), window_(window), commands_(commands), colour_(colour) {
    paletteTimer_ = new QTimer(this);
    paletteTimer_->setSingleShot(true);
    paletteTimer_->setInterval(200);
    connect(paletteTimer_, &QTimer::timeout, this, &ToolBars::paletteTimerFired);
    build();
    showTool(Tool::Move);
}

void ToolBars::build() {
    toolButtons_.assign(ToolCount, nullptr);

    auto makeBar = [this](const QString& title, const char* name, Qt::ToolBarArea where) {
        auto* bar = new QToolBar(title, &window_);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setIconSize(QSize(IconSize, IconSize));
        bar->setMovable(false);
        bar->setFloatable(false);
        window_.addToolBar(where, bar);
        return bar;
    };
    B_principales =
        makeBar(qtext(uiText().message(Msg::MainButtons)), "B_principales", Qt::TopToolBarArea);
    B_edicion =
        makeBar(qtext(uiText().message(Msg::EditButtons)), "B_edicion", Qt::LeftToolBarArea);
    B_edicion->setOrientation(Qt::Vertical);

    auto makeButton = [&](QWidget* parent, const QString& name) {
        auto* b = new QToolButton(parent);
        b->setObjectName(name);
        b->setIcon(toolIcon(name));
        b->setIconSize(QSize(IconSize, IconSize));
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        allButtons_ << b;
        return b;
    };

    // Where the next button goes: a row of the main bar, or the editing bar.
    std::function<void(QWidget*)> place;
    QWidget* owner = nullptr;

    // A button that chooses one tool: the tool's action (checkable, in the exclusive group of
    // the tools, with the tool's prompt for a hint).
    auto toolButton = [&](int tool) {
        const ToolInfo& info = toolInfo(tool);
        QToolButton* b = makeButton(owner, QString::fromLatin1(info.button));
        b->setDefaultAction(commands_.toolAction(tool));
        b->setProperty("tool", tool);
        place(b);
        toolButtons_[size_t(tool)] = b;
        return b;
    };

    // A panel of buttons shown next to its palette button.
    auto makePanel = [&](const QString& name, int columns) {
        auto* panel = new QFrame(&window_, Qt::Popup);
        panel->setObjectName(name);
        panel->setFrameShape(QFrame::StyledPanel);
        auto* grid = new QGridLayout(panel);
        grid->setContentsMargins(3, 3, 3, 3);
        grid->setSpacing(1);
        panel->setProperty("columns", columns);
        panels_.insert(name, panel);
        return panel;
    };
    auto addToPanel = [](QFrame* panel, QWidget* w) {
        auto* grid = static_cast<QGridLayout*>(panel->layout());
        const int columns = panel->property("columns").toInt();
        const int n = grid->count();
        grid->addWidget(w, n / columns, n % columns);
    };

    // A palette button: a click chooses its current tool; held for 200 ms it opens its panel,
    // whose buttons choose their tools and become the palette button's current tool.
    auto paletteButton = [&](const QString& name, const QString& panelName,
                             const std::vector<int>& tools, int columns) {
        QToolButton* b = makeButton(owner, name);
        QFrame* panel = makePanel(panelName, columns);
        b->setCheckable(true);
        b->setProperty("panel", panelName);
        QList<QVariant> panelTools;
        paletteButtons_ << b;
        int first = -1;
        for (int tool : tools) {
            const ToolInfo& info = toolInfo(tool);
            QToolButton* item = makeButton(panel, QString::fromLatin1(info.button));
            item->setDefaultAction(commands_.toolAction(tool));
            item->setProperty("tool", tool);
            addToPanel(panel, item);
            panelTools << tool;
            if (first < 0 && item->isEnabled()) first = tool;
            if (!toolButtons_[size_t(tool)]) toolButtons_[size_t(tool)] = b;
            // The palette button takes the tool's icon when the tool is shown chosen.
            connect(item, &QToolButton::clicked, panel, &QWidget::hide);
        }
        b->setProperty("tools", panelTools);
        if (first < 0) first = tools.front();
        b->setProperty("tool", first);
        b->setToolTip(prompt(first));
        b->setEnabled(std::any_of(tools.begin(), tools.end(), isToolAvailable));
        connect(b, &QToolButton::pressed, this, [this, b] {
            pendingPalette_ = b;
            paletteTimer_->start();
        });
        connect(b, &QToolButton::clicked, this, [this, b] {
            if (!paletteTimer_->isActive()) { // the panel opened instead
                showPalettes();
                return;
            }
            paletteTimer_->stop();
            pendingPalette_ = nullptr;
            trigger(b->property("tool").toInt());
        });
        place(b);
        return b;
    };

    // ---- "Botones Principales": two rows of buttons, constructions above, measures and the
    // other tools below.
    auto* rows = new QWidget(B_principales);
    auto* rowsLayout = new QVBoxLayout(rows);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(0);
    QHBoxLayout* row = nullptr;
    auto newRow = [&] {
        row = new QHBoxLayout;
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(0);
        rowsLayout->addLayout(row);
    };
    owner = rows;
    place = [&](QWidget* w) { row->addWidget(w); };
    auto separator = [&] {
        auto* line = new QFrame(rows);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setFixedWidth(9);
        row->addWidget(line);
    };
    newRow();
    toolButton(Tool::Move);
    separator();
    for (int t : {Tool::Point, Tool::Line, Tool::Ray, Tool::Segment})
        toolButton(t);
    paletteButton(QStringLiteral("B_hvector_1"), QStringLiteral("Panel_hvector"),
                  {Tool::Vector, Tool::VectorSum}, 2);
    for (int t : {Tool::Polygon, Tool::RegularPolygon, Tool::Circle, Tool::CircleRadius, Tool::Arc,
                  Tool::Conic})
        toolButton(t);
    separator();
    for (int t : {Tool::Parallel, Tool::Perpendicular, Tool::Midpoint, Tool::PerpendicularBisector,
                  Tool::AngleBisector, Tool::Intersection, Tool::Locus, Tool::Angle})
        toolButton(t);
    separator();
    for (int t : {Tool::CentralSymmetry, Tool::AxialSymmetry, Tool::Translation, Tool::Rotation,
                  Tool::Homothety, Tool::Inversion, Tool::DisplacedPoint})
        toolButton(t);
    paletteButton(QStringLiteral("B_comp_1"), QStringLiteral("Panel_comp"),
                  {Tool::ParallelCheck, Tool::PerpendicularCheck, Tool::MembershipCheck,
                   Tool::EquidistanceCheck, Tool::AlignmentCheck},
                  5);
    toolButton(Tool::Iteration);
    row->addStretch(1);
    newRow();
    for (int t :
         {Tool::LengthDistance, Tool::AngleMeasure, Tool::Area, Tool::Slope, Tool::Proportion})
        toolButton(t);
    paletteButton(QStringLiteral("B_hejes_1"), QStringLiteral("Panel_hejes"),
                  {Tool::Axes, Tool::Grid, Tool::RepresentPoints, Tool::EquationOrCoordinates,
                   Tool::PointWithCoordinates},
                  5);
    for (int t :
         {Tool::Calculate, Tool::Parameter, Tool::Function, Tool::FunctionGraph, Tool::Table})
        toolButton(t);
    separator();
    for (int t :
         {Tool::RedefinePoint, Tool::Trace, Tool::Animation, Tool::RotateSelection, Tool::Zoom,
          Tool::Text, Tool::ShowHideButton, Tool::MotionButton, Tool::Bitmap, Tool::ApplyMacro})
        toolButton(t);
    row->addStretch(1);
    // A narrow window cuts the rows off instead of growing to fit them.
    rows->setMinimumWidth(0);
    rows->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    rows->setFixedHeight(rows->sizeHint().height());
    B_principales->addWidget(rows);

    // ---- "Botones de edición"
    QToolBar* e = B_edicion;
    owner = e;
    place = [e](QWidget* w) { e->addWidget(w); };
    for (int t : {Tool::ToggleVisibility, Tool::EditElement, Tool::DeleteElement, Tool::Font})
        toolButton(t);
    e->addSeparator();
    {
        // The colour palette: sixteen colours, the system colour dialog and the parametric
        // colour.
        QToolButton* b = makeButton(e, QStringLiteral("B_color"));
        QFrame* panel = makePanel(QStringLiteral("Panel_color"), 8);
        b->setCheckable(true);
        b->setIcon(colourGlyph(colour_));
        b->setToolTip(prompt(Tool::LineColour));
        b->setProperty("tool", int(Tool::LineColour));
        b->setProperty("panel", QStringLiteral("Panel_color"));
        b->setProperty("tools", QList<QVariant>{int(Tool::LineColour), int(Tool::ParamLineColour)});
        b->setEnabled(isToolAvailable(Tool::LineColour));
        paletteButtons_ << b;
        toolButtons_[Tool::LineColour] = b;
        for (const PaletteColour& c : kColours) {
            auto* item = new QToolButton(panel);
            item->setObjectName(QString::fromLatin1(c.name));
            item->setIcon(colourGlyph(c.colour));
            item->setIconSize(QSize(IconSize, IconSize));
            item->setAutoRaise(true);
            item->setFocusPolicy(Qt::NoFocus);
            item->setToolTip(QColor(colorRed(c.colour), colorGreen(c.colour), colorBlue(c.colour))
                                 .name(QColor::HexRgb));
            addToPanel(panel, item);
            allButtons_ << item;
            const Color colour = c.colour;
            connect(item, &QToolButton::clicked, this, [this, panel, colour] {
                panel->hide();
                setParametric(false);
                emit colourChosen(colour);
                trigger(Tool::LineColour);
            });
        }
        QToolButton* other = makeButton(panel, QStringLiteral("B_rgb"));
        other->setText(QStringLiteral("RGB"));
        other->setToolTip(qtext(uiText().message(Msg::OtherColours)));
        other->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // The two extra buttons share the third row, each over four colours.
        auto* grid = static_cast<QGridLayout*>(panel->layout());
        grid->addWidget(other, 2, 0, 1, 4, Qt::AlignLeft);
        connect(other, &QToolButton::clicked, this, [this, panel] {
            panel->hide();
            setParametric(false);
            const Color c = colour_;
            const QColor chosen =
                QColorDialog::getColor(QColor(colorRed(c), colorGreen(c), colorBlue(c)), &window_);
            emit colourChosen(chosen.isValid() ? rgb(chosen.red(), chosen.green(), chosen.blue())
                                               : rgb(255, 0, 0));
            trigger(Tool::LineColour);
        });
        QToolButton* param = makeButton(panel, QStringLiteral("B_colorpar"));
        param->setToolTip(qtext(uiText().message(Msg::ParametricColour)));
        param->setEnabled(isToolAvailable(Tool::ParamLineColour));
        param->setCheckable(true);
        grid->addWidget(param, 2, 4, 1, 4, Qt::AlignLeft);
        connect(param, &QToolButton::clicked, this, [this, panel](bool down) {
            panel->hide();
            setParametric(down);
            trigger(down ? Tool::ParamLineColour : Tool::LineColour);
        });
        connect(b, &QToolButton::pressed, this, [this, b] {
            pendingPalette_ = b;
            paletteTimer_->start();
        });
        connect(b, &QToolButton::clicked, this, [this] {
            if (!paletteTimer_->isActive()) {
                showPalettes();
                return;
            }
            paletteTimer_->stop();
            pendingPalette_ = nullptr;
            trigger(paramDown_ ? Tool::ParamLineColour : Tool::LineColour);
        });
        e->addWidget(b);
    }
    toolButton(Tool::FillColour);
    auto toolsFrom = [](int first, int last) {
        std::vector<int> tools;
        for (int t = first; t <= last; ++t)
            tools.push_back(t);
        return tools;
    };
    paletteButton(QStringLiteral("B_edit_forma_punto"), QStringLiteral("Panel_forma_punto"),
                  toolsFrom(Tool::FirstPointShape, Tool::LastPointShape), 6);
    paletteButton(QStringLiteral("B_edit_forma_linea"), QStringLiteral("Panel_forma_linea"),
                  toolsFrom(Tool::FirstLineStyle, Tool::LastLineStyle), 6);
    paletteButton(QStringLiteral("B_edit_forma_angulo"), QStringLiteral("Panel_forma_angulo"),
                  toolsFrom(Tool::FirstAngleMark, Tool::LastAngleMark), 3);
    e->addSeparator();
    // The view toggles: the button takes everything from the action again whenever the action
    // changes (its checked state too), so the icon belongs to the action.
    for (auto [action, name] : {std::pair{commands_.action(CommandId::ShowHidden), "B_todoelem"},
                                std::pair{commands_.action(CommandId::Antialias), "M_AA"}}) {
        QToolButton* b = makeButton(e, QString::fromLatin1(name));
        b->setDefaultAction(action);
        e->addWidget(b);
    }

    // Tools chosen through another tool's button: the macro dialog presses B_MacCon for its
    // three modes; the parametric colours press the colour buttons.
    toolButtons_[Tool::MacroInitial] = toolButtons_[Tool::MacroFinal] =
        toolButtons_[Tool::ApplyMacro];
    toolButtons_[Tool::ParamLineColour] = toolButtons_[Tool::LineColour];
    toolButtons_[Tool::ParamFillColour] = toolButtons_[Tool::FillColour];
}

void ToolBars::showTool(int tool) {
    if (tool < 0 || tool >= int(toolButtons_.size())) return;
    commands_.showTool(tool);
    shownTool_ = tool;
    // A palette button shows the tool of its panel that was chosen.
    QToolButton* b = toolButtons_[size_t(tool)];
    if (b && paletteButtons_.contains(b) && b->property("tool").toInt() != tool &&
        b->property("panel").toString() != QLatin1String("Panel_color")) {
        b->setProperty("tool", tool);
        b->setIcon(toolIcon(QString::fromLatin1(toolInfo(tool).button)));
        b->setToolTip(prompt(tool));
    }
    showPalettes();
}

void ToolBars::showPalettes() {
    for (QToolButton* b : std::as_const(paletteButtons_))
        b->setChecked(b->property("tools").toList().contains(shownTool_));
}

void ToolBars::trigger(int tool) {
    commands_.toolAction(tool)->trigger();
    showPalettes(); // also when the tool was chosen already
}

void ToolBars::applyTexts() {
    B_principales->setWindowTitle(qtext(uiText().message(Msg::MainButtons)));
    B_edicion->setWindowTitle(qtext(uiText().message(Msg::EditButtons)));
    for (QToolButton* b : std::as_const(allButtons_)) {
        if (b->defaultAction()) continue; // the action's text
        if (b->property("tool").isValid()) b->setToolTip(prompt(b->property("tool").toInt()));
    }
    if (QToolButton* b = buttonNamed(QStringLiteral("B_rgb")))
        b->setToolTip(qtext(uiText().message(Msg::OtherColours)));
    if (QToolButton* b = buttonNamed(QStringLiteral("B_colorpar")))
        b->setToolTip(qtext(uiText().message(Msg::ParametricColour)));
}

void ToolBars::paletteTimerFired() {
    QToolButton* b = pendingPalette_;
    pendingPalette_ = nullptr;
    if (!b) return;
    QFrame* panel = panels_.value(b->property("panel").toString());
    if (!panel) return;
    b->setDown(false);
    panel->adjustSize();
    const bool vertical = b->parentWidget() == B_edicion;
    const QPoint at =
        vertical ? b->mapToGlobal(QPoint(b->width(), 0)) : b->mapToGlobal(QPoint(0, b->height()));
    panel->move(at);
    panel->show();
}

void ToolBars::setButtonSize(int size) {
    static constexpr int sides[3] = {16, IconSize, 26};
    iconSide_ = sides[std::clamp(size, 0, 2)];
    const QSize side(iconSide_, iconSide_);
    B_principales->setIconSize(side);
    B_edicion->setIconSize(side);
    for (QToolButton* b : allButtons_)
        b->setIconSize(side);
}

void ToolBars::showColour(Color colour) {
    colour_ = colour;
    if (QToolButton* b = buttonNamed(QStringLiteral("B_color")); b && !paramDown_)
        b->setIcon(colourGlyph(colour));
}

void ToolBars::setParametric(bool down) {
    paramDown_ = down;
    QToolButton* param = buttonNamed(QStringLiteral("B_colorpar"));
    if (param) param->setChecked(down);
    // B_color shows what its click gives: the parametric colour or the colour chosen.
    if (QToolButton* b = buttonNamed(QStringLiteral("B_color")))
        b->setIcon(down && param ? param->icon() : colourGlyph(colour_));
}

QToolButton* ToolBars::toolButton(int tool) const {
    return tool >= 0 && tool < int(toolButtons_.size()) ? toolButtons_[size_t(tool)] : nullptr;
}

QToolButton* ToolBars::buttonNamed(const QString& name) const {
    for (QToolButton* b : allButtons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

QFrame* ToolBars::palettePanel(const QString& name) const {
    return panels_.value(name);
}

} // namespace qorv
