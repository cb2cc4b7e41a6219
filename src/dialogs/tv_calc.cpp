#include "dialogs/tv_calc.h"

#include "model/uitext.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

namespace qorv {

// ---- the result field ---------------------------------------------------------------------------

void ResultField::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    held_ = true;
    emit pressed(event->globalPosition().toPoint());
}

void ResultField::mouseMoveEvent(QMouseEvent* event) {
    if (held_) emit dragged(event->globalPosition().toPoint());
}

void ResultField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !held_) return;
    held_ = false;
    emit released();
}

// ---- the window ---------------------------------------------------------------------------------

namespace {

constexpr int TypeSlots[] = {Name::TypeYofX, Name::TypeXofY, Name::TypeRofW, Name::TypeWofR};

ConstructionMethod methodOfTool(int tool) {
    switch (tool) {
    case Tool::Parameter:
        return Method::Parameter;
    case Tool::Function:
        return Method::Function;
    default:
        return Method::Calculation;
    }
}

} // namespace

TV_calc::TV_calc(DialogContext& context, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), context_(context) {
    setObjectName(QStringLiteral("TV_calc"));
    setWindowTitle(qtext(uiText().toolPrompt(Tool::Function)));

    B_vi = new QPushButton(this);
    B_vi->setObjectName(QStringLiteral("B_vi"));
    B_vi->setAutoDefault(false);
    B_vi->setFixedWidth(30);
    connect(B_vi, &QPushButton::clicked, this,
            [this] { insertText(QString(QChar(variableLetter(calc_.type())))); });
    B_tipfun = new QToolButton(this);
    B_tipfun->setObjectName(QStringLiteral("B_tipfun"));
    B_tipfun->setPopupMode(QToolButton::InstantPopup);
    auto* types = new QMenu(B_tipfun);
    for (int t = FunctionType::YofX; t <= FunctionType::WofR; ++t) {
        if (t == FunctionType::RofW) types->addSeparator();
        types->addAction(nameText(TypeSlots[t - 1]), this, [this, t] { setFunctionType(t); });
    }
    B_tipfun->setMenu(types);

    Ed_expr = new QLineEdit(this);
    Ed_expr->setObjectName(QStringLiteral("Ed_expr"));
    Ed_expr->setMinimumWidth(260);
    connect(Ed_expr, &QLineEdit::textChanged, this, [this] {
        calc_.forgetResult();
        Ed_result->clear();
        showAvailability();
    });
    connect(Ed_expr, &QLineEdit::returnPressed, this, &TV_calc::evaluateExpression);

    Ed_result = new ResultField(this);
    Ed_result->setObjectName(QStringLiteral("Ed_result"));
    Ed_result->setReadOnly(true);
    Ed_result->setFocusPolicy(Qt::NoFocus);
    Ed_result->setMinimumWidth(150);
    Ed_result->setStyleSheet(QStringLiteral("QLineEdit { color: yellow; background: black; }"));
    connect(Ed_result, &ResultField::pressed, this, &TV_calc::resultPressed);
    connect(Ed_result, &ResultField::dragged, this, [this](QPoint global) {
        if (placing_) emit placingMoved(global);
    });
    connect(Ed_result, &ResultField::released, this, [this] {
        if (!placing_) return;
        placing_ = false;
        emit placingEnded();
    });

    auto* top = new QHBoxLayout;
    top->addWidget(B_vi);
    top->addWidget(B_tipfun);
    top->addWidget(Ed_expr, 1);
    top->addWidget(Ed_result);

    auto* keys = new QGridLayout;
    keys->setSpacing(2);
    B_arc = button("B_arc", QStringLiteral("arc"), {});
    B_arc->setCheckable(true);
    QPushButton* row1[] = {
        B_arc,
        button("B_sen", QStringLiteral("sin"), QStringLiteral("sin(")),
        button("B_cos", QStringLiteral("cos"), QStringLiteral("cos(")),
        button("B_tan", QStringLiteral("tan"), QStringLiteral("tan(")),
        button("B_log", QStringLiteral("log"), QStringLiteral("log(")),
        button("B_ln", QStringLiteral("ln"), QStringLiteral("ln(")),
        button("B_pot", QStringLiteral("^"), QStringLiteral("^")),
        button("B_sqr", QStringLiteral("sqr"), QStringLiteral("sqr(")),
        button("B_abs", QStringLiteral("abs"), QStringLiteral("abs(")),
        button("B_int", QStringLiteral("int"), QStringLiteral("int(")),
    };
    QPushButton* row2[] = {
        button("B_mas", QStringLiteral("+"), QStringLiteral("+")),
        button("B_menos", QStringLiteral("-"), QStringLiteral("-")),
        button("B_mul", QStringLiteral("x"), QStringLiteral("*")),
        button("B_div", QStringLiteral("/"), QStringLiteral("/")),
        button("B_p_izq", QStringLiteral("("), QStringLiteral("(")),
        button("B_p_der", QStringLiteral(")"), QStringLiteral(")")),
        button("B_pi", QStringLiteral("pi"), QStringLiteral("pi")),
        button("B_C", text(Msg::CalcClear), {}),
        button("B_exe", text(Msg::CalcEvaluate), {}),
        button("B_apaga", text(Msg::CloseCaption), {}),
    };
    for (int i = 0; i < 10; ++i) {
        keys->addWidget(row1[i], 0, i);
        keys->addWidget(row2[i], 1, i);
    }
    connect(row2[7], &QPushButton::clicked, this, [this] { clearAll(); });
    connect(row2[8], &QPushButton::clicked, this, &TV_calc::evaluateExpression);
    connect(row2[9], &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(keys);
    showType();
    showAvailability();
}

QPushButton* TV_calc::button(const char* name, const QString& caption, const QString& inserted) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    b->setFocusPolicy(Qt::NoFocus); // the caret stays in the expression
    b->setMinimumWidth(36);
    if (!inserted.isEmpty()) {
        const bool trig = inserted == QLatin1String("sin(") || inserted == QLatin1String("cos(") ||
                          inserted == QLatin1String("tan(");
        connect(b, &QPushButton::clicked, this, [this, inserted, trig] {
            if (trig && B_arc->isChecked()) {
                B_arc->setChecked(false);
                insertText(QLatin1Char('a') + inserted);
            } else {
                insertText(inserted);
            }
        });
    }
    return b;
}

