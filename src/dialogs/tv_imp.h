// "Imprimir": the whole plane in miniature with the printed page as a rectangle that can be
// dragged, track bars for the size of the plane and for the magnification (millimetres of paper
// per plane pixel), the number of copies, and the printing itself.
#pragma once

#include "dialogs/tmuepan.h"

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QSize>

#include <functional>

class QFrame;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSlider;
class QSpinBox;

namespace qorv {

class TV_imp : public QDialog {
    Q_OBJECT
  public:
    static constexpr int PreviewSide = PlanePreviewSide;
    // The magnification of a track-bar position (0..1000): 0.12 to about 0.4533 mm per pixel.
    static double magnificationAt(int position) { return 0.12 + (position / 1000.0) / 3.0; }

    // `setup` opens the system's printer set-up on the printer (the "opciones" button); `title`
    // names the print job.
    TV_imp(DialogContext& context, QPrinter& printer, std::function<void(QPrinter&)> setup,
           const QString& title, QWidget* parent = nullptr);

    // State, for the main window and the tests.
    double previewScale() const { return scale_; }
    double magnification() const { return magnification_; }
    QSize pageInPixels() const { return QSize(pw_, ph_); }
    QPoint rectangleOrigin() const { return rectOrigin_; }
    QSize rectangleSize() const { return rectSize_; }
    bool printed() const { return printed_; }
    int copies() const;
    QSlider* planeTrackBar() const { return TrackBar1; }
    QSlider* magnificationTrackBar() const { return TrackBar2; }
    QLineEdit* copiesEdit() const { return Ed_ncop; }
    QPushButton* printButton() const { return bot_print; }
    QWidget* preview() const { return preview_; }

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void pageFromPrinter();
    void placeRectangle();
    void clampRectangle();
    void redrawPreview();
    void planeTrackBarChanged(int position);
    void magnificationChanged(int position);
    void print();

    DialogContext& context_;
    QPrinter& printer_;
    std::function<void(QPrinter&)> setup_;
    QString title_;
    QFrame* Bevel1 = nullptr;
    QWidget* preview_ = nullptr;
    QSlider* TrackBar1 = nullptr;
    QSlider* TrackBar2 = nullptr;
    QLineEdit* Ed_ncop = nullptr;
    QSpinBox* UD_ncop = nullptr;
    QPushButton* bot_print = nullptr;
    QPushButton* bot_opc = nullptr;
    QPushButton* bot_cancel = nullptr;

    QImage previewImage_;
    SavedPlaneView saved_;
    double scale_ = 1.0;
    double magnification_ = 0.25;
    int pw_ = 0, ph_ = 0; // the page in plane pixels
    QPointF corner_;      // world point under the rectangle's corner
    QPoint rectOrigin_;
    QSize rectSize_;
    bool dragging_ = false;
    QPoint pressPoint_;
    QPoint pressOrigin_;
    bool printed_ = false;
    bool finished_ = false;
};

} // namespace qorv
