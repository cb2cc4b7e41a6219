#include "app/animfeatures.h"

#include "app/commands.h"
#include "app/tform1.h"
#include "geometry/animation.h"
#include "settings/language.h"
#include "view/qtexts.h"
#include "view/resources.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace qorv {

AnimationFeatures::AnimationFeatures(TForm1& window) : QObject(&window), w_(window) {
    TV_animac_ = new TV_animac(*this, &w_);
    TPaP_ = new TPaP(*this, &w_);
    // Modal: the construction must not change under the steps it shows.
    TPaP_->setWindowModality(Qt::ApplicationModal);
    createActions();
    createViewerPanel();
}

AnimationFeatures::~AnimationFeatures() {
    dying_ = true;
    delete TV_animac_;
    delete TPaP_;
}

// The other items of traces, animation and viewer mode are the menu table's: tools, "Redibujar"
// and "Modo visor", whose changes this follows.
void AnimationFeatures::createActions() {
    M_traza_desactivar = w_.commands().action(CommandId::TracesOff);
    connect(M_traza_desactivar, &QAction::triggered, this, &AnimationFeatures::switchTracesOff);
    M_PasoaPaso = w_.commands().action(CommandId::Replay);
    connect(M_PasoaPaso, &QAction::triggered, this, &AnimationFeatures::openReplay);
    connect(&w_, &TForm1::viewerModeChanged, this, &AnimationFeatures::setViewerMode);
    // Another document is shown through documentShown.
    connect(&w_, &TForm1::documentChanged, this, [this](bool otherDocument) {
        if (!otherDocument) elementsMayBeGone();
    });
}

void AnimationFeatures::createViewerPanel() {
    panel_ = new QFrame(w_.canvas().drawingArea());
    panel_->setObjectName(QStringLiteral("P_visor"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(panel_);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    // The window's own commands, placed once more.
    const Commands& commands = w_.commands();
    auto button = [&](const char* name, QAction* a) {
        auto* b = new QToolButton(panel_);
        b->setObjectName(QString::fromLatin1(name));
        b->setDefaultAction(a);
        b->setAutoRaise(true);
        b->setIconSize(QSize(20, 20));
        row->addWidget(b);
    };
    button("B_visor_movsel", commands.toolAction(Tool::Move));
    button("B_visor_anima", commands.toolAction(Tool::Animation));
    button("B_visor_rotsel", commands.toolAction(Tool::RotateSelection));
    button("B_visor_zoom", commands.toolAction(Tool::Zoom));
    button("B_visor_undo", commands.action(CommandId::Undo));
    button("B_visor_redo", commands.action(CommandId::Redo));
    button("B_visor_todoelem", commands.action(CommandId::ShowHidden));
    button("B_visor_muepan", commands.action(CommandId::MoveScreen));
    button("B_visor_salirvisor", commands.action(CommandId::ViewerMode));
    panel_->hide();
    w_.canvas().drawingArea()->installEventFilter(this);
}

// Bottom-right corner of the drawing area, just inside the scroll bars.
void AnimationFeatures::placeViewerPanel() {
    QWidget* area = w_.canvas().drawingArea();
    panel_->adjustSize();
    panel_->move(area->width() - panel_->width() - 2, area->height() - panel_->height() - 2);
    panel_->raise();
}

bool AnimationFeatures::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && panel_->isVisible()) placeViewerPanel();
    return QObject::eventFilter(watched, event);
}

// ---- tools and documents ------------------------------------------------------------------------

void AnimationFeatures::toolChosen(int tool) {
    if (dying_) return;
    if (tool == Tool::Animation) {
        dropUnanimatable(w_.document());
        if (TV_animac_->isVisible())
            TV_animac_->rebuildList();
        else
            TV_animac_->show();
    } else if (TV_animac_->isVisible()) {
        TV_animac_->hide();
    }
}

void AnimationFeatures::documentShown() {
    if (dying_) return;
    if (TV_animac_->isVisible()) TV_animac_->hide();
    if (TPaP_->isVisible()) TPaP_->reject();
}

void AnimationFeatures::elementsMayBeGone() {
    if (dying_) return;
    if (TV_animac_->isVisible()) TV_animac_->rebuildList();
    if (TPaP_->isVisible()) TPaP_->reject();
}

