#include "app/helpwindow.h"

#include "model/uitext.h"
#include "settings/language.h"
#include "view/qtexts.h"
#include "view/tooltable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace qorv {

namespace {

constexpr const char* Start = "index.html";
// Linked from the contents only.
constexpr const char* Files = "archivos.html";

} // namespace

HelpTopic helpTopic(int tool) {
    return toolInfo(tool).help; // a number that is no tool: the move tool's
}

QStringList helpPages() {
    QStringList pages{QString::fromLatin1(Start), QString::fromLatin1(Files)};
    for (const char* page : toolHelpPages())
        if (!pages.contains(QString::fromLatin1(page))) pages << QString::fromLatin1(page);
    return pages;
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("V_ayuda"));
    resize(760, 560);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    back_ = new QToolButton(this);
    back_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    back_->setEnabled(false);
    home_ = new QToolButton(this);
    home_->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(home_, &QToolButton::clicked, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("B_cerrar"));
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(home_);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);
    applyTexts();
}

void HelpWindow::applyTexts() {
    setWindowTitle(text(Msg::HelpCaption));
    back_->setToolTip(text(Msg::HelpBack));
    close_->setText(text(Msg::CloseCaption));
    home_->setToolTip(
        QString(componentText(QStringLiteral("M_contenidos"))).remove(QLatin1Char('&')));
}

bool HelpWindow::setFolder(const QString& folder, const QString& code) {
    pages_.clear();
    for (const QString& language : {code, QStringLiteral("es")}) {
        const QString candidate = folder + QLatin1Char('/') + language;
        if (!language.isEmpty() && QFileInfo::exists(candidate + QLatin1Char('/') + Start)) {
            pages_ = candidate;
            break;
        }
    }
    if (pages_.isEmpty()) return false;
    browser_->setSearchPaths({pages_});
    // The contents of this language are where the home button goes.
    browser_->setSource(QUrl::fromLocalFile(pages_ + QLatin1Char('/') + Start));
    browser_->clearHistory();
    return true;
}

void HelpWindow::placeBesideParent() {
    placed_ = true;
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (!main) return;
    // Below whatever the main window shows above its central part (menus, tool bars), on its
    // right side, and on the screen.
    int top = main->mapToGlobal(QPoint(0, 0)).y();
    if (const auto* mw = qobject_cast<const QMainWindow*>(main))
        if (const QWidget* centre = mw->centralWidget())
            top = centre->mapToGlobal(QPoint(0, 0)).y();
    const QRect screen = main->screen()->availableGeometry();
    const QRect inside(main->mapToGlobal(QPoint(0, 0)), main->size());
    const int w = std::min(width(), screen.width());
    const int h = std::min(height(), std::max(200, screen.bottom() - top - 8));
    resize(w, h);
    const int left = std::clamp(inside.right() - w - 8, screen.left(), screen.right() - w);
    move(left, std::clamp(top + 8, screen.top(), std::max(screen.top(), screen.bottom() - h)));
}

void HelpWindow::showTopic(const QString& page, const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(pages_ + QLatin1Char('/') + page);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    browser_->setSource(url);
    if (!anchor.isEmpty()) browser_->scrollToAnchor(anchor);
    if (!placed_) placeBesideParent();
    show();
    raise();
    activateWindow();
}

} // namespace qorv
