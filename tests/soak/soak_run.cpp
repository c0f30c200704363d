#include "soak_run.h"

#include "link/line_log.h"
#include "link/qt_serial_line.h"
#include "model/status_texts.h"
#include "recording_dialogs.h"
#include "sim_process.h"
#include "window_controls.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QRandomGenerator>
#include <QThread>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>
#include <utility>

using namespace panel;

namespace {

// AddressSanitizer holds freed memory in quarantine, so resident memory grows by design; there its
// leak checker stands in for the memory check.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepsFreedMemory = true;
#else
constexpr bool kKeepsFreedMemory = false;
#endif


constexpr int kWarmUpMinimum = 3;
constexpr qint64 kRssAllowanceKb = 2048;
constexpr int kSessionLineWaitMs = 5000;
constexpr int kSimExitWaitMs = 5000;
constexpr int kNa = 160;
constexpr int kBlMr = 159;
constexpr int kBlMrRow = 17;
// The intensity lists' rows, top to bottom, as the codes the panel keeps.
constexpr std::array<int, 8> kIntensityCodes = {10, 7, 6, 5, 4, 3, 2, 1};
const QString kLightingTitle = QStringLiteral("INDEPENDENT LIGHTING SWITCH ASSIGNMENT");

using Registers = std::array<int, 10>;

// ---- the process itself, as the kernel sees it ----

int openDescriptors()
{
    DIR *dir = ::opendir("/proc/self/fd");
    if (!dir)
        return -1;
    int count = 0;
    while (const dirent *entry = ::readdir(dir)) {
        if (entry->d_name[0] != '.')
            ++count;
    }
    ::closedir(dir);
    return count - 1; // the listing's own
}

// Whether any descriptor of this process still refers to the device: proof that the port is shut
// whatever the objects in the window believe.
bool holdsDevice(const QString &device)
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &name : fds.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot)) {
        if (QFile::symLinkTarget(fds.filePath(name)) == device)
            return true;
    }
    return false;
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    // Files under /proc have no size: read to the end rather than up to it.
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).simplified().split(' ').value(0).toLongLong();
    }
    return -1;
}

// A click that never comes back is a hang: report it and stop, taking the simulator along.
class Watchdog
{
public:
    explicit Watchdog(int limitMs)
        : m_limitMs(limitMs)
        , m_thread([this] { watch(); })
    {
    }

    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void arm(const QString &what, qint64 childPid)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_what = what.toStdString();
        m_childPid = childPid;
        m_armed = true;
        ++m_generation;
        m_wake.notify_all();
    }

    void disarm()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_armed = false;
        m_wake.notify_all();
    }

private:
    void watch()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_quit) {
            if (!m_armed) {
                m_wake.wait(lock);
                continue;
            }
            const quint64 generation = m_generation;
            const bool moved = m_wake.wait_for(lock, std::chrono::milliseconds(m_limitMs), [&] {
                return m_quit || !m_armed || m_generation != generation;
            });
            if (!moved) {
                std::fprintf(stderr, "soak: HANG: %s did not end within %d ms\n", m_what.c_str(), m_limitMs);
                std::fflush(stdout);
                std::fflush(stderr);
                if (m_childPid > 0)
                    ::kill(pid_t(m_childPid), SIGTERM);
                std::_Exit(3);
            }
        }
    }

    const int m_limitMs;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::string m_what;
    qint64 m_childPid = 0;
    quint64 m_generation = 0;
    bool m_armed = false;
    bool m_quit = false;
    std::thread m_thread; // last: it starts watching once everything else exists
};

// ---- the window's configuration ----

struct Config {
    std::array<int, kButtons> module{};
    std::array<int, kButtons> channel{};
    int check = 0;
    int indicator = 0;
    int backlight = 0;
    int incompleteButton = -1; // its module left unchosen
};

