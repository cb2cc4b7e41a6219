#include "dialogs/tv_animac.h"

#include "dialogs/dialogcontext.h"

#include "geometry/animation.h"
#include "model/document.h"
#include "view/hittest.h"
#include "view/qtexts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace qorv {

// ---- ThreadAnim ---------------------------------------------------------------------------------

ThreadAnim::ThreadAnim(std::function<void()> step, QObject* parent)
    : QObject(parent), step_(std::move(step)), timer_(new QTimer(this)) {
    // The timer only wakes the loop; the 30 ms between two steps are measured.
    timer_->setInterval(IntervalMs / 3);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &ThreadAnim::tick);
}

void ThreadAnim::resume() {
    if (timer_->isActive()) return;
    since_.start();
    timer_->start();
}

void ThreadAnim::suspend() {
    timer_->stop();
}

bool ThreadAnim::suspended() const {
    return !timer_->isActive();
}

void ThreadAnim::tick() {
    if (since_.elapsed() < IntervalMs) return;
    since_.restart();
    ++steps_;
    step_();
}

// ---- TV_animac ----------------------------------------------------------------------------------

TV_animac::TV_animac(DialogContext& context, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), context_(context) {
    setObjectName(QStringLiteral("TV_animac"));
    setWindowTitle(text(Msg::AnimationCaption));
    pacer_ = new ThreadAnim([this] { emit stepDue(); }, this);

    CB = new QComboBox(this);
    CB->setObjectName(QStringLiteral("CB"));
    CB->setMinimumWidth(220);
    auto button = [this](const char* name, int hint, bool checkable) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text(hint));
        b->setToolTip(text(hint));
        b->setCheckable(checkable);
        return b;
    };
    B_play = button("B_play", Msg::AnimPlay, true);
    B_sentido = button("B_sentido", Msg::AnimDirection, false);
    B_pausa = button("B_pausa", Msg::AnimPause, true);
    B_stop = button("B_stop", Msg::AnimRemove, false);
    TB = new QSlider(Qt::Horizontal, this);
    TB->setObjectName(QStringLiteral("TB"));
    TB->setRange(0, 100);
    Ed_vel = new QLineEdit(this);
    Ed_vel->setObjectName(QStringLiteral("Ed_vel"));
    Ed_vel->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), Ed_vel));
    Ed_vel->setMaximumWidth(40);
    UpDown_vel = new QSpinBox(this);
    UpDown_vel->setObjectName(QStringLiteral("UpDown_vel"));
    UpDown_vel->setRange(0, 100);
    UpDown_vel->setMaximumWidth(20);
    UpDown_vel->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    B_cancel = new QPushButton(text(Msg::OkButton), this);
    B_cancel->setObjectName(QStringLiteral("B_cancel"));
    // Enter in the speed box takes the speed; only a click closes the window.
    B_cancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(CB, 0, 0, 1, 5);
    grid->addWidget(B_play, 1, 0);
    grid->addWidget(B_sentido, 1, 1);
    grid->addWidget(B_pausa, 1, 2);
    grid->addWidget(B_stop, 1, 3);
    grid->addWidget(B_cancel, 1, 4);
    auto* speed = new QHBoxLayout;
    speed->addWidget(new QLabel(text(Msg::SpeedLabel), this));
    speed->addWidget(TB, 1);
    speed->addWidget(Ed_vel);
    speed->addWidget(UpDown_vel);
    grid->addLayout(speed, 2, 0, 1, 5);

    connect(CB, &QComboBox::activated, this, &TV_animac::entryChosen);
    connect(B_play, &QToolButton::toggled, this, [this](bool on) {
        if (updating_) return;
        if (AnimationRecord* a = animationEntryOf(context_.document(), current_)) {
            a->settings[AnimSetting::Playing] = on ? 1 : 0;
            context_.document().modified = 1;
        }
    });
    // The direction turns as the button goes down.
    connect(B_sentido, &QToolButton::pressed, this, [this] {
        if (AnimationRecord* a = animationEntryOf(context_.document(), current_)) {
            a->settings[AnimSetting::Direction] = a->settings[AnimSetting::Direction] == 1 ? 0 : 1;
            context_.document().modified = 1;
        }
    });
    connect(B_pausa, &QToolButton::toggled, this, [this](bool down) {
        if (down)
            pacer_->suspend();
        else
            runIfWanted();
    });
    connect(B_stop, &QToolButton::clicked, this, [this] {
        Document& doc = context_.document();
        if (AnimationRecord* a = animationEntryOf(doc, current_)) {
            doc.animations.erase(doc.animations.begin() + (a - doc.animations.data()));
            doc.modified = 1;
        }
        current_ = nullptr;
        rebuildList();
    });
    connect(TB, &QSlider::valueChanged, this, &TV_animac::setSpeed);
    connect(UpDown_vel, &QSpinBox::valueChanged, this, &TV_animac::setSpeed);
    connect(Ed_vel, &QLineEdit::textEdited, this, [this](const QString& t) {
        if (t.isEmpty()) return;
        setSpeed(std::clamp(t.toInt(), 0, 100));
    });
    connect(B_cancel, &QPushButton::clicked, this, &TV_animac::close);
}

