// "Mover la pantalla": the whole plane in miniature with the window's view as a rectangle that
// can be dragged, and a track bar for the size of the plane.
#pragma once

#include "dialogs/planepreview.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QSize>

class QFrame;
class QPushButton;
class QSlider;

namespace qorv {

class DialogContext;

class TMuePan : public QDialog {
    Q_OBJECT
  public:
    static constexpr int PreviewSide = PlanePreviewSide;

    explicit TMuePan(DialogContext& context, QWidget* parent = nullptr);

    // Dialog state, for the main window and the tests.
    double previewScale() const { return scale_; }
    QPoint rectangleOrigin() const { return rectOrigin_; }
    QSize rectangleSize() const { return rectSize_; }
    bool moved() const { return moved_; }
    QSlider* trackBar() const { return TrackBar1; }
    QWidget* preview() const { return preview_; }
    const QImage& previewImage() const { return previewImage_; }

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void redrawPreview();
    void placeRectangleFromView();
    bool clampRectangle();
    void moveViewToRectangle();
    void trackBarChanged(int position);

    DialogContext& context_;
    QFrame* Bevel1 = nullptr;
    QWidget* preview_ = nullptr;
    QSlider* TrackBar1 = nullptr;
    QPushButton* BotOK = nullptr;
    QPushButton* BotCancel = nullptr;

    QImage previewImage_;
    SavedPlaneView saved_;
    double scale_ = 1.0;
    QPointF corner_; // world point under the rectangle's corner
    QPoint rectOrigin_;
    QSize rectSize_;
    bool moved_ = false;
    bool dragging_ = false;
    QPoint pressPoint_;
    QPoint pressOrigin_;
    bool finished_ = false;
};

} // namespace qorv