// Module rows: "N/A" and "BL/MR" fairly often, so that the lighting rule has something to allow.
Config drawConfig(QRandomGenerator &rng, bool write)
{
    Config c;
    if (write && rng.bounded(20) == 0)
        c.incompleteButton = int(rng.bounded(kButtons));
    bool anyBlMr = false;
    for (int k = 0; k < kButtons; ++k) {
        const int dice = int(rng.bounded(20));
        c.module[k] = dice < 3 ? 0 : dice < 6 ? kBlMrRow : 1 + int(rng.bounded(16));
        c.channel[k] = int(rng.bounded(10));
        if (k == c.incompleteButton)
            c.module[k] = -1;
        anyBlMr = anyBlMr || c.module[k] == kBlMrRow;
    }
    c.check = anyBlMr ? int(rng.bounded(2)) : 0;
    c.indicator = int(rng.bounded(8));
    // The back-light may not be brighter than the indicators: its row is the same or lower.
    c.backlight = c.indicator + int(rng.bounded(quint32(8 - c.indicator)));
    return c;
}

// In an order that no rule objects to: lighting off first, the back-light dimmest before the
// indicators are chosen.
void applyConfig(const WindowControls &w, const Config &c)
{
    EditorModel &e = w.editor();
    e.setCheckState(0);
    for (int k = 0; k < kButtons; ++k) {
        e.setModulePosition(k, c.module[k]);
        if (c.module[k] > 0 && c.module[k] != kBlMrRow)
            e.setChannelPosition(k, c.channel[k]);
    }
    e.setCheckState(c.check);
    e.setBacklightPosition(7);
    e.setIndicatorPosition(c.indicator);
    e.setBacklightPosition(c.backlight);
}

struct Shown {
    std::array<int, kButtons> module{};
    std::array<int, kButtons> channel{};
    int check = 0;
    int indicator = 0;
    int backlight = 0;
};

Shown shownIn(const WindowControls &w)
{
    Shown s;
    for (int k = 0; k < kButtons; ++k) {
        s.module[k] = w.moduleList(k)->position();
        s.channel[k] = w.channelList(k)->position();
    }
    s.check = w.check()->state();
    s.indicator = w.list(21)->position();
    s.backlight = w.list(22)->position();
    return s;
}

int intensityCode(int row)
{
    return row >= 0 && row < int(kIntensityCodes.size()) ? kIntensityCodes[size_t(row)] : -1;
}

// What a write of the window as shown must store; nothing when a button is incomplete.
std::optional<Registers> registersFor(const Shown &s)
{
    Registers r{};
    for (int k = 0; k < kButtons; ++k) {
        const int m = s.module[k];
        if (m == 0)
            r[size_t(k)] = kNa;
        else if (m == kBlMrRow)
            r[size_t(k)] = kBlMr;
        else if (m < 0 || s.channel[k] < 0)
            return std::nullopt;
        else
            r[size_t(k)] = (m - 1) * 10 + s.channel[k];
    }
    r[6] = kBlMr;
    r[7] = s.check;
    r[8] = intensityCode(s.indicator);
    r[9] = intensityCode(s.backlight);
    return r;
}

// What the window gathered for its last write: the codes it kept, and the fixed backlighting code.
Registers gatheredBy(const EditorModel &e)
{
    Registers r{};
    for (int k = 0; k < kButtons; ++k)
        r[size_t(k)] = e.button(k).w;
    r[6] = kBacklightCode;
    r[7] = e.feature();
    r[8] = e.indpercent();
    r[9] = e.blpercent();
    return r;
}

QString listed(const Registers &r)
{
    QStringList words;
    for (int value : r)
        words << QString::number(value);
    return words.join(QLatin1Char(' '));
}

// The intensity row that shows a code: codes outside 1..7 show as "100".
int intensityRow(int code)
{
    if (code < 1 || code > 7)
        return 0;
    return 8 - code;
}

// Whether a register that a read takes holds a value that no read may accept.
bool holdsUnreadable(const QMap<int, int> &regs)
{
    for (int reg : {0, 1, 2, 3, 4, 5, 7, 8, 9}) {
        if (regs.value(reg, -1) < 0 || regs.value(reg) > kNa)
            return true;
    }
    return false;
}

