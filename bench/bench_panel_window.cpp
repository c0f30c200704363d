// panelconfig's start-up as app/main.cpp does it for a window, with the first-paint probe added.
#include "first_paint_probe.h"

#include "app/application.h"
#include "app/command_line.h"
#include "link/qt_serial_line.h"
#include "link/serial_ports.h"
#include "ui/dialogs.h"
#include "ui/form1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    panel::describeApplication();

    panel::CommandLine commandLine;
    if (commandLine.parse(QApplication::arguments()) != panel::CommandLine::Action::Window)
        return 2;
    const panel::PortChoice port = panel::choosePanelPort(panel::portCandidates(commandLine.port()));
    panel::QtSerialLine line(port.device);
    panel::QtDialogs dialogs;
    panel::Form1 window(dialogs, line);
    window.setPortSource(port.source);
    FirstPaintProbe probe(window);
    window.show();
    return app.exec();
}
