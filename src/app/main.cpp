#include "app/tform1.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QORV"));
    QApplication::setApplicationName(QStringLiteral("QORV9"));
    qorv::TForm1 window;
    window.show();
    return QApplication::exec();
}
