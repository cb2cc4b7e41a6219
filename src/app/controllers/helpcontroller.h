// "A&yuda": the help pages ("Contenidos", "Página actual" for the current tool), the web page and
// the about box; the dialogs that have help of their own open it here too.
#pragma once

#include "app/controllers/featurecontext.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace qorv {

class HelpWindow;

class HelpController : public QObject {
    Q_OBJECT
  public:
    explicit HelpController(const FeatureContext& context, QObject* parent = nullptr);
    ~HelpController() override;

    // "Contenidos" and "Página actual" (F1: the page of the current tool). Without help pages the
    // user is told so. The pages are looked for in the folder set here (by default the
    // program's "help" folder), in the language of the UI texts.
    void showContents();
    void showCurrentTopic();
    // The page of `tool` (a modal `dialog` that asks for it keeps the help window while it
    // runs; it goes back to the main window with releaseFromDialog).
    void showToolTopic(int tool, QWidget* dialog = nullptr);
    void releaseFromDialog(QWidget* dialog);
    void setFolder(const QString& folder);
    QString folder() const;
    HelpWindow* window() const;
    // Whether "Página web" has an address to open.
    static bool webPageKnown();
    void openWebPage();
    void showAbout();
    // The language changed: the window's texts and pages follow.
    void applyTexts();
    // The help goes with the program.
    void close();

  private:
    HelpWindow* open();

    FeatureContext ctx_;
    QPointer<HelpWindow> window_;
    QString folder_;
};

} // namespace qorv
