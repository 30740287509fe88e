#include "tests/common/ztest.h"

#include "ezx/zapplication.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
struct Entry
{
    const char* name;
    ztest::Factory factory;
};

std::vector<Entry>& registry()
{
    static std::vector<Entry> entries;
    return entries;
}
}

int ztest::registerClass(const char* name, Factory factory)
{
    registry().push_back({name, std::move(factory)});
    return static_cast<int>(registry().size());
}

QString ztest::shotsDir()
{
#ifdef ZK_SHOTS_DIR
    const QString dir = QStringLiteral(ZK_SHOTS_DIR);
#else
    const QString dir = QDir::tempPath() + QStringLiteral("/zk-screenshots");
#endif
    QDir().mkpath(dir);
    return dir;
}

QString ztest::saveShot(QWidget* widget, const QString& name)
{
    const QString path = shotsDir() + QLatin1Char('/') + name + QStringLiteral(".png");
    // A picture left from an earlier run must not pass for this one.
    QFile::remove(path);
    return widget->grab().save(path) ? path : QString();
}

bool ztest::samePicture(const QImage& a, const QImage& b, QString* why)
{
    auto say = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    if (a.isNull() || b.isNull())
        return say(QStringLiteral("a picture is empty"));
    if (a.size() != b.size())
        return say(QStringLiteral("sizes differ"));
    const QImage pa = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage pb = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < pa.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(pa.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(pb.constScanLine(y));
        for (int x = 0; x < pa.width(); ++x) {
            const QRgb p = la[x];
            const QRgb q = lb[x];
            const bool near = std::abs(qAlpha(p) - qAlpha(q)) <= 1 && std::abs(qRed(p) - qRed(q)) <= 1
                              && std::abs(qGreen(p) - qGreen(q)) <= 1 && std::abs(qBlue(p) - qBlue(q)) <= 1;
            if (!near)
                return say(QStringLiteral("pixel (%1,%2): %3 against %4")
                               .arg(x)
                               .arg(y)
                               .arg(p, 8, 16, QLatin1Char('0'))
                               .arg(q, 8, 16, QLatin1Char('0')));
        }
    }
    return true;
}

namespace {
int g_eventDepth = 0;
quint64 g_eventsDelivered = 0;

// The program's own application object, counting how deep event delivery
// goes.
class TestApplication : public ZApplication
{
public:
    using ZApplication::ZApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        ++g_eventDepth;
        ++g_eventsDelivered;
        const bool handled = ZApplication::notify(receiver, event);
        --g_eventDepth;
        return handled;
    }
};
}

int ztest::eventDepth()
{
    return g_eventDepth;
}

quint64 ztest::eventsDelivered()
{
    return g_eventsDelivered;
}

int main(int argc, char** argv)
{
    // The build asks each test program for its classes, one CTest entry per
    // class (cmake/ZkTestClasses.cmake); no application object is needed.
    if (argc == 2 && std::strcmp(argv[1], "--list-classes") == 0) {
        for (const Entry& e : registry())
            std::printf("%s\n", e.name);
        return 0;
    }
    // The program's own application object, so tests run with its fonts,
    // look, language resources and bus channel.
    TestApplication app(argc, argv);
    // The program's event loop turns before anything else it does, and the
    // session bus hands out no signals until it first has: every class
    // starts from there, whether it runs alone or after others.
    QCoreApplication::processEvents();
    QStringList args = app.arguments();
    QString only;
    const int c = static_cast<int>(args.indexOf(QStringLiteral("-c")));
    if (c >= 0 && c + 1 < args.size()) {
        only = args.at(c + 1);
        args.remove(c, 2);
    }
    int failed = 0;
    int ran = 0;
    for (const Entry& e : registry()) {
        if (!only.isEmpty() && only != QLatin1String(e.name))
            continue;
        std::unique_ptr<QObject> test = e.factory();
        ++ran;
        if (QTest::qExec(test.get(), args) != 0)
            ++failed;
    }
    // A class that was renamed or dropped must not pass by running nothing.
    if (ran == 0) {
        std::fprintf(stderr, "no test class named %s\n", qPrintable(only));
        return 1;
    }
    return failed == 0 ? 0 : 1;
}
