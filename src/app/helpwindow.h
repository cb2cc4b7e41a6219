// Help: the HTML pages shipped in a folder per language ("help/es", "help/en"), the table that
// gives each tool its page, and the window that shows them.
#pragma once

#include "view/tooltable.h"

#include <QString>
#include <QWidget>

class QTextBrowser;
class QPushButton;
class QToolButton;

namespace qorv {

// The move tool, and any number without a page of its own, go to the getting-started page.
HelpTopic helpTopic(int tool);
// Every page the topic table names, once each (the pages that must exist in each language).
QStringList helpPages();

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The help pages of the language `code` under `folder` (the Spanish ones when that language
    // has none). False when there are no pages at all.
    bool setFolder(const QString& folder, const QString& code);
    // Shows a page at an anchor, and the window in front; the first time beside the parent's
    // menu bar and tool bars, never over them.
    void showTopic(const QString& page, const QString& anchor = QString());
    QTextBrowser* browser() const { return browser_; }
    // The folder of pages in use (with its language).
    QString pagesFolder() const { return pages_; }
    void applyTexts();

  private:
    void placeBesideParent();

    QTextBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* home_ = nullptr;
    QPushButton* close_ = nullptr;
    bool placed_ = false;
    QString pages_;
};

} // namespace qorv
