// A yardstick for start-up time and memory: a bare Qt window of panelconfig's size, no text in it.
#include "first_paint_probe.h"
#include "yardstick_window.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(kPanelWindowSize);
    FirstPaintProbe probe(window);
    window.show();
    return app.exec();
}
