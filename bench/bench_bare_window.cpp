// The yardstick for start-up time and memory: a bare Qt window of panelconfig's size.
#include "first_paint_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(736, 383);
    FirstPaintProbe probe(window);
    window.show();
    return app.exec();
}
