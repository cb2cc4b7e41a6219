#include "app/tv_inicio.h"

#include "model/uitext.h"
#include "view/qtexts.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace qorv {

TV_inicio::TV_inicio(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TV_inicio"));
    setFixedSize(500, 350);
    if (const QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = rect();
        r.moveCenter(s->geometry().center());
        move(r.topLeft());
    }
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &TV_inicio::finish);
}

void TV_inicio::startTimer(QWidget* mainWindow, int milliseconds) {
    mainWindow_ = mainWindow;
    if (mainWindow_) mainWindow_->setEnabled(false);
    timer_->start(milliseconds);
}

void TV_inicio::finish() {
    hide();
    if (mainWindow_) mainWindow_->setEnabled(true);
}

// A click lets the user past the splash at once.
void TV_inicio::mousePressEvent(QMouseEvent*) {
    timer_->stop();
    finish();
}

void TV_inicio::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(234, 242, 250));
    sky.setColorAt(1, QColor(196, 218, 240));
    p.fillRect(rect(), sky);
    p.setPen(QPen(QColor(43, 95, 140), 2));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
    QIcon(QStringLiteral(":/program/qorv.svg")).paint(&p, QRect(40, 95, 160, 160));
    QFont title = font();
    title.setPointSize(40);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(43, 95, 140));
    p.drawText(QRect(220, 110, 260, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("QORV"));
    QFont small = font();
    small.setPointSize(11);
    p.setFont(small);
    p.setPen(QColor(40, 40, 40));
    p.drawText(QRect(222, 180, 250, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               text(Msg::AboutText));
    p.drawText(QRect(222, 300, 250, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QCoreApplication::applicationVersion());
}

} // namespace qorv
