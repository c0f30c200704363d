// The window's own operations, each clicked on a real Form1 the way a user clicks it:
// - read and write of the whole panel against panelsim at 9600-baud timing (wall and CPU time; the waits
//   must sleep between events), each round once as it is and once with the line monitor open ("readmon",
//   "writemon"), which must cost nothing measurable,
// - open and save of a .pnl file through the file dialog seam (the file read and its values applied to the
//   controls), the repaint that follows it, and save.
// One line per sample: "CASE wall MS ms cpu MS ms". bench/run summarises them.
#include "app/application.h"
#include "bench_dialogs.h"

#include "link/qt_serial_line.h"
#include "model/status_texts.h"
#include "ui/form1.h"
#include "ui/line_monitor.h"
#include "ui/status_box.h"
#include "ui/window_commands.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

const QByteArray kLobby = "\"00-04412-MDL\",\"LOBBY\",\"ENTRY\",0,\"HALL\",12,\"STAIRS\",159,\"DESIGNATION \",160,"
                          "\"DESIGNATION \",160,\"DESIGNATION \",160,159,\"feature\",1,\"ind%\",10,\"bl%\",3\r\n";
// Differs from LOBBY in every control but SW3's BL/MR channel and the independent lighting it allows, so
// that each timed open changes the window without a rule's message.
const QByteArray kOffice = "\"00-04412-MDL\",\"OFFICE\",\"DESK\",23,\"DOOR\",45,\"STAIRS\",159,\"FAN\",31,\"SHADE\",2,"
                           "\"TV\",99,159,\"feature\",1,\"ind%\",6,\"bl%\",4\r\n";

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Sample {
    double wall = 0;
    double cpu = 0;
};

template<typename F>
Sample timed(F &&work)
{
    QElapsedTimer wall;
    const double cpu0 = cpuSeconds();
    wall.start();
    work();
    return {double(wall.nsecsElapsed()) / 1e9, cpuSeconds() - cpu0};
}

Sample click(panel::Form1 &window, const char *button)
{
    auto *target = window.findChild<QPushButton *>(QString::fromLatin1(button));
    return timed([target] { target->click(); });
}

void print(const char *label, const Sample &s)
{
    std::printf("%-7s wall %10.4f ms   cpu %8.4f ms\n", label, s.wall * 1000, s.cpu * 1000);
    std::fflush(stdout);
}

bool panelOperations(panel::Form1 &window, int rounds)
{
    auto *status = window.findChild<panel::StatusBox *>(QStringLiteral("Text1"));
    for (const char *button : {"READ_CONFIG", "WRITE_CONFIG"}) {
        const bool read = button[0] == 'R';
        for (int i = 0; i < rounds * 2; ++i) {
            // Every other round with the monitor open, painted, and showing the last operations.
            const bool monitored = i % 2 == 1;
            panel::LineMonitor *monitor = monitored ? window.commands().showLineMonitor() : nullptr;
            QCoreApplication::processEvents();
            const Sample s = click(window, button);
            QCoreApplication::processEvents();
            delete monitor;
            const char *label = read ? (monitored ? "readmon" : "read") : (monitored ? "writemon" : "write");
            if (status->colour() != panel::kGreen) {
                std::fprintf(stderr, "%s failed: %s\n", label, qPrintable(status->text()));
                return false;
            }
            print(label, s);
        }
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool fileOperations(panel::Form1 &window, BenchDialogs &dialogs, int rounds)
{
    QTemporaryDir dir;
    const QString lobby = dir.filePath(QStringLiteral("LOBBY.pnl"));
    const QString office = dir.filePath(QStringLiteral("OFFICE.pnl"));
    const QString saved = dir.filePath(QStringLiteral("SAVED.pnl"));
    if (!dir.isValid() || !writeFile(lobby, kLobby) || !writeFile(office, kOffice)) {
        std::fprintf(stderr, "cannot write the .pnl files in %s\n", qPrintable(dir.path()));
        return false;
    }
    for (int i = -3; i < rounds; ++i) { // the first three warm up and are not printed
        dialogs.fileAnswers = {office};
        click(window, "READ_FILE");
        QCoreApplication::processEvents();
        dialogs.fileAnswers = {lobby};
        const Sample open = click(window, "READ_FILE");
        const Sample repaint = timed([] { QCoreApplication::processEvents(); }); // what the open changed
        dialogs.fileAnswers = {saved};
        const Sample save = click(window, "WRITE_FILE");
        QCoreApplication::processEvents();
        if (i >= 0) {
            print("open", open);
            print("repaint", repaint);
            print("save", save);
        }
    }
    QFile check(saved);
    if (!dialogs.messages.isEmpty() || !check.open(QIODevice::ReadOnly) || check.readAll() != kLobby) {
        std::fprintf(stderr, "open and save did not give back the LOBBY file%s\n",
                     dialogs.messages.isEmpty() ? "" : qPrintable(QStringLiteral(": ") + dialogs.messages[0]));
        return false;
    }
    return true;
}

} // namespace

// bench_panel_operations [PANEL_ROUNDS [FILE_ROUNDS]]
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    panel::describeApplication();
    const int panelRounds = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    const int fileRounds = argc > 2 ? QByteArray(argv[2]).toInt() : 200;

    QProcess sim;
    sim.start(QStringLiteral(PANELSIM_PATH), {QStringLiteral("--baud-timing")});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "panelsim did not start\n");
        return 1;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();

    BenchDialogs dialogs;
    panel::QtSerialLine line(device);
    panel::Form1 window(dialogs, line);
    window.show();
    const bool ok = fileOperations(window, dialogs, fileRounds) && panelOperations(window, panelRounds);

    sim.terminate();
    sim.waitForFinished();
    return ok ? 0 : 1;
}
