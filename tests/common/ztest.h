#pragma once

// Several QtTest classes in one executable: each test file registers its
// classes with ZK_TEST(Class); the shared main runs them all in order and
// fails when any fails. "-c Class" runs one class only (and fails when there
// is none of that name); other arguments go to QtTest (e.g. a test function
// name). "--list-classes" prints the class names, one per line: CTest has
// one entry per class.
#include <QObject>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace ztest {
using Factory = std::function<std::unique_ptr<QObject>()>;
int registerClass(const char* name, Factory factory);

// Folder for screenshots that people look at (build tree).
QString shotsDir();
// Saves a widget's picture as <shotsDir>/<name>.png and returns the path;
// an empty one when the picture could not be saved.
QString saveShot(QWidget* widget, const QString& name);

// How many events are being delivered right now, one inside the other: 1
// for a handler called from an event loop, more when a handler runs inside
// another event's handling (a nested loop, or processEvents() in the middle
// of an action).
int eventDepth();
// How many events have been delivered since the program started.
quint64 eventsDelivered();

// Whether two pictures show the same thing. Both are compared with
// premultiplied alpha, channel by channel, allowing a difference of one:
// a trip through QPixmap rounds semi-transparent pixels differently from
// one machine to the next. On a mismatch, why (when given) names the first
// pixel that differs.
bool samePicture(const QImage& a, const QImage& b, QString* why = nullptr);
}

#define ZK_TEST(Class)                            \
    static const int zk_test_registered_##Class = \
        ::ztest::registerClass(#Class, [] { return std::unique_ptr<QObject>(new Class); });
