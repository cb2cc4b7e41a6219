#include "dialogs/tpap.h"

#include "dialogs/dialogcontext.h"

#include "geometry/measure.h"
#include "model/document.h"
#include "model/replay.h"
#include "view/hittest.h"
#include "view/qtexts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

namespace qorv {

namespace {
constexpr int IntervalItems = 15;
constexpr int DefaultIntervalItem = 4; // "0.5 s."
} // namespace

TPaP::TPaP(DialogContext& context, QWidget* parent) : QDialog(parent, Qt::Tool), context_(context) {
    setObjectName(QStringLiteral("TPaP"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(320);
    auto button = [this](const char* name, const QString& glyph, int hint) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(glyph);
        b->setToolTip(text(hint));
        return b;
    };
    B_Primero = button("B_Primero", QStringLiteral("|<"), Msg::ReplayFirstStep);
    B_Unoatras = button("B_Unoatras", QStringLiteral("<"), Msg::ReplayPreviousStep);
    B_Unoadel = button("B_Unoadel", QStringLiteral(">"), Msg::ReplayNextStep);
    B_Ultimo = button("B_Ultimo", QStringLiteral(">|"), Msg::ReplayLastStep);
    B_anima = button("B_anima", text(Msg::ReplayPlay), Msg::ReplayPlay);
    B_anima->setCheckable(true);
    TB = new QSlider(Qt::Horizontal, this);
    TB->setObjectName(QStringLiteral("TB"));
    CB_vanim = new QComboBox(this);
    CB_vanim->setObjectName(QStringLiteral("CB_vanim"));
    for (int i = 0; i < IntervalItems; ++i)
        CB_vanim->addItem(text(Msg::ReplayInterval1 + i));
    Aceptar = new QPushButton(text(Msg::ReplayAccept), this);
    Aceptar->setObjectName(QStringLiteral("Aceptar"));
    Cancelar = new QPushButton(text(Msg::ReplayCancel), this);
    Cancelar->setObjectName(QStringLiteral("Cancelar"));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 6);
    grid->addWidget(B_Primero, 1, 0);
    grid->addWidget(B_Unoatras, 1, 1);
    grid->addWidget(B_Unoadel, 1, 2);
    grid->addWidget(B_Ultimo, 1, 3);
    grid->addWidget(B_anima, 1, 4);
    grid->addWidget(CB_vanim, 1, 5);
    grid->addWidget(TB, 2, 0, 1, 6);
    grid->addWidget(Aceptar, 3, 4);
    grid->addWidget(Cancelar, 3, 5);

    connect(B_Primero, &QToolButton::clicked, this, [this] { goTo(1); });
    connect(B_Ultimo, &QToolButton::clicked, this, [this] { goTo(stepCount()); });
    connect(B_Unoatras, &QToolButton::clicked, this, [this] { goTo(currentStep() - 1); });
    connect(B_Unoadel, &QToolButton::clicked, this, [this] { goTo(currentStep() + 1); });
    connect(TB, &QSlider::valueChanged, this, [this](int v) { goTo(v); });
    connect(CB_vanim, &QComboBox::currentIndexChanged, this,
            [this](int item) { Timer1->setInterval(replayIntervalMs(item)); });
    connect(B_anima, &QToolButton::toggled, this, [this](bool on) {
        if (on)
            Timer1->start();
        else
            Timer1->stop();
    });
    connect(Timer1, &QTimer::timeout, this, [this] { goTo(currentStep() + 1); });
    connect(Aceptar, &QPushButton::clicked, this, &TPaP::accept);
    connect(Cancelar, &QPushButton::clicked, this, &TPaP::reject);
    // Escape on these two closes the replay.
    Aceptar->installEventFilter(this);
    B_Unoadel->installEventFilter(this);
}

void TPaP::start() {
    steps_ = constructionSteps(context_.document(), context_.showHidden());
    const int n = stepCount();
    Timer1->stop();
    {
        const QSignalBlocker b(B_anima);
        B_anima->setChecked(false);
    }
    CB_vanim->setCurrentIndex(DefaultIntervalItem);
    Timer1->setInterval(replayIntervalMs(DefaultIntervalItem));
    {
        const QSignalBlocker b(TB);
        TB->setRange(1, std::max(1, n));
    }
    if (n == 0) {
        current_ = -1;
        Label1->setText(text(Msg::NoSteps));
        setWindowTitle(QString());
        for (QWidget* w : {static_cast<QWidget*>(B_Primero), static_cast<QWidget*>(B_Unoatras),
                           static_cast<QWidget*>(B_Unoadel), static_cast<QWidget*>(B_Ultimo),
                           static_cast<QWidget*>(TB), static_cast<QWidget*>(B_anima)})
            w->setEnabled(false);
        return;
    }
    TB->setEnabled(true);
    B_anima->setEnabled(true);
    current_ = context_.programOptions().stepByStepFromLast == 0 ? 0 : n - 1;
    showStep();
}

void TPaP::goTo(int step) {
    if (step < 1 || step > stepCount() || step == currentStep()) {
        // The timer stops at the end.
        if (step > stepCount() && Timer1->isActive()) B_anima->setChecked(false);
        return;
    }
    current_ = step - 1;
    showStep();
}

void TPaP::showStep() {
    const int n = stepCount();
    Element* step = steps_[size_t(current_)];
    {
        const QSignalBlocker b(TB);
        TB->setValue(current_ + 1);
    }
    // At the last step the whole construction shows (with names and internal elements after it).
    emit stepShown(step, current_ == n - 1);
    Label1->setText(describeStep(*step));
    B_Primero->setEnabled(current_ > 0);
    B_Unoatras->setEnabled(current_ > 0);
    B_Unoadel->setEnabled(current_ < n - 1);
    B_Ultimo->setEnabled(current_ < n - 1);
    QString caption = text(Msg::ReplayCaption);
    if (current_ == 0) caption += QStringLiteral(" - ") + text(Msg::FirstElement);
    if (current_ == n - 1) caption += QStringLiteral(" - ") + text(Msg::LastElement);
    setWindowTitle(caption);
}

QString TPaP::describeStep(const Element& e) const {
    const Document& doc = context_.document();
    std::string s = describeElement(doc, e);
    const std::string name = doc.nameOf(&e);
    if (e.method == Method::FunctionGraph && e.parent1) {
        if (const auto* f = e.parent1->tailAs<ExpressionTail>()) s += " " + f->exprText;
    } else if (!name.empty()) {
        s += " " + name;
    } else if (const auto* t = e.tailAs<TextTail>(); t && !t->lines.empty()) {
        s += ": " + t->lines.front();
    }
    const int decimals = std::max(0, int(e.decimals));
    if (const auto* b = e.tailAs<ButtonTail>()) {
        s += ": " + b->caption;
    } else if (const auto* q = e.tailAs<EquationTail>()) {
        s += ": " + q->text;
    } else if (const auto* c = e.tailAs<CoordinatesTail>()) {
        if (c->xCoord && c->yCoord)
            s += " [ " + formatNumber(c->xCoord->value[0], decimals) + " ; " +
                 formatNumber(c->yCoord->value[0], decimals) + " ]";
    } else if (e.kind() == Kind::Number && !e.tailAs<ExpressionTail>()) {
        s += " [ " + formatNumber(e.value[0], decimals) + " ]";
    }
    return qtext(s);
}

int TPaP::askKeepConstruction() {
    if (keepAnswer_) return keepAnswer_();
    switch (context_.ask(text(Msg::KeepConstructionQuestion))) {
    case DialogContext::Answer::Yes:
        return QMessageBox::Yes;
    case DialogContext::Answer::No:
        return QMessageBox::No;
    default:
        return QMessageBox::Cancel;
    }
}

void TPaP::accept() {
    Timer1->stop();
    const int n = stepCount();
    if (n == 0 || current_ == n - 1) return done(QDialog::Accepted);
    const int answer = askKeepConstruction();
    if (answer == QMessageBox::Cancel) return;
    if (answer == QMessageBox::Yes) {
        context_.recordUndoStep();
        cutAfter(context_.document(), steps_[size_t(current_)]);
    }
    done(QDialog::Accepted);
}

void TPaP::done(int result) {
    if (closing_) return;
    closing_ = true;
    Timer1->stop();
    {
        const QSignalBlocker b(B_anima);
        B_anima->setChecked(false);
    }
    steps_.clear();
    current_ = -1;
    QDialog::done(result);
    emit replayEnded();
    closing_ = false;
}

bool TPaP::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        (watched == Aceptar || watched == B_Unoadel)) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace qorv
