// Wall and CPU time of a whole-panel read and write against the simulated panel at 9600-baud timing.
// The waits must sleep between events: the target is under 5 % of one core over an operation.
#include "link/qt_serial_line.h"
#include "recording_dialogs.h"
#include "ui/form1.h"
#include "ui/status_box.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <ctime>
#include <cstdio>

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

bool measure(panel::Form1 &window, const char *button, const char *label, int rounds)
{
    auto *status = window.findChild<panel::StatusBox *>(QStringLiteral("Text1"));
    double wallTotal = 0, cpuTotal = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer wall;
        const double cpu0 = cpuSeconds();
        wall.start();
        window.findChild<QPushButton *>(QString::fromLatin1(button))->click();
        const double w = double(wall.nsecsElapsed()) / 1e9;
        const double c = cpuSeconds() - cpu0;
        if (status->colour() != 0xFF00) {
            std::fprintf(stderr, "%s failed: %s\n", label, qPrintable(status->text()));
            return false;
        }
        wallTotal += w;
        cpuTotal += c;
    }
    std::printf("%-6s wall %7.1f ms   cpu %6.1f ms   cpu/wall %5.2f %%   (mean of %d)\n", label,
                wallTotal / rounds * 1000, cpuTotal / rounds * 1000, 100 * cpuTotal / wallTotal, rounds);
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QProcess sim;
    sim.start(QStringLiteral(PANELSIM_PATH), {QStringLiteral("--baud-timing")});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "panelsim did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();

    RecordingDialogs dialogs;
    panel::QtSerialLine line(device);
    panel::Form1 window(dialogs, line);
    const int rounds = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    bool ok = measure(window, "READ_CONFIG", "read", rounds) && measure(window, "WRITE_CONFIG", "write", rounds);

    sim.terminate();
    sim.waitForFinished();
    return ok ? 0 : 1;
}
