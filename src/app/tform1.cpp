#include "app/tform1.h"

#include "geometry/recalc.h"
#include "model/docfile.h"
#include "model/document.h"
#include "model/uitext.h"
#include "view/paramcolor.h"
#include "view/viewtransform.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>

#include <algorithm>
#include <cmath>

namespace qorv {

namespace {
QString text(int slot) {
    return QString::fromStdString(uiText().message(slot));
}
} // namespace

// ---- drawing area ------------------------------------------------------------------------------

DrawingArea::DrawingArea(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void DrawingArea::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect r = event->rect();
    if (source_ && !source_->isNull())
        p.drawImage(r.topLeft(), *source_, r);
    else
        p.fillRect(r, Qt::black);
}

void DrawingArea::resizeEvent(QResizeEvent*) {
    emit resized();
}

// ---- main window
// ---------------------------------------------------------------------------------

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), document_(std::make_unique<Document>()) {
    setWindowTitle(text(Msg::ProgramCaption));

    // The off-screen bitmaps start at the size of the screen.
    const QSize screen = screenSize();
    mainBitmap_ = QImage(screen, QImage::Format_RGB32);
    mainBitmap_.fill(Qt::black);
    traceBitmap_ = QImage(screen, QImage::Format_RGB32);
    traceBitmap_.fill(Qt::white);
    planeSize_ = planeDefault(screen.width(), screen.height());

    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    drawingArea_ = new DrawingArea(central);
    drawingArea_->setSource(&mainBitmap_);
    grid->addWidget(drawingArea_, 0, 0);

    // Each scroll bar sits on its own panel.
    panelV_ = new QWidget(central);
    auto* vLayout = new QGridLayout(panelV_);
    vLayout->setContentsMargins(0, 0, 0, 0);
    SB_v = new QScrollBar(Qt::Vertical, panelV_);
    SB_v->setObjectName(QStringLiteral("SB_v"));
    vLayout->addWidget(SB_v);
    grid->addWidget(panelV_, 0, 1);
    panelH_ = new QWidget(central);
    auto* hLayout = new QGridLayout(panelH_);
    hLayout->setContentsMargins(0, 0, 0, 0);
    SB_h = new QScrollBar(Qt::Horizontal, panelH_);
    SB_h->setObjectName(QStringLiteral("SB_h"));
    hLayout->addWidget(SB_h);
    grid->addWidget(panelH_, 1, 0);
    for (QScrollBar* bar : {SB_h, SB_v}) {
        bar->setRange(0, ScrollMax);
        bar->setSingleStep(ScrollSmallStep);
        bar->setPageStep(ScrollLargeStep);
    }
    connect(SB_h, &QScrollBar::valueChanged, this, &TForm1::horizontalScrolled);
    connect(SB_v, &QScrollBar::valueChanged, this, &TForm1::verticalScrolled);
    setCentralWidget(central);

    statusText_ = new QLabel(this);
    statusUnits_ = new QLabel(this);
    statusBar()->addWidget(statusText_, 1);
    statusBar()->addPermanentWidget(statusUnits_);

    buildMenus();
    setupTools();
    buildToolBars();
    connect(drawingArea_, &DrawingArea::resized, this, &TForm1::drawingAreaResized);
    resize(900, 650);
    newDocument();
}

void TForm1::buildMenus() {
    QMenu* file = menuBar()->addMenu(text(Msg::MenuFile));
    M_abrir = file->addAction(text(Msg::Open));
    M_abrir->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(M_abrir, &QAction::triggered, this, [this] {
        // The dialog gets no clicks while a pan holds the mouse.
        interaction_->endGesture();
        redraw();
        const QString path = openDialogHook_
                                 ? openDialogHook_()
                                 : QFileDialog::getOpenFileName(this, text(Msg::Open), QString(),
                                                                QStringLiteral("*.qrv"));
        if (!path.isEmpty()) openDocumentFile(path);
    });
    file->addSeparator();
    M_salir = file->addAction(text(Msg::Exit));
    connect(M_salir, &QAction::triggered, this, &QWidget::close);

    buildEditMenu();

    QMenu* view = menuBar()->addMenu(text(Msg::MenuView));
    TodosElem1 = view->addAction(text(Msg::ShowHidden));
    TodosElem1->setCheckable(true);
    TodosElem1->setShortcut(QKeySequence(Qt::Key_F8));
    connect(TodosElem1, &QAction::toggled, this, &TForm1::setShowHidden);
    MuePan1 = view->addAction(text(Msg::MoveScreenItem));
    connect(MuePan1, &QAction::triggered, this, &TForm1::openMoveScreen);
    PantallaCom = view->addAction(text(Msg::FullScreen));
    PantallaCom->setCheckable(true);
    connect(PantallaCom, &QAction::toggled, this, &TForm1::setFullScreenMode);
    M_AA = view->addAction(text(Msg::Antialiasing));
    M_AA->setCheckable(true);
    connect(M_AA, &QAction::toggled, this, &TForm1::setAntialiased);
}

