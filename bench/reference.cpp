// The reference for start-up: a QApplication that shows one empty message box.
#include "firstpaint.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMessageBox box;
    new quorvela::bench::FirstPaint(&box, [] {
        quorvela::bench::stamp("first-dialog");
        QCoreApplication::quit();
    });
    box.show();
    return QApplication::exec();
}
