// "QORV - Language": the list of the languages offered, for the user to choose one.
#pragma once

#include "settings/language.h"

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

namespace qorv {

class TV_selidioma : public QDialog {
    Q_OBJECT
  public:
    explicit TV_selidioma(const QStringList& names, QWidget* parent = nullptr);
    // The name selected, empty for none.
    QString selectedName() const;

    QListWidget* ListBox1 = nullptr;
    QPushButton* BotOK = nullptr;
    QPushButton* BotCancel = nullptr;
};

// The program's language windows: this dialog to choose, an information box to inform.
LanguageDialogs defaultLanguageDialogs(QWidget* parent);

} // namespace qorv
