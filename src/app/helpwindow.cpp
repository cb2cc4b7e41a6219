#include "app/helpwindow.h"

#include "model/uitext.h"
#include "settings/language.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

namespace {

struct TopicRow {
    int first, last; // tools first..last
    HelpTopic topic;
};

constexpr const char* Start = "index.html";
constexpr const char* Build = "construir.html";
constexpr const char* Measure = "medir.html";
constexpr const char* Transform = "transformar.html";
constexpr const char* Edit = "editar.html";
constexpr const char* View = "ver.html";
constexpr const char* Macros = "macros.html";
// Linked from the contents only.
constexpr const char* Files = "archivos.html";

// clang-format off
constexpr TopicRow kTopics[] = {
    {Tool::Point, Tool::Point, {Build, "punto"}},
    {Tool::Line, Tool::Line, {Build, "recta"}},
    {Tool::Ray, Tool::Ray, {Build, "semirrecta"}},
    {Tool::Conic, Tool::Conic, {Build, "conica"}},
    {Tool::Circle, Tool::CircleRadius, {Build, "circunferencia"}},
    {Tool::Parallel, Tool::Perpendicular, {Build, "paralela"}},
    {Tool::Segment, Tool::Segment, {Build, "segmento"}},
    {Tool::Polygon, Tool::RegularPolygon, {Build, "poligono"}},
    {Tool::Vector, Tool::VectorSum, {Build, "vector"}},
    {Tool::Arc, Tool::Arc, {Build, "arco"}},
    {Tool::Midpoint, Tool::PerpendicularBisector, {Build, "puntomedio"}},
    {Tool::Intersection, Tool::Intersection, {Build, "interseccion"}},
    {Tool::Locus, Tool::Locus, {Build, "lugar"}},
    {Tool::Angle, Tool::Angle, {Build, "angulo"}},
    {Tool::CentralSymmetry, Tool::AxialSymmetry, {Transform, "simetria"}},
    {Tool::Translation, Tool::Rotation, {Transform, "traslacion"}},
    {Tool::Homothety, Tool::Inversion, {Transform, "homotecia"}},
    {Tool::ParallelCheck, Tool::AlignmentCheck, {Transform, "comprobar"}},
    {Tool::DisplacedPoint, Tool::DisplacedPoint, {Transform, "desplazado"}},
    {Tool::Iteration, Tool::Iteration, {Transform, "iteracion"}},
    {Tool::PointWithCoordinates, Tool::RepresentPoints, {Measure, "coordenadas"}},
    {Tool::LengthDistance, Tool::Proportion, {Measure, "medidas"}},
    {Tool::Axes, Tool::Grid, {Measure, "ejes"}},
    {Tool::Calculate, Tool::FunctionGraph, {Measure, "calcular"}},
    {Tool::Table, Tool::Table, {Measure, "tabla"}},
    {Tool::RedefinePoint, Tool::RedefinePoint, {Edit, "redefinir"}},
    {Tool::Text, Tool::Text, {Edit, "texto"}},
    {Tool::ShowHideButton, Tool::Bitmap, {Edit, "botones"}},
    {Tool::ToggleVisibility, Tool::DeleteElement, {Edit, "herramientas"}},
    {Tool::Font, Tool::LastAngleMark, {Edit, "aspecto"}},
    {Tool::Trace, Tool::Animation, {View, "traza"}},
    {Tool::RotateSelection, Tool::Zoom, {View, "zoom"}},
    {Tool::ApplyMacro, Tool::MacroFinal, {Macros, ""}},
};
// clang-format on

} // namespace

HelpTopic helpTopic(int tool) {
    for (const TopicRow& row : kTopics)
        if (tool >= row.first && tool <= row.last) return row.topic;
    return {Start, ""};
}

QStringList helpPages() {
    QStringList pages{QString::fromLatin1(Start), QString::fromLatin1(Files)};
    for (const TopicRow& row : kTopics)
        if (!pages.contains(QString::fromLatin1(row.topic.page)))
            pages << QString::fromLatin1(row.topic.page);
    return pages;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("V_ayuda"));
    resize(760, 560);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    back_ = new QToolButton(this);
    back_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    back_->setEnabled(false);
    home_ = new QToolButton(this);
    home_->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(home_, &QToolButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("B_cerrar"));
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(home_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    applyTexts();
}

void HelpWindow::applyTexts() {
    setWindowTitle(text(Msg::HelpCaption));
    back_->setToolTip(text(Msg::HelpBack));
    close_->setText(text(Msg::CloseCaption));
    home_->setToolTip(
        QString(componentText(QStringLiteral("M_contenidos"))).remove(QLatin1Char('&')));
}

bool HelpWindow::setFolder(const QString& folder, const QString& code) {
    pages_.clear();
    for (const QString& language : {code, QStringLiteral("es")}) {
        const QString candidate = folder + QLatin1Char('/') + language;
        if (!language.isEmpty() && QFileInfo::exists(candidate + QLatin1Char('/') + Start)) {
            pages_ = candidate;
            break;
        }
    }
    if (pages_.isEmpty()) return false;
    browser_->setSearchPaths({pages_});
    // The contents of this language are where the home button goes.
    browser_->setSource(QUrl::fromLocalFile(pages_ + QLatin1Char('/') + Start));
    browser_->clearHistory();
    return true;
}

void HelpWindow::placeBesideParent() {
    placed_ = true;
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main) return;
    // Below whatever the main window shows above its central part (menus, tool bars), on its
    // right side, and on the screen.
    int top = main->mapToGlobal(QPoint(0, 0)).y();
    if (const auto* mw = qobject_cast<const QMainWindow*>(main))
        if (const QWidget* centre = mw->centralWidget())
            top = centre->mapToGlobal(QPoint(0, 0)).y();
    const QRect screen = main->screen()->availableGeometry();
    const QRect inside(main->mapToGlobal(QPoint(0, 0)), main->size());
    const int w = std::min(width(), screen.width());
    const int h = std::min(height(), std::max(200, screen.bottom() - top - 8));
    resize(w, h);
    const int left = std::clamp(inside.right() - w - 8, screen.left(), screen.right() - w);
    move(left, std::clamp(top + 8, screen.top(), std::max(screen.top(), screen.bottom() - h)));
}

void HelpWindow::showTopic(const QString& page, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(pages_ + QLatin1Char('/') + page);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    browser_->setSource(url);
    if (!anchor.isEmpty()) browser_->scrollToAnchor(anchor);
    if (!placed_) placeBesideParent();
    show();
    raise();
    activateWindow();
}

} // namespace qorv
