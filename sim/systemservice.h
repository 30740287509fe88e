#pragma once

#include <QObject>

class QCopChannel;

// The phone's system service on "EZX/System": "ReturnToIdle(int)" is passed
// on, with its value, to every application channel ("EZX/Application/*")
// registered at that moment, and then the phone task (the process whose
// command line holds "SYSqtapp/phone/phone") is raised, which shows the idle
// screen.
class SystemService : public QObject
{
    Q_OBJECT
public:
    explicit SystemService(QObject* parent = nullptr);
    ~SystemService() override;

    bool isListening() const;

    void handleMessage(const QByteArray& message, const QByteArray& data);

private:
    void returnToIdle(qint32 reason);

    QCopChannel* m_channel = nullptr;
};
