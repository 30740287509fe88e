#pragma once

#include "tests/sim/phonerig.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>

// A story needs the virtual screen's tools, and zKestrel built.
#define SKIP_WITHOUT_SCREEN()                                                                                  \
    do {                                                                                                       \
        const QString missing = PhoneRig::missingTools();                                                      \
        if (!missing.isEmpty())                                                                                \
            QSKIP(qPrintable(QStringLiteral("needs ") + missing + QStringLiteral(" (scripts/packages.txt)"))); \
    } while (false)

#define SKIP_WITHOUT_ZKESTREL()                                     \
    do {                                                            \
        SKIP_WITHOUT_SCREEN();                                      \
        if (!QFile::exists(QStringLiteral(ZK_BIN_DIR "/zKestrel"))) \
            QSKIP("zKestrel is not built yet");                     \
    } while (false)

// The simulated phone with its applications up and zKestrel resident on it,
// as the end-to-end stories start it.

inline constexpr const char* kPhoneId = "{0a6c5e10-1f2b-4c3d-8e4f-000000000001}";
inline constexpr const char* kMessagesId = "{0a6c5e10-1f2b-4c3d-8e4f-000000000002}";
inline constexpr const char* kFileManagerId = "{7d3b9a20-5e61-4f08-b2c4-000000000101}";
inline constexpr const char* kSnakeId = "{7d3b9a20-5e61-4f08-b2c4-000000000103}";
inline constexpr const char* kCalculatorId = "{0a6c5e10-1f2b-4c3d-8e4f-00000000000a}";

struct RunningPhone
{
    qint64 phone = 0, messages = 0, fileManager = 0, snake = 0;
};

// Starts the phone, Messages, File Manager and Snake.
bool bringUpApps(PhoneRig& rig, RunningPhone& apps);

// The phone's task key, pressed and released ("/hardkey/bc").
void pressTaskKey();

// zKestrel resident, with the paint probe, so that its rows are read as
// they are drawn.
struct ResidentSession
{
    PhoneRig rig;
    RunningPhone apps;
    QProcess* zk = nullptr;

    static const QString title;  // "Tasks Manager"

    QStringList rows() const { return rig.painted("ZListBox"); }
    // Pops the window up and waits until its task list has been drawn.
    // With the clock in the title the window has no fixed name: pass an
    // empty one to skip that check.
    bool popUp(const QString& firstRow, const QString& window = title);
    // Up once both of its channels are: the command channel comes first,
    // and a task key sent before the key channel is there is lost.
    bool startResident();

    // The phone and its applications up, and zKestrel resident with the
    // test program kept off its list; goToIdle sets SendGoToIDLE,
    // actionOnC the setting "Action on C" (0 none, 1 kill, 2 quit).
    static std::unique_ptr<ResidentSession> start(bool goToIdle = false, int actionOnC = 0);
};
