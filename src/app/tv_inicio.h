// The splash window shown while the program starts: 500 x 350 pixels, without a border, centred
// on the screen and above every window, with the program's picture. It hides itself when its
// timer fires and enables the main window.
#pragma once

#include <QWidget>

class QTimer;

namespace qorv {

class TV_inicio : public QWidget {
    Q_OBJECT
  public:
    explicit TV_inicio(QWidget* parent = nullptr);
    // Starts the timer; when it fires the splash hides and `mainWindow` is enabled.
    void startTimer(QWidget* mainWindow, int milliseconds);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void finish();

    QTimer* timer_ = nullptr;
    QWidget* mainWindow_ = nullptr;
};

} // namespace qorv
