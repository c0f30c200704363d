#pragma once

// Start-up probe shared by the measured windows: once the window has been painted for the first time it
// prints on one line the monotonic clock (ns), the resident set size and its anonymous part (kB: memory
// that is the process's own, not pages of shared libraries and fonts), then ends the program.
// bench_launch took the same clock just before starting the process.
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

class FirstPaintProbe : public QObject
{
public:
    explicit FirstPaintProbe(QWidget &window)
        : m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == &m_window) {
            m_seen = true;
            // The whole window is painted and flushed before the event loop takes its next posted event.
            QTimer::singleShot(0, this, [this] { report(); });
        }
        return false;
    }

private:
    static long statusKb(const QByteArray &status, const QByteArray &field)
    {
        for (const QByteArray &line : status.split('\n')) {
            if (line.startsWith(field))
                return line.mid(field.size()).trimmed().split(' ').value(0).toLong();
        }
        return -1;
    }

    void report()
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        QFile file(QStringLiteral("/proc/self/status"));
        const QByteArray status = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        std::printf("%lld %ld %ld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                    statusKb(status, "VmRSS:"), statusKb(status, "RssAnon:"));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    QWidget &m_window;
    bool m_seen = false;
};
