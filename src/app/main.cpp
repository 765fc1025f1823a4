#include <QApplication>

#include "app/ui/frmMain.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestro"));
    TfrmMain frmMain;
    frmMain.show();
    return application.exec();
}
