// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread, so the program ends the
// same orderly way as through its quit command.
#pragma once

#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // Installs the handlers; false when that failed (the signals then keep their default).
    bool install();
    // Whether one of the signals has come since install(), whether or not the event loop has seen it
    // yet: one that comes while start-up still runs finds no loop to end.
    bool isRequested() const;

signals:
    void terminationRequested(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier = nullptr;
};
