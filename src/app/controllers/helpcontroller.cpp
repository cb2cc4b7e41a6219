#include "app/controllers/helpcontroller.h"

#include "app/commands.h"
#include "app/editorsession.h"
#include "app/helpwindow.h"
#include "app/prompts.h"
#include "model/langfile.h"
#include "model/uitext.h"
#include "settings/datafolders.h"
#include "view/qtexts.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace qorv {

namespace {
// The help goes by the rule for the language's texts, not by the code of Qt's translations: a
// language without help pages of its own gets the English ones.
QString helpLanguage() {
    return isSpanish(uiText()) ? QStringLiteral("es") : QStringLiteral("en");
}
} // namespace

HelpController::HelpController(const FeatureContext& context, QObject* parent)
    : QObject(parent), ctx_(context) {
    using C = CommandId;
    ctx_.onCommand(C::HelpContents, this, [this] { showContents(); });
    ctx_.onCommand(C::HelpTopic, this, [this] { showCurrentTopic(); });
    ctx_.onCommand(C::WebPage, this, [this] { openWebPage(); });
    ctx_.onCommand(C::About, this, [this] { showAbout(); });
}

HelpController::~HelpController() = default;

HelpWindow* HelpController::window() const {
    return window_;
}

QString HelpController::folder() const {
    return folder_.isEmpty() ? programDataFolder(QStringLiteral("help")) : folder_;
}

void HelpController::setFolder(const QString& f) {
    folder_ = f;
    if (window_) window_->setFolder(folder(), helpLanguage());
}

void HelpController::applyTexts() {
    if (!window_) return;
    window_->applyTexts();
    window_->setFolder(folder(), helpLanguage());
}

HelpWindow* HelpController::open() {
    if (!window_) {
        auto* w = new HelpWindow(ctx_.prompts.parent());
        if (w->setFolder(folder(), helpLanguage()))
            window_ = w;
        else
            delete w;
    }
    if (!window_) ctx_.prompts.warn(text(Msg::NoHelpFile));
    return window_;
}

void HelpController::showCurrentTopic() {
    showToolTopic(ctx_.session.tool());
}

void HelpController::showToolTopic(int tool, QWidget* dialog) {
    HelpWindow* help = open();
    if (!help) return;
    // A modal dialog blocks every window but its own: the help joins the dialog while it runs.
    if (dialog && help->parentWidget() != dialog) {
        help->hide();
        help->setParent(dialog, Qt::Window);
    }
    const HelpTopic topic = helpTopic(tool);
    help->showTopic(QString::fromLatin1(topic.page), QString::fromLatin1(topic.anchor));
}

void HelpController::releaseFromDialog(QWidget* dialog) {
    // The help shown from the dialog was its own while it ran: it stays, with the main window.
    if (!window_ || window_->parentWidget() != dialog) return;
    const bool shown = window_->isVisible();
    window_->setParent(ctx_.prompts.parent(), Qt::Window);
    if (shown) window_->show();
}

void HelpController::showContents() {
    if (HelpWindow* w = open()) w->showTopic(QStringLiteral("index.html"));
}

bool HelpController::webPageKnown() {
    return !text(Msg::WebAddress).trimmed().isEmpty();
}

void HelpController::openWebPage() {
    const QString address = text(Msg::WebAddress).trimmed();
    if (!address.isEmpty()) QDesktopServices::openUrl(QUrl(address));
}

void HelpController::showAbout() {
    ctx_.prompts.beforeDialog();
    QWidget* parent = ctx_.prompts.parent();
    QMessageBox box(
        QMessageBox::Information, text(Msg::AboutCaption),
        QStringLiteral("<b>QORV %1</b><p>%2</p>")
            .arg(QCoreApplication::applicationVersion(), text(Msg::AboutText).toHtmlEscaped()),
        QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("TV_acerca"));
    box.setIconPixmap(parent->windowIcon().pixmap(64, 64));
    box.button(QMessageBox::Ok)->setText(text(Msg::OkButton));
    ctx_.prompts.run(box);
}

void HelpController::close() {
    if (window_) window_->close();
}

} // namespace qorv
