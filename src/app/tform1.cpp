#include "app/tform1.h"

#include "model/document.h"

#include <QLabel>
#include <QPainter>
#include <QStatusBar>

namespace qorv {

DrawingArea::DrawingArea(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void DrawingArea::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, canvas_);
}

void DrawingArea::resizeEvent(QResizeEvent*) {
    canvas_ = QImage(size(), QImage::Format_RGB32);
    canvas_.fill(Qt::black);
}

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), document_(std::make_unique<Document>()) {
    setWindowTitle(QStringLiteral("QORV"));
    drawingArea_ = new DrawingArea(this);
    setCentralWidget(drawingArea_);
    statusText_ = new QLabel(this);
    statusBar()->addWidget(statusText_, 1);
    resize(900, 650);
}

TForm1::~TForm1() = default;

} // namespace qorv