// Differences between the window after a successful read and the registers it read, the
// lighting rules applied: independent lighting needs a switch on BL/MR, and the back-light
// is never shown brighter than the indicators.
QStringList readDifferences(const QMap<int, int> &regs, const Shown &s)
{
    QStringList differences;
    bool anyBlMr = false;
    if (holdsUnreadable(regs))
        differences << QStringLiteral("a register holds a value that no read may accept");
    for (int k = 0; k < kButtons; ++k) {
        const int code = regs.value(k);
        int module = 0;
        int channel = -1;
        if (code == kBlMr)
            module = kBlMrRow;
        else if (code < kBlMr)
            module = 1 + code / 10, channel = code % 10;
        anyBlMr = anyBlMr || module == kBlMrRow;
        if (s.module[k] != module || (channel >= 0 && s.channel[k] != channel)) {
            differences << QStringLiteral("SW%1 shows module row %2 channel row %3, register %4 holds %5")
                               .arg(k + 1).arg(s.module[k]).arg(s.channel[k]).arg(k).arg(code);
        }
    }
    const int check = regs.value(7) != 0 && anyBlMr ? 1 : 0;
    if (s.check != check)
        differences << QStringLiteral("independent lighting shows %1, register 7 holds %2").arg(s.check).arg(regs.value(7));
    const int indicator = intensityRow(regs.value(8));
    const int backlight = qMax(intensityRow(regs.value(9)), indicator);
    if (s.indicator != indicator)
        differences << QStringLiteral("indicator row %1, register 8 holds %2").arg(s.indicator).arg(regs.value(8));
    if (s.backlight != backlight)
        differences << QStringLiteral("back-light row %1, register 9 holds %2").arg(s.backlight).arg(regs.value(9));
    return differences;
}

// ---- what the fault allows ----

enum class Outcome { Green, Red, Mismatch, Unknown };
enum class Expect { Green, NotGreen, Mismatch, Either, Incomplete };

const char *outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Green:
        return "green";
    case Outcome::Red:
        return "red";
    case Outcome::Mismatch:
        return "mismatch";
    case Outcome::Unknown:
        break;
    }
    return "unknown";
}

// Whether a read may end green with values the panel does not hold: a reply that does not begin with
// a number is worth 0 by the protocol's own rule, so garbage or a flood of bytes can read as zeros.
bool valuedByRule(const FaultLine &fault, bool write)
{
    const QString kind = fault.value(QStringLiteral("fault"));
    return !write && fault.value(QStringLiteral("fired")) == QLatin1String("1")
        && (kind == QLatin1String("garbage") || kind == QLatin1String("flood"));
}

// A fault that did not take effect left a faultless session, which must succeed. Replies a little
// late (within the 100 ms tick) or repeated may or may not spoil an operation, and so may replies a
// read values by rule; every other fault must spoil it.
Expect expectationFor(const FaultLine &fault, bool write)
{
    const QString kind = fault.value(QStringLiteral("fault"));
    if (valuedByRule(fault, write))
        return Expect::Either;
    if (kind == QLatin1String("none") || fault.value(QStringLiteral("fired")) != QLatin1String("1"))
        return Expect::Green;
    if (kind == QLatin1String("hail-from"))
        return fault.value(QStringLiteral("n")).toInt() <= 6 ? Expect::Green : Expect::NotGreen;
    if (kind == QLatin1String("late"))
        return fault.value(QStringLiteral("ms")).toInt() < 100 ? Expect::Either : Expect::NotGreen;
    if (kind == QLatin1String("doubled"))
        return Expect::Either;
    if (kind == QLatin1String("identity"))
        return Expect::Mismatch;
    return Expect::NotGreen;
}