void TV_calc::openFor(int tool, Element* edit) {
    editSelected(false);
    tool_ = tool;
    calc_.open(methodOfTool(tool));
    setWindowTitle(qtext(uiText().toolPrompt(tool)));
    const bool function = calc_.method() == Method::Function;
    B_vi->setVisible(function);
    B_tipfun->setVisible(function);
    clearAll();
    if (edit) {
        const QString typed = QString::fromStdString(calc_.startEditing(*edit));
        showType();
        const QSignalBlocker block(Ed_expr);
        Ed_expr->setText(typed);
        Ed_expr->setCursorPosition(int(typed.size()));
        editSelected(true);
    }
    show();
    raise();
    Ed_expr->setFocus();
}

void TV_calc::clearAll() {
    // Keeps the element being edited: only the lists, the fields and the result go.
    calc_.clear();
    Ed_expr->clear();
    Ed_result->clear();
    showType();
    showAvailability();
}

void TV_calc::showType() {
    const int t = calc_.type();
    if (t < FunctionType::YofX || t > FunctionType::WofR) return;
    B_tipfun->setText(nameText(TypeSlots[t - 1]));
    B_vi->setText(QString(QChar(variableLetter(t))));
}

void TV_calc::setFunctionType(int type) {
    calc_.setType(type);
    clearAll();
}

void TV_calc::showAvailability() {
    Ed_result->setCursor(calc_.hasResult() ? Qt::OpenHandCursor : Qt::ForbiddenCursor);
}

void TV_calc::insertText(const QString& inserted) {
    QString t = Ed_expr->text();
    const int caret = Ed_expr->cursorPosition();
    const bool closes = inserted.endsWith(QLatin1Char('(')) &&
                        (caret >= t.size() || t.at(caret) == QLatin1Char(')'));
    t.insert(caret, closes ? inserted + QLatin1Char(')') : inserted);
    Ed_expr->setText(t);
    Ed_expr->setCursorPosition(caret + int(inserted.size()));
    Ed_expr->setFocus();
}

void TV_calc::addReference(Element& e) {
    const std::string inserted = calc_.addReference(e);
    if (!inserted.empty()) insertText(QString::fromStdString(inserted));
}

void TV_calc::evaluateExpression() {
    Document& doc = context_.document();
    const CalcOutcome outcome = calc_.evaluate(Ed_expr->text().toStdString(), doc);
    switch (outcome) {
    case CalcOutcome::TooLong:
        context_.warn(text(Msg::ExpressionTooLong));
        return;
    case CalcOutcome::Invalid:
        Ed_result->clear();
        showAvailability();
        context_.warn(text(Msg::InvalidExpression));
        Ed_expr->setFocus();
        return;
    default:
        break;
    }
    Ed_result->setText(
        QString::fromStdString(calc_.resultText(outcome, uiText().message(Msg::NoValueText))));
    showAvailability();
    if (!calc_.hasResult() || !calc_.editing()) return;
    // An edited element takes the new expression at once.
    if (!calc_.editAllowed(doc)) {
        context_.warn(text(Msg::InvalidExpression));
        return;
    }
    context_.recordUndoStep();
    if (Element* e = calc_.applyEdit(doc, context_.creationOptions())) e->selected = 1;
    context_.changed();
}

void TV_calc::documentChanged(bool otherDocument) {
    if (otherDocument) {
        calc_.stopEditing();
        clearAll();
        return;
    }
    if (calc_.forgetMissing(context_.document())) {
        Ed_result->clear();
        showAvailability();
    }
}

void TV_calc::resultPressed(QPoint global) {
    if (!calc_.hasResult() || placing_) return;
    context_.recordUndoStep();
    Element* e = calc_.create(context_.document(), context_.creationOptions(), Point2{});
    if (!e) return;
    placing_ = true;
    emit placingStarted(e, global);
}

void TV_calc::editSelected(bool on) {
    if (Element* e = calc_.editing()) {
        e->selected = on ? 1 : 0;
        context_.changed();
    }
}

void TV_calc::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (placing_) {
        placing_ = false;
        emit placingEnded();
    }
    editSelected(false);
    calc_.stopEditing();
    emit closed();
}

} // namespace qorv
