// The tool bars "Botones Principales" and "Botones de edición": one button per tool, and the
// palette buttons that open a panel when held down for 200 ms.
#include "app/tform1.h"

#include "model/uitext.h"
#include "view/clickengine.h"
#include "view/resources.h"

#include <QAction>
#include <QButtonGroup>
#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace qorv {

namespace {

constexpr int IconSize = 20;

QString qtext(const std::string& s) {
    return QString::fromStdString(s);
}

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

struct PaletteTool {
    int tool;
};

} // namespace

void TForm1::buildToolBars() {
    toolButtons_.assign(ToolCount, nullptr);
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);

    auto makeBar = [this](const QString& title, const char* name, Qt::ToolBarArea where) {
        auto* bar = new QToolBar(title, this);
        bar->setObjectName(QString::fromLatin1(name));
        bar->setIconSize(QSize(IconSize, IconSize));
        bar->setMovable(false);
        bar->setFloatable(false);
        addToolBar(where, bar);
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

    // A button that chooses one tool.
    auto toolButton = [&](int tool) {
        const ToolInfo& info = toolInfo(tool);
        QToolButton* b = makeButton(owner, QString::fromLatin1(info.button));
        b->setToolTip(prompt(tool));
        b->setCheckable(true);
        b->setEnabled(isToolAvailable(tool));
        b->setProperty("tool", tool);
        group->addButton(b);
        connect(b, &QToolButton::clicked, this, [this, tool] { chooseTool(tool, true); });
        place(b);
        toolButtons_[size_t(tool)] = b;
        return b;
    };

    // A panel of buttons shown next to its palette button.
    auto makePanel = [&](const QString& name, int columns) {
        auto* panel = new QFrame(this, Qt::Popup);
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
        group->addButton(b);
        int first = -1;
        for (int tool : tools) {
            const ToolInfo& info = toolInfo(tool);
            QToolButton* item = makeButton(panel, QString::fromLatin1(info.button));
            item->setToolTip(prompt(tool));
            item->setEnabled(isToolAvailable(tool));
            addToPanel(panel, item);
            if (first < 0 && item->isEnabled()) first = tool;
            if (!toolButtons_[size_t(tool)]) toolButtons_[size_t(tool)] = b;
            connect(item, &QToolButton::clicked, this, [this, b, item, panel, tool] {
                panel->hide();
                b->setIcon(item->icon());
                b->setProperty("tool", tool);
                b->setToolTip(item->toolTip());
                chooseTool(tool, true);
            });
        }
        if (first < 0) first = tools.front();
        b->setProperty("tool", first);
        b->setToolTip(prompt(first));
        b->setEnabled(std::any_of(tools.begin(), tools.end(), isToolAvailable));
        connect(b, &QToolButton::pressed, this, [this, b] {
            pendingPalette_ = b;
            paletteTimer_->start();
        });
        connect(b, &QToolButton::clicked, this, [this, b] {
            if (!paletteTimer_->isActive()) return; // the panel opened instead
            paletteTimer_->stop();
            pendingPalette_ = nullptr;
            chooseTool(b->property("tool").toInt(), true);
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
    for (int t : {1, 2, 3, 9})
        toolButton(t);
    paletteButton(QStringLiteral("B_hvector_1"), QStringLiteral("Panel_hvector"), {12, 13}, 2);
    for (int t : {10, 11, 5, 6, 14, 4})
        toolButton(t);
    separator();
    for (int t : {7, 8, 15, 17, 16, 18, 19, 56})
        toolButton(t);
    separator();
    for (int t : {20, 21, 22, 23, 24, 25, 31})
        toolButton(t);
    paletteButton(QStringLiteral("B_comp_1"), QStringLiteral("Panel_comp"), {26, 27, 28, 29, 30},
                  5);
    toolButton(60);
    row->addStretch(1);
    newRow();
    for (int t : {34, 35, 36, 37, 38})
        toolButton(t);
    paletteButton(QStringLiteral("B_hejes_1"), QStringLiteral("Panel_hejes"), {39, 41, 33, 40, 32},
                  5);
    for (int t : {42, 43, 44, 45, 51})
        toolButton(t);
    separator();
    for (int t : {46, 47, 48, 49, 50, 55, 57, 58, 59, 52})
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
    for (int t : {61, 62, 63, 64})
        toolButton(t);
    e->addSeparator();
    {
        // The colour palette: sixteen colours, the system colour dialog and the parametric
        // colour.
        QToolButton* b = makeButton(e, QStringLiteral("B_color"));
        QFrame* panel = makePanel(QStringLiteral("Panel_color"), 8);
        b->setCheckable(true);
        b->setIcon(colourGlyph(creation_.chosenColor));
        b->setToolTip(prompt(Tool::LineColour));
        b->setProperty("tool", int(Tool::LineColour));
        b->setProperty("panel", QStringLiteral("Panel_color"));
        b->setEnabled(isToolAvailable(Tool::LineColour));
        group->addButton(b);
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
                setCurrentColour(colour);
                chooseTool(Tool::LineColour, true);
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
            const Color c = creation_.chosenColor;
            const QColor chosen =
                QColorDialog::getColor(QColor(colorRed(c), colorGreen(c), colorBlue(c)), this);
            setCurrentColour(chosen.isValid() ? rgb(chosen.red(), chosen.green(), chosen.blue())
                                              : rgb(255, 0, 0));
            chooseTool(Tool::LineColour, true);
        });
        QToolButton* param = makeButton(panel, QStringLiteral("B_colorpar"));
        param->setToolTip(qtext(uiText().message(Msg::ParametricColour)));
        param->setEnabled(isToolAvailable(Tool::ParamLineColour));
        grid->addWidget(param, 2, 4, 1, 4, Qt::AlignLeft);
        connect(param, &QToolButton::clicked, this, [this, panel] {
            panel->hide();
            chooseTool(Tool::ParamLineColour, true);
        });
        connect(b, &QToolButton::pressed, this, [this, b] {
            pendingPalette_ = b;
            paletteTimer_->start();
        });
        connect(b, &QToolButton::clicked, this, [this] {
            if (!paletteTimer_->isActive()) return;
            paletteTimer_->stop();
            pendingPalette_ = nullptr;
            chooseTool(Tool::LineColour, true);
        });
        e->addWidget(b);
    }
    toolButton(Tool::FillColour);
    paletteButton(QStringLiteral("B_edit_forma_punto"), QStringLiteral("Panel_forma_punto"),
                  {69, 70, 71, 72, 73, 74}, 6);
    paletteButton(QStringLiteral("B_edit_forma_linea"), QStringLiteral("Panel_forma_linea"),
                  {75, 76, 77, 78, 79, 80}, 6);
    paletteButton(QStringLiteral("B_edit_forma_angulo"), QStringLiteral("Panel_forma_angulo"),
                  {81, 82, 83}, 3);
    e->addSeparator();
    // The view toggles: the button takes everything from the action again whenever the action
    // changes (its checked state too), so the icon belongs to the action; the menu keeps its
    // plain text.
    for (auto [action, name] : {std::pair{TodosElem1, "B_todoelem"}, std::pair{M_AA, "M_AA"}}) {
        action->setIcon(toolIcon(QString::fromLatin1(name)));
        action->setIconVisibleInMenu(false);
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

    // The bars can be shown and hidden from the view menu.
    for (QAction* a : menuBar()->actions()) {
        if (a->menu() && a->text() == qtext(uiText().message(Msg::MenuView))) {
            a->menu()->addSeparator();
            a->menu()->addAction(B_principales->toggleViewAction());
            a->menu()->addAction(B_edicion->toggleViewAction());
        }
    }
    toolChosenOnBars(Tool::Move);
}

void TForm1::toolChosenOnBars(int tool) {
    if (tool < 0 || tool >= int(toolButtons_.size())) return;
    QToolButton* b = toolButtons_[size_t(tool)];
    if (!b) return;
    // A palette button shows the tool of its panel that was chosen.
    if (b->property("panel").isValid() && b->property("tool").toInt() != tool &&
        b->property("panel").toString() != QLatin1String("Panel_color")) {
        b->setProperty("tool", tool);
        b->setIcon(toolIcon(QString::fromLatin1(toolInfo(tool).button)));
        b->setToolTip(prompt(tool));
    }
    b->setChecked(true);
}

void TForm1::paletteTimerFired() {
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

void TForm1::setCurrentColour(Color c) {
    creation_.chosenColor = c;
    if (QToolButton* b = buttonNamed(QStringLiteral("B_color"))) b->setIcon(colourGlyph(c));
}

QToolButton* TForm1::toolButton(int tool) const {
    return tool >= 0 && tool < int(toolButtons_.size()) ? toolButtons_[size_t(tool)] : nullptr;
}

QToolButton* TForm1::buttonNamed(const QString& name) const {
    for (QToolButton* b : allButtons_)
        if (b->objectName() == name) return b;
    return nullptr;
}

QFrame* TForm1::palettePanel(const QString& name) const {
    return panels_.value(name);
}

} // namespace qorv