QString describeFault(const FaultLine &fault)
{
    QStringList words { fault.value(QStringLiteral("fault")) };
    for (auto it = fault.cbegin(); it != fault.cend(); ++it) {
        if (it.key() != QLatin1String("fault") && it.key() != QLatin1String("session"))
            words << it.key() + QLatin1Char('=') + it.value();
    }
    return words.join(QLatin1Char(' '));
}

bool isKnownRed(const QString &text)
{
    return text == kNoResponse || text == kBadData || text == kIncompleteData
           || text.startsWith(kPortNotOpened + QChar(10));
}

// ---- the run ----

class SoakRunner
{
public:
    explicit SoakRunner(const SoakSettings &settings)
        : m_settings(settings)
        , m_dir(settings.workDir)
        , m_watchdog(settings.watchdogMs)
    {
        m_figures.seed = settings.seed;
        if (settings.simLogPath.isEmpty())
            m_sim.process().setProcessChannelMode(QProcess::ForwardedErrorChannel);
        else
            m_sim.process().setStandardErrorFile(settings.simLogPath, QIODevice::Append);
    }

    SoakFigures run();

private:
    bool startSim(int firstSession);
    void operation(int op);
    void carryOn(int op, const QString &context);
    std::optional<FaultLine> sessionLine();
    void violation(const QString &context, const QString &what) { m_figures.violations << context + QStringLiteral(": ") + what; }
    void sample(int op);

    SoakSettings m_settings;
    QDir m_dir;
    SoakFigures m_figures;
    SimProcess m_sim;
    RecordingDialogs m_dialogs;
    std::unique_ptr<QtSerialLine> m_line;
    WindowControls m_window;
    Watchdog m_watchdog;
    int m_logLines = 0;
    int m_warmUp = kWarmUpMinimum;
};

bool SoakRunner::startSim(int firstSession)
{
    QStringList arguments = {
        QStringLiteral("--random-faults"), QString::number(m_settings.seed),
        QStringLiteral("--first-session"), QString::number(firstSession),
        QStringLiteral("--fault-log"), m_dir.filePath(QStringLiteral("faults.log")),
        QStringLiteral("--state"), m_dir.filePath(QStringLiteral("state.txt")),
    };
    if (!m_settings.simLogPath.isEmpty())
        arguments << QStringLiteral("--log");
    if (!m_sim.start(arguments))
        return false;
    if (m_line)
        m_line->setDeviceName(m_sim.devicePath());
    return true;
}

std::optional<FaultLine> SoakRunner::sessionLine()
{
    const QString log = m_dir.filePath(QStringLiteral("faults.log"));
    QDeadlineTimer deadline(kSessionLineWaitMs);
    for (;;) {
        const QList<FaultLine> lines = readFaultLog(log, m_logLines);
        if (!lines.isEmpty()) {
            ++m_logLines;
            return lines.first();
        }
        if (deadline.hasExpired())
            return std::nullopt;
        QThread::msleep(2);
    }
}

SoakFigures SoakRunner::run()
{
    QFile state(m_dir.filePath(QStringLiteral("state.txt")));
    if (!state.open(QIODevice::WriteOnly | QIODevice::Text)) {
        m_figures.violations << QStringLiteral("cannot write the simulator's state file");
        return m_figures;
    }
    // The simulator's factory configuration, written out so that every register is known from the start.
    const int factory[10] = {0, 1, 10, 11, 159, 160, 159, 1, 10, 5};
    for (int reg = 0; reg < 64; ++reg)
        state.write(QByteArray::number(reg) + ' ' + QByteArray::number(reg < 10 ? factory[reg] : reg == 63 ? 73 : 0) + '\n');
    state.close();
    QFile::remove(m_dir.filePath(QStringLiteral("faults.log")));

    if (!startSim(m_settings.firstOperation)) {
        m_figures.violations << QStringLiteral("panelsim did not start");
        return m_figures;
    }
    m_line = std::make_unique<QtSerialLine>(m_sim.devicePath());
    m_window.form = std::make_unique<Form1>(m_dialogs, *m_line);
    // Past the warm-up the line monitor's log is full: it keeps its last operations, no more.
    m_warmUp = m_settings.firstOperation - 1
        + std::max({kWarmUpMinimum, m_settings.operations / 10, LineLog::kOperationsKept});

    QElapsedTimer wall;
    wall.start();
    for (int op = m_settings.firstOperation; op < m_settings.firstOperation + m_settings.operations; ++op)
        operation(op);
    m_figures.wallMs = wall.elapsed();

    if (m_figures.fdLast != m_figures.fdFirst)
        m_figures.violations << QStringLiteral("seed=%1: open descriptors went from %2 to %3 after the warm-up")
                                    .arg(m_settings.seed).arg(m_figures.fdFirst).arg(m_figures.fdLast);
    if (!kKeepsFreedMemory && m_figures.rssLastKb > m_figures.rssFirstKb + kRssAllowanceKb)
        m_figures.violations << QStringLiteral("seed=%1: resident memory grew from %2 kB to %3 kB after the warm-up")
                                    .arg(m_settings.seed).arg(m_figures.rssFirstKb).arg(m_figures.rssLastKb);
    m_window.form.reset();
    m_line.reset();
    m_sim.stop();
    return m_figures;
}

