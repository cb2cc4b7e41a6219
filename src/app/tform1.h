// The main window.
#pragma once

#include <QMainWindow>
#include <memory>

class QLabel;

namespace qorv {

class Document;

// The drawing area: its paint only copies the off-screen image.
class DrawingArea : public QWidget {
    Q_OBJECT
public:
    explicit DrawingArea(QWidget* parent = nullptr);
    QImage& canvas() { return canvas_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    QImage canvas_;
};

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    Document& document() { return *document_; }
    DrawingArea* drawingArea() const { return drawingArea_; }

private:
    std::unique_ptr<Document> document_;
    DrawingArea* drawingArea_ = nullptr;
    QLabel* statusText_ = nullptr;
};

} // namespace qorv
