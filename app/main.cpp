#include "link/qt_serial_line.h"
#include "ui/dialogs.h"
#include "ui/form1.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("panelconfig"));
    QApplication::setApplicationDisplayName(QStringLiteral("panelconfig"));
    QApplication::setApplicationVersion(QStringLiteral(PANELCONFIG_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configures a six-button dimmable switch panel over its serial line, "
                       "and saves and opens its configuration as a .pnl file."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Serial device of the panel for this session (default: %1).")
            .arg(panel::QtSerialLine::firstPortName()),
        QStringLiteral("DEVICE"), panel::QtSerialLine::firstPortName());
    parser.addOption(portOption);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        qWarning("panelconfig: unexpected argument \"%s\" (see --help)",
                 qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }

    panel::QtSerialLine line(parser.value(portOption));
    panel::QtDialogs dialogs;
    panel::Form1 window(dialogs, line);
    window.show();
    return app.exec();
}
