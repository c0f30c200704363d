#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

// The master side of a pseudo-terminal whose slave plays the panel's serial port.
// One slave descriptor stays open for the simulator's whole life: without it the
// master reports a hang-up whenever no client has the port open.
class PseudoTerminal : public QObject
{
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject *parent = nullptr);
    ~PseudoTerminal() override;

    bool open(QString *error);
    void close();
    bool isOpen() const { return m_master >= 0; }

    QString slavePath() const { return m_slavePath; }

    // Returns the number of bytes taken (possibly fewer when the line is full), or -1.
    qsizetype write(const QByteArray &bytes);

    // Replies written but not yet read by the client, and a way to drop them when a
    // new client should not see what the previous one left behind.
    int unreadOutput() const;
    void discardUnreadOutput();

signals:
    void received(const QByteArray &bytes);
    void clientConnected();
    void clientDisconnected();

private:
    void readMaster();
    void readPendingBytes();
    void readOpenEvents();
    void watchOpens();

    int m_master = -1;
    int m_heldSlave = -1;
    int m_openWatch = -1;
    int m_clients = 0;
    QString m_slavePath;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_watchNotifier = nullptr;
};