void SoakRunner::operation(int op)
{
    const quint32 seeds[] = {quint32(m_settings.seed), quint32(m_settings.seed >> 32), quint32(op)};
    QRandomGenerator rng(seeds, 3);
    const bool write = rng.bounded(2) == 1;
    const bool reconfigure = op == m_settings.firstOperation || rng.bounded(4) != 0;
    const Config config = drawConfig(rng, write);
    QString context = QStringLiteral("seed=%1 op=%2 %3").arg(m_settings.seed).arg(op).arg(write ? "write" : "read");

    if (reconfigure)
        applyConfig(m_window, config);
    if (!m_dialogs.messages.isEmpty())
        violation(context, QStringLiteral("the window refused the drawn configuration: ") + m_dialogs.messages.first().text);
    m_dialogs.messages.clear();

    const QString statePath = m_dir.filePath(QStringLiteral("state.txt"));
    const QMap<int, int> before = readSimState(statePath);
    const std::optional<Registers> intended = registersFor(shownIn(m_window));

    m_watchdog.arm(context, m_sim.process().processId());
    m_window.control<QPushButton>(QString::fromLatin1(write ? "WRITE_CONFIG" : "READ_CONFIG"))->click();
    m_watchdog.disarm();
    ++(write ? m_figures.writes : m_figures.reads);
    ++m_figures.operations;

    if (holdsDevice(m_sim.devicePath()))
        violation(context, QStringLiteral("the port is still open after the operation"));

    // The simulator writes the session's line once the port is closed on its side too.
    const std::optional<FaultLine> fault = sessionLine();
    if (!fault) {
        violation(context, QStringLiteral("panelsim never saw the session end; the window shows \"%1\"")
                               .arg(m_window.status()->text().simplified()));
        m_sim.stop(); // a new one starts at the next session
        carryOn(op, context);
        return;
    }
    context += QStringLiteral(" fault=") + describeFault(*fault);
    if (fault->value(QStringLiteral("session")).toInt() != op)
        violation(context, QStringLiteral("the operation was not exactly one session of the line"));

    const bool closed = fault->value(QStringLiteral("fault")) == QLatin1String("close")
                        && fault->value(QStringLiteral("fired")) == QLatin1String("1");
    if (closed && m_sim.isRunning() && !m_sim.process().waitForFinished(kSimExitWaitMs))
        violation(context, QStringLiteral("panelsim did not close the line"));
    if (!closed && !m_sim.isRunning())
        violation(context, QStringLiteral("panelsim ended unexpectedly"));

    // The result the window shows.
    const StatusBox *status = m_window.status();
    const QString text = status->text();
    int mismatches = 0;
    for (const RecordingDialogs::Message &message : std::as_const(m_dialogs.messages)) {
        if (message.title == kMismatchTitle) {
            ++mismatches;
            if (message.text != (write ? kWriteMismatch : kReadMismatch))
                violation(context, QStringLiteral("mismatch message for the wrong operation"));
        } else if (write || (message.title != kLightingTitle && !message.title.isEmpty())) {
            violation(context, QStringLiteral("unexpected message box \"%1\"").arg(message.title));
        }
    }
    Outcome outcome = Outcome::Unknown;
    if (mismatches == 1 && status->colour() != kGreen)
        outcome = Outcome::Mismatch;
    else if (mismatches == 0 && status->colour() == kGreen && text == (write ? kProgrammed : kReadSuccessful))
        outcome = Outcome::Green;
    else if (mismatches == 0 && status->colour() == kRed && isKnownRed(text))
        outcome = Outcome::Red;
    const QString seen = QStringLiteral("%1 \"%2\"").arg(QLatin1String(outcomeName(outcome)), text);

    Expect expect = write && !intended ? Expect::Incomplete : expectationFor(*fault, write);
    // A value left out of range by an earlier fault (a read-back difference stores 161 for 160)
    // spoils every read until a write replaces it.
    if (!write && holdsUnreadable(before) && !valuedByRule(*fault, write)
        && (expect == Expect::Green || expect == Expect::Either))
        expect = Expect::NotGreen;
    switch (expect) {
    case Expect::Green:
        if (outcome != Outcome::Green)
            violation(context, QStringLiteral("must succeed, but ended ") + seen);
        break;
    case Expect::NotGreen:
        if (outcome != Outcome::Red && outcome != Outcome::Mismatch)
            violation(context, QStringLiteral("must fail, but ended ") + seen);
        break;
    case Expect::Mismatch:
        if (outcome != Outcome::Mismatch)
            violation(context, QStringLiteral("must show the mismatch message, but ended ") + seen);
        break;
    case Expect::Either:
        if (outcome == Outcome::Unknown)
            violation(context, QStringLiteral("ended ") + seen);
        break;
    case Expect::Incomplete:
        if (outcome != Outcome::Red || text != kIncompleteData)
            violation(context, QStringLiteral("incomplete configuration, but ended ") + seen);
        break;
    }

    // Green must be true: the panel holds what was written, or the window shows what the panel holds.
    const QMap<int, int> after = readSimState(statePath);
    if (outcome == Outcome::Green && write) {
        const Registers gathered = gatheredBy(m_window.editor());
        Registers stored{};
        for (int reg = 0; reg < 10; ++reg)
            stored[size_t(reg)] = after.value(reg, -1);
        if (stored != gathered || gathered[6] != kBlMr)
            violation(context, QStringLiteral("green, but the panel holds %1 where the window wrote %2")
                                   .arg(listed(stored), listed(gathered)));
        if (intended && *intended != gathered)
            violation(context, QStringLiteral("the window showed %1 but wrote %2").arg(listed(*intended), listed(gathered)));
    } else if (outcome == Outcome::Green && !valuedByRule(*fault, write)) {
        const QStringList differences = readDifferences(after, shownIn(m_window));
        if (!differences.isEmpty())
            violation(context, QStringLiteral("green, but ") + differences.join(QStringLiteral("; ")));
    }
    const bool nothingWritten = !write || outcome == Outcome::Mismatch || text == kIncompleteData || text == kNoResponse;
    if (nothingWritten && after != before)
        violation(context, QStringLiteral("the panel's registers changed"));
    if (after.value(63) != 73)
        violation(context, QStringLiteral("register 63 holds %1").arg(after.value(63)));

    // An incomplete write ends before the line is used, whatever the fault: it is counted apart.
    SoakFigures::Tally &tally = m_figures.byFault[expect == Expect::Incomplete ? QStringLiteral("(incomplete write)")
                                                                               : fault->value(QStringLiteral("fault"))];
    ++tally.operations;
    tally.fired += fault->value(QStringLiteral("fired")) == QLatin1String("1") ? 1 : 0;
    tally.green += outcome == Outcome::Green ? 1 : 0;
    tally.red += outcome == Outcome::Red ? 1 : 0;
    tally.mismatch += outcome == Outcome::Mismatch ? 1 : 0;
    if (outcome == Outcome::Red)
        ++m_figures.redTexts[text.section(QChar(10), 0, 0)];
    if (m_settings.verbose) {
        std::printf("op %4d %-5s %-34s -> %s\n", op, write ? "write" : "read", qPrintable(describeFault(*fault)),
                    qPrintable(seen.simplified()));
        std::fflush(stdout);
    }
    carryOn(op, context);
}