QSize TForm1::screenSize() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->size() : QSize(1024, 768);
}

QSize TForm1::drawingAreaSize() const {
    return drawingArea_->size();
}

void TForm1::warn(const QString& message) {
    if (messageSink_) {
        messageSink_(message);
        return;
    }
    QMessageBox::warning(this, text(Msg::ProgramCaption), message);
}

// ---- documents
// -----------------------------------------------------------------------------------

void TForm1::openCommandLine(const QString& commandLine) {
    QString name = commandLine;
    if (name.size() > 1 && name.startsWith(QLatin1Char('"'))) name.remove(0, 1);
    if (name.size() > 0 && name.endsWith(QLatin1Char('"'))) name.chop(1);
    if (!name.isEmpty() && openDocumentFile(name)) return;
    newDocument();
}

bool TForm1::openDocumentFile(const QString& path) {
    // Read into a fresh document so that a refused file leaves the open one as it was.
    auto doc = std::make_unique<Document>();
    const QSize area = drawingAreaSize();
    ReadOptions options;
    options.viewWidth = area.width();
    options.viewHeight = area.height();
    const ReadResult r =
        readDocumentFile(*doc, QFile::encodeName(path).toStdString(), FileType::Document, options);
    if (r.kind == FileKind::Newer) {
        warn(text(Msg::NewerVersion) + QStringLiteral(": ") + path);
        return false;
    }
    if (r.kind != FileKind::Document && r.kind != FileKind::DocumentWithWindow) {
        warn(text(Msg::InvalidFile) + QStringLiteral(": ") + path);
        return false;
    }
    installDocument(std::move(doc));
    return true;
}

void TForm1::newDocument() {
    auto doc = std::make_unique<Document>();
    const QSize area = drawingAreaSize();
    doc->left = -area.width() / 2.0;
    doc->top = area.height() / 2.0;
    doc->modified = 0;
    installDocument(std::move(doc));
}

void TForm1::installDocument(std::unique_ptr<Document> doc) {
    if (interaction_) interaction_->documentReplaced();
    renderer_.clearCaches();
    document_ = std::move(doc);
    {
        const QSignalBlocker block(M_AA);
        M_AA->setChecked(document_->antialiased != 0);
    }
    updateStatusUnits();
    clearTrace();
    synchronizeView(true);
    recalculateAndRedraw();
    updateEditActions();
}

// ---- drawing
// -------------------------------------------------------------------------------------

void TForm1::ensureCanvasSize() {
    const QSize need = drawingAreaSize().expandedTo(screenSize());
    if (mainBitmap_.width() >= need.width() && mainBitmap_.height() >= need.height()) return;
    const QSize size = need.expandedTo(mainBitmap_.size());
    mainBitmap_ = QImage(size, QImage::Format_RGB32);
    mainBitmap_.fill(Qt::black);
    traceBitmap_ = QImage(size, QImage::Format_RGB32);
    clearTrace();
    drawingArea_->setSource(&mainBitmap_);
}

RenderOptions TForm1::viewOptions() const {
    RenderOptions o;
    o.view = documentView(*document_);
    o.width = drawingArea_->width();
    o.height = drawingArea_->height();
    o.target = RenderTarget::MainBitmap;
    o.antialiased = document_->antialiased != 0;
    o.showHidden = showHidden_;
    o.planeSize = planeSize_;
    if (interaction_) {
        o.interacting = interaction_->interacting();
        o.picked = &interaction_->engine().picked();
    }
    return o;
}

void TForm1::redraw(bool repaint, const Element* stop) {
    Document& doc = *document_;
    ensureCanvasSize();
    applyParametricColours(doc);
    RenderOptions o = viewOptions();
    o.trace = &traceBitmap_;
    o.stop = stop;
    if (interaction_) o.overlay = [this](QPainter& p) { drawOverlay(p); };
    renderer_.redraw(mainBitmap_, doc, o);
    overlay_.invalidate();
    if (repaint) drawingArea_->update();
}

void TForm1::recalculateAndRedraw(Element* stop, bool repaint) {
    recalcUpTo(*document_, stop);
    redraw(repaint, stop);
}

void TForm1::recalculateMarkedAndRedraw(bool repaint) {
    recalcMarked(*document_);
    redraw(repaint);
}

