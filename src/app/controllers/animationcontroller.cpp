#include "app/controllers/animationcontroller.h"

#include "app/commands.h"
#include "app/drawingcanvas.h"
#include "app/editorsession.h"
#include "app/windowcontext.h"
#include "app/windowrequests.h"
#include "dialogs/tpap.h"
#include "dialogs/tv_animac.h"
#include "geometry/animation.h"
#include "view/tooltable.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QScreen>
#include <QToolButton>

#include <algorithm>

namespace qorv {

AnimationController::AnimationController(const FeatureContext& context)
    : QObject(context.window), ctx_(context) {
    TV_animac_ = new TV_animac(ctx_.context, ctx_.window);
    TPaP_ = new TPaP(ctx_.context, ctx_.window);
    // Modal: the construction must not change under the steps it shows.
    TPaP_->setWindowModality(Qt::ApplicationModal);
    DrawingCanvas& canvas = ctx_.canvas;
    connect(TV_animac_, &TV_animac::stepDue, &canvas, &DrawingCanvas::animate);
    connect(TV_animac_, &TV_animac::visibilityChanged, &canvas, &DrawingCanvas::setTracing);
    connect(TV_animac_, &TV_animac::closedByUser, this,
            [this] { ctx_.session.chooseTool(Tool::Move); });
    connect(TPaP_, &TPaP::stepShown, &canvas, &DrawingCanvas::showReplayStep);
    connect(TPaP_, &TPaP::replayEnded, this, &AnimationController::replayEnded);
    connect(&ctx_.requests, &WindowRequests::animationEntryChosen, TV_animac_,
            &TV_animac::entryClicked);

    EditorSession& session = ctx_.session;
    connect(&session, &EditorSession::toolChanged, this, &AnimationController::toolChanged);
    connect(&session, &EditorSession::currentDocumentChanged, this,
            &AnimationController::documentShown);
    connect(&session, &EditorSession::elementsReplaced, this,
            &AnimationController::elementsMayBeGone);
    connect(&session, &EditorSession::viewerModeChanged, this,
            &AnimationController::viewerModeChanged);
    ctx_.onCommand(CommandId::TracesOff, this, [this] { switchTracesOff(); });
    ctx_.onCommand(CommandId::Replay, this, [this] { openReplay(); });
    createViewerPanel(ctx_.commands);
}

// The dialogs stop (and tell nothing: their connections go with this object) before the canvas
// they draw on goes.
AnimationController::~AnimationController() {
    disconnect(TV_animac_, nullptr, nullptr, nullptr);
    disconnect(TPaP_, nullptr, nullptr, nullptr);
    delete TV_animac_;
    delete TPaP_;
}

void AnimationController::setKeepAnswer(std::function<int()> answer) {
    TPaP_->setKeepAnswer(std::move(answer));
}

void AnimationController::createViewerPanel(Commands& commands) {
    DrawingCanvas& canvas = ctx_.canvas;
    panel_ = new QFrame(canvas.drawingArea());
    panel_->setObjectName(QStringLiteral("P_visor"));
    panel_->setFrameShape(QFrame::Panel);
    panel_->setFrameShadow(QFrame::Raised);
    panel_->setAutoFillBackground(true);
    auto* row = new QHBoxLayout(panel_);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    // The window's own commands, placed once more.
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
    canvas.drawingArea()->installEventFilter(this);
}

// Bottom-right corner of the drawing area, just inside the scroll bars.
void AnimationController::placeViewerPanel() {
    QWidget* area = ctx_.canvas.drawingArea();
    panel_->adjustSize();
    panel_->move(area->width() - panel_->width() - 2, area->height() - panel_->height() - 2);
    panel_->raise();
}

bool AnimationController::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize && panel_->isVisible()) placeViewerPanel();
    return QObject::eventFilter(watched, event);
}

// ---- tools and documents ------------------------------------------------------------------------

void AnimationController::toolChanged(int tool) {
    if (tool == Tool::Animation) {
        dropUnanimatable(ctx_.session.document());
        if (TV_animac_->isVisible())
            TV_animac_->rebuildList();
        else
            TV_animac_->show();
    } else if (TV_animac_->isVisible()) {
        TV_animac_->hide();
    }
}

void AnimationController::documentShown() {
    if (TV_animac_->isVisible()) TV_animac_->hide();
    if (TPaP_->isVisible()) TPaP_->reject();
}

void AnimationController::elementsMayBeGone() {
    if (TV_animac_->isVisible()) TV_animac_->rebuildList();
    if (TPaP_->isVisible()) TPaP_->reject();
}

// ---- commands -----------------------------------------------------------------------------------

void AnimationController::switchTracesOff() {
    DrawingCanvas& canvas = ctx_.canvas;
    const Interaction& in = canvas.interaction();
    if (!(in.tool() == Tool::Trace && in.traceRunSaved())) ctx_.session.recordUndoStep();
    Document& doc = ctx_.session.document();
    if (!doc.traceList.empty()) doc.modified = 1;
    doc.traceList.clear();
    canvas.traceListChanged();
    canvas.redraw();
    canvas.interaction().refreshHover();
    ctx_.session.noteChanges();
}

void AnimationController::openReplay() {
    if (TPaP_->isVisible()) return;
    TPaP_->start();
    // In the drawing's bottom right corner, clear of the middle where the construction is.
    const QWidget* area = ctx_.canvas.drawingArea();
    TPaP_->adjustSize();
    const QPoint corner = area->mapToGlobal(QPoint(area->width(), area->height()));
    const QRect screen = area->screen()->availableGeometry();
    TPaP_->move(std::max(screen.left(), corner.x() - TPaP_->width() - 12),
                std::max(screen.top(), corner.y() - TPaP_->height() - 36));
    TPaP_->show();
}

void AnimationController::replayEnded() {
    DrawingCanvas& canvas = ctx_.canvas;
    canvas.showReplayStep(nullptr);
    // Keeping a step cuts the list after it: the tools let go of what they picked.
    canvas.interaction().documentReplaced();
    canvas.elementsReplaced(); // a cut freed elements the drawing may have cached
    canvas.recalculateAndRedraw();
    ctx_.session.noteChanges();
}

void AnimationController::viewerModeChanged(bool on) {
    if (on) {
        shownBeforeViewer_.clear();
        for (QWidget* bar : viewerHides_) {
            shownBeforeViewer_ << (bar->isVisible() || !bar->isHidden());
            bar->hide();
        }
        panel_->show();
        placeViewerPanel();
    } else {
        for (int i = 0; i < viewerHides_.size() && i < shownBeforeViewer_.size(); ++i)
            viewerHides_[i]->setVisible(shownBeforeViewer_[i]);
        panel_->hide();
    }
    ctx_.session.chooseTool(Tool::Move);
}

SaveOptions AnimationController::saveOptions() const {
    SaveOptions o;
    if (!ctx_.session.viewerMode()) return o;
    o.viewerMode = true;
    const QWidget* w = ctx_.window;
    const QRect r = w->geometry();
    const Qt::WindowStates s = w->windowState();
    o.window = WindowRecord{r.left(), r.top(), r.height(), r.width(),
                            s & Qt::WindowMinimized   ? 1
                            : s & Qt::WindowMaximized ? 2
                                                      : 0};
    return o;
}

} // namespace qorv
