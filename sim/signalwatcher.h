#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT, and SIGUSR1 (the cable pulled or plugged in again), into Qt
// signals, through a socket pair written by the handler, since nothing else may be done
// inside a signal handler.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool install();

signals:
    void terminationRequested();
    void answeringToggled();

private:
    static void handleSignal(int number);
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