// Gets ready for the next operation: a simulator that closed the line is started again on a new
// device, which the window's line takes at its next open.
void SoakRunner::carryOn(int op, const QString &context)
{
    m_dialogs.messages.clear();
    if (!m_sim.isRunning()) {
        if (startSim(op + 1))
            ++m_figures.restarts;
        else
            violation(context, QStringLiteral("panelsim did not start again"));
    }
    sample(op);
}

// Samples once the simulator is up again, so that its pipes are always counted alike.
void SoakRunner::sample(int op)
{
    if (op < m_warmUp)
        return;
    const int fds = openDescriptors();
    const qint64 rss = residentKb();
    if (op == m_warmUp) {
        m_figures.fdFirst = m_figures.fdMax = fds;
        m_figures.rssFirstKb = m_figures.rssMaxKb = rss;
    }
    m_figures.fdLast = fds;
    m_figures.rssLastKb = rss;
    m_figures.fdMax = qMax(m_figures.fdMax, fds);
    m_figures.rssMaxKb = qMax(m_figures.rssMaxKb, rss);
}

} // namespace

QString SoakFigures::report() const
{
    QString out;
    out += QStringLiteral("soak: seed %1, %2 operations (%3 reads, %4 writes) in %5 s, panelsim restarted %6 times\n")
               .arg(seed).arg(operations).arg(reads).arg(writes).arg(double(wallMs) / 1000.0, 0, 'f', 1).arg(restarts);
    out += QStringLiteral("  %1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("fault"), -18).arg(QStringLiteral("ops"), 5).arg(QStringLiteral("fired"), 6)
               .arg(QStringLiteral("green"), 6).arg(QStringLiteral("red"), 6).arg(QStringLiteral("mismatch"), 9);
    Tally total;
    for (auto it = byFault.cbegin(); it != byFault.cend(); ++it) {
        const Tally &t = it.value();
        out += QStringLiteral("  %1 %2 %3 %4 %5 %6\n")
                   .arg(it.key(), -18).arg(t.operations, 5).arg(t.fired, 6).arg(t.green, 6).arg(t.red, 6).arg(t.mismatch, 9);
        total.operations += t.operations;
        total.fired += t.fired;
        total.green += t.green;
        total.red += t.red;
        total.mismatch += t.mismatch;
    }
    out += QStringLiteral("  %1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("all"), -18).arg(total.operations, 5).arg(total.fired, 6).arg(total.green, 6)
               .arg(total.red, 6).arg(total.mismatch, 9);
    for (auto it = redTexts.cbegin(); it != redTexts.cend(); ++it)
        out += QStringLiteral("  red %1x \"%2\"\n").arg(it.value()).arg(it.key());
    out += QStringLiteral("  descriptors after the warm-up: first %1, last %2, max %3\n").arg(fdFirst).arg(fdLast).arg(fdMax);
    out += QStringLiteral("  resident memory after the warm-up: first %1 kB, last %2 kB, max %3 kB\n")
               .arg(rssFirstKb).arg(rssLastKb).arg(rssMaxKb);
    out += QStringLiteral("  violations: %1\n").arg(violations.size());
    for (const QString &v : violations)
        out += QStringLiteral("    ") + v + QLatin1Char('\n');
    return out;
}

SoakFigures runSoak(const SoakSettings &settings)
{
    SoakRunner runner(settings);
    return runner.run();
}
