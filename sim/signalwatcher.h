#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM and SIGINT into a Qt signal, through a socket pair written by the
// handler, since nothing else may be done inside a signal handler.
class SignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

    bool install();

signals:
    void terminationRequested();

private:
    static void handleSignal(int number);
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};
