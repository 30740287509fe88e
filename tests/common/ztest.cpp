#include "tests/common/ztest.h"

#include "ezx/zapplication.h"

#include <QDir>
#include <QWidget>

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
    widget->grab().save(path);
    return path;
}

int main(int argc, char** argv)
{
    // The program's own application object, so tests run with its fonts,
    // look, language resources and bus channel.
    ZApplication app(argc, argv);
    QStringList args = app.arguments();
    QString only;
    const int c = static_cast<int>(args.indexOf(QStringLiteral("-c")));
    if (c >= 0 && c + 1 < args.size()) {
        only = args.at(c + 1);
        args.remove(c, 2);
    }
    int failed = 0;
    for (const Entry& e : registry()) {
        if (!only.isEmpty() && only != QLatin1String(e.name))
            continue;
        std::unique_ptr<QObject> test = e.factory();
        if (QTest::qExec(test.get(), args) != 0)
            ++failed;
    }
    return failed == 0 ? 0 : 1;
}
