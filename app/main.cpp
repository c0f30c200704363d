#include "link/qt_serial_line.h"
#include "ui/dialogs.h"
#include "ui/form1.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

void describeApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("panelconfig"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PANELCONFIG_VERSION));
}

// Reads the command line; --help, --version and errors end the program here, before any display is needed.
QString portFromCommandLine(int &argc, char *argv[])
{
    QCoreApplication probe(argc, argv);
    describeApplication();
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
    parser.process(probe);
    if (!parser.positionalArguments().isEmpty())
        parser.showHelp(2);
    return parser.value(portOption);
}

} // namespace

int main(int argc, char *argv[])
{
    const QString port = portFromCommandLine(argc, argv);

    QApplication app(argc, argv);
    describeApplication();
    QApplication::setApplicationDisplayName(QStringLiteral("panelconfig"));

    panel::QtSerialLine line(port);
    panel::QtDialogs dialogs;
    panel::Form1 window(dialogs, line);
    window.show();
    return app.exec();
}