void TV_animac::rebuildList() {
    Document& doc = context_.document();
    if (!animationEntryOf(doc, current_))
        current_ = doc.animations.empty() ? nullptr : doc.animations.front().element;
    const QSignalBlocker block(CB);
    CB->clear();
    int currentIndex = -1;
    for (const AnimationRecord& a : doc.animations) {
        if (!a.element) continue;
        QString entry = qtext(describeElement(doc, *a.element));
        const std::string name = doc.nameOf(a.element);
        if (!name.empty()) entry += QStringLiteral(" ") + qtext(name);
        if (a.element == current_) currentIndex = CB->count();
        CB->addItem(entry);
    }
    CB->setCurrentIndex(currentIndex);
    showEntry();
}

void TV_animac::entryClicked(Element* e) {
    current_ = e;
    rebuildList();
    runIfWanted();
}

void TV_animac::entryChosen(int index) {
    Document& doc = context_.document();
    if (index < 0 || index >= int(doc.animations.size())) return;
    current_ = doc.animations[size_t(index)].element;
    showEntry();
}

void TV_animac::showEntry() {
    const AnimationRecord* a = animationEntryOf(context_.document(), current_);
    updating_ = true;
    const int speed = a ? a->settings[AnimSetting::Speed] : 0;
    B_play->setChecked(a && a->settings[AnimSetting::Playing] != 0);
    TB->setValue(speed);
    UpDown_vel->setValue(speed);
    Ed_vel->setText(QString::number(speed));
    for (QWidget* w : {static_cast<QWidget*>(B_play), static_cast<QWidget*>(B_sentido),
                       static_cast<QWidget*>(B_stop), static_cast<QWidget*>(TB),
                       static_cast<QWidget*>(Ed_vel), static_cast<QWidget*>(UpDown_vel)})
        w->setEnabled(a != nullptr);
    updating_ = false;
}

void TV_animac::setSpeed(int speed) {
    if (updating_) return;
    speed = std::clamp(speed, 0, 100);
    if (AnimationRecord* a = animationEntryOf(context_.document(), current_)) {
        a->settings[AnimSetting::Speed] = speed;
        context_.document().modified = 1;
    }
    showEntry();
}

void TV_animac::runIfWanted() {
    if (isVisible() && !context_.document().animations.empty() && pacer_->suspended() &&
        !B_pausa->isChecked())
        pacer_->resume();
}

void TV_animac::placeAtBottom() {
    QWidget* main = parentWidget();
    if (!main) return;
    adjustSize();
    const QRect r = main->frameGeometry();
    const int x = std::max(r.left() + 8, r.left() + (r.width() - width()) / 2);
    move(x, r.bottom() - height() - 8);
}

void TV_animac::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!context_.document().animations.empty()) context_.recordUndoStep();
    rebuildList();
    placeAtBottom();
    emit visibilityChanged(true);
    runIfWanted();
}

void TV_animac::hideEvent(QHideEvent* event) {
    pacer_->suspend();
    emit visibilityChanged(false);
    QDialog::hideEvent(event);
}

void TV_animac::finish() {
    if (finishing_) return;
    finishing_ = true;
    hide();
    emit closedByUser();
    finishing_ = false;
}

void TV_animac::reject() {
    finish();
}

void TV_animac::closeEvent(QCloseEvent* event) {
    QDialog::closeEvent(event);
    finish();
}

} // namespace qorv