// ---- commands -----------------------------------------------------------------------------------

void AnimationFeatures::switchTracesOff() {
    DrawingCanvas& canvas = w_.canvas();
    const Interaction& in = canvas.interaction();
    if (!(in.tool() == Tool::Trace && in.traceRunSaved())) w_.recordUndoStep();
    Document& doc = w_.document();
    if (!doc.traceList.empty()) doc.modified = 1;
    doc.traceList.clear();
    canvas.traceListChanged();
    canvas.redraw();
    canvas.interaction().refreshHover();
}

void AnimationFeatures::openReplay() {
    if (TPaP_->isVisible()) return;
    TPaP_->start();
    // In the drawing's bottom right corner, clear of the middle where the construction is.
    const QWidget* area = w_.canvas().drawingArea();
    TPaP_->adjustSize();
    const QPoint corner = area->mapToGlobal(QPoint(area->width(), area->height()));
    const QRect screen = area->screen()->availableGeometry();
    TPaP_->move(std::max(screen.left(), corner.x() - TPaP_->width() - 12),
                std::max(screen.top(), corner.y() - TPaP_->height() - 36));
    TPaP_->show();
}

void AnimationFeatures::setViewerMode(bool on) {
    if (on == viewer_) return;
    viewer_ = on;
    w_.setViewerMode(on);
    QWidget* bars[4] = {w_.toolBars().mainBar(), w_.toolBars().editBar(), w_.documentBar(),
                        w_.statusBar()};
    if (on) {
        for (int i = 0; i < 4; ++i) {
            barsShown_[i] = bars[i]->isVisible() || !bars[i]->isHidden();
            bars[i]->hide();
        }
        panel_->show();
        placeViewerPanel();
    } else {
        for (int i = 0; i < 4; ++i)
            bars[i]->setVisible(barsShown_[i]);
        panel_->hide();
    }
    w_.chooseTool(Tool::Move);
}

SaveOptions AnimationFeatures::saveOptions() const {
    SaveOptions o;
    if (!viewer_) return o;
    o.viewerMode = true;
    const QRect r = w_.geometry();
    const Qt::WindowStates s = w_.windowState();
    o.window = WindowRecord{r.left(), r.top(), r.height(), r.width(),
                            s & Qt::WindowMinimized   ? 1
                            : s & Qt::WindowMaximized ? 2
                                                      : 0};
    return o;
}

// ---- AnimationHost ------------------------------------------------------------------------------

Document& AnimationFeatures::animationDocument() {
    return w_.document();
}

void AnimationFeatures::recordUndoStep() {
    w_.recordUndoStep();
}

void AnimationFeatures::animationStep() {
    if (!dying_) w_.canvas().animate();
}

void AnimationFeatures::animationDialogVisible(bool visible) {
    if (!dying_) w_.canvas().setTracing(visible);
}

void AnimationFeatures::animationDialogClosed() {
    if (!dying_) w_.chooseTool(Tool::Move);
}

// ---- ReplayHost ---------------------------------------------------------------------------------

Document& AnimationFeatures::replayDocument() {
    return w_.document();
}

bool AnimationFeatures::replayShowsHidden() {
    return w_.showHiddenAction()->isChecked();
}

bool AnimationFeatures::replayStartsAtFirst() {
    return w_.programOptions().stepByStepFromLast == 0;
}

void AnimationFeatures::showReplayStep(Element* step, bool whole) {
    w_.canvas().showReplayStep(step, whole);
}

int AnimationFeatures::askKeepConstruction() {
    if (keepAnswer_) return keepAnswer_();
    return QMessageBox::warning(TPaP_, text(Msg::ProgramCaption),
                                text(Msg::KeepConstructionQuestion),
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

void AnimationFeatures::replayClosed() {
    if (dying_) return;
    DrawingCanvas& canvas = w_.canvas();
    canvas.showReplayStep(nullptr);
    // Keeping a step cuts the list after it: the tools let go of what they picked.
    canvas.interaction().documentReplaced();
    canvas.elementsReplaced(); // a cut freed elements the drawing may have cached
    canvas.recalculateAndRedraw();
}

} // namespace qorv