void TForm1::clearTrace() {
    const Color bg = document_->background;
    const int v = std::max({colorRed(bg), colorGreen(bg), colorBlue(bg)});
    traceBitmap_.fill(v / 255.0 > 0.5 ? Qt::white : Qt::black);
}

void TForm1::synchronizeView(bool setBars) {
    Document& doc = *document_;
    const QSize screen = screenSize();
    updateFarCorner(doc, screen.width(), screen.height());
    if (!setBars) return;
    const QSize area = drawingAreaSize();
    const QSignalBlocker blockH(SB_h), blockV(SB_v);
    SB_h->setValue(scrollFromOriginX(doc.left, planeSize_, area.width()));
    SB_v->setValue(scrollFromOriginY(doc.top, planeSize_, area.height()));
}

void TForm1::drawingAreaResized() {
    if (!document_) return;
    synchronizeView(true);
    recalculateAndRedraw();
}

// ---- scroll bars
// ---------------------------------------------------------------------------------

void TForm1::horizontalScrolled(int position) {
    document_->left = originXFromScroll(position, planeSize_, drawingAreaSize().width());
    afterScroll();
}

void TForm1::verticalScrolled(int position) {
    document_->top = originYFromScroll(position, planeSize_, drawingAreaSize().height());
    afterScroll();
}

void TForm1::afterScroll() {
    synchronizeView(false);
    if (interaction_) interaction_->viewScrolled();
    if (!document_->traceList.empty()) clearTrace();
    recalculateAndRedraw();
}

// ---- view toggles
// --------------------------------------------------------------------------------

void TForm1::setShowHidden(bool on) {
    showHidden_ = on;
    {
        const QSignalBlocker block(TodosElem1);
        TodosElem1->setChecked(on);
    }
    redraw();
}

void TForm1::setAntialiased(bool on) {
    document_->antialiased = on ? 1 : 0;
    document_->modified = 1;
    {
        const QSignalBlocker block(M_AA);
        M_AA->setChecked(on);
    }
    recalculateAndRedraw();
}

void TForm1::setFullScreenMode(bool on) {
    if (on == fullScreen_) return;
    fullScreen_ = on;
    {
        const QSignalBlocker block(PantallaCom);
        PantallaCom->setChecked(on);
    }
    const QSize screen = screenSize();
    if (on) {
        savedGeometry_ = geometry();
        savedState_ = windowState();
        setWindowFlag(Qt::FramelessWindowHint, true);
        // The menu bar is pushed above the top edge of the screen.
        const int menuHeight = menuBar()->sizeHint().height();
        setWindowState(Qt::WindowNoState);
        setGeometry(0, 2 - menuHeight, screen.width(), menuHeight + screen.height() - 2);
        show();
    } else {
        setWindowFlag(Qt::FramelessWindowHint, false);
        setWindowState(savedState_);
        if (!(savedState_ & Qt::WindowMaximized) && savedGeometry_.left() <= screen.width() &&
            savedGeometry_.top() <= screen.height()) {
            setGeometry(savedGeometry_);
        } else if (!(savedState_ & Qt::WindowMaximized)) {
            QRect r(QPoint(), savedGeometry_.size());
            r.moveCenter(QRect(QPoint(), screen).center());
            setGeometry(r);
        }
        show();
    }
    updateSizeGrip();
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) updateSizeGrip();
    QMainWindow::changeEvent(event);
}

void TForm1::updateSizeGrip() {
    statusBar()->setSizeGripEnabled(!fullScreen_ && !(windowState() & Qt::WindowMaximized));
}

void TForm1::updateStatusUnits() {
    static constexpr int lengthUnits[] = {Msg::UnitMm, Msg::UnitCm, Msg::UnitM, Msg::UnitKm};
    static constexpr int angleUnits[] = {Msg::UnitRad, Msg::UnitDeg, Msg::UnitGra};
    const int l = std::clamp(document_->lengthUnit, 0, 3);
    const int a = std::clamp(document_->angleUnit, 0, 2);
    statusUnits_->setText(text(lengthUnits[l]) + QStringLiteral("  ") + text(angleUnits[a]));
}

// ---- "Mover la pantalla" --------------------------------------------------------------------

void TForm1::openMoveScreen() {
    TMuePan dialog(*this, this);
    dialog.exec();
}

void TForm1::setPlaneSize(double size) {
    const QSize screen = screenSize();
    planeSize_ = std::clamp(size, planeMinimum(screen.width(), screen.height()),
                            planeMaximum(screen.width(), screen.height()));
}

void TForm1::redrawMainView() {
    redraw(true);
}

void TForm1::viewChanged() {
    synchronizeView(true);
    recalculateAndRedraw();
}

} // namespace qorv
