#include "form1.h"
#include "programfolder.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvanta"));
    QApplication::setDesktopFileName(QStringLiteral("corvanta"));

    Form1 window(programFolder());
    window.show();
    return QApplication::exec();
}
