#include "bench/driver/phonestorage.h"

#include "catalogue/registry.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <QTextStream>

namespace {
// The framework's resource icons (ezx/icons), by their registry names.
const char* const kResourceIcons[] = {"alarm_std.g", "browser_std.g", "calculator_std.g", "calendar_std.g",
                                      "camera_std.g", "clock_std.g", "contacts_std.g", "email_std.g",
                                      "files_std.g", "gallery_std.g"};
constexpr int kSharedIcons = 50;
constexpr int kIconSide = 48;  // larger than a row's 19 pixels, as real icons are

bool writeIcon(const QString& path, int seed)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(kIconSide, kIconSide, QImage::Format_ARGB32);
    image.fill(QColor::fromHsv((seed * 37) % 360, 160 + seed % 90, 200));
    for (int y = 0; y < kIconSide; y += 6)
        for (int x = 0; x < kIconSide; ++x)
            image.setPixel(x, y, qRgb(seed % 256, (seed / 7) % 256, 90));
    return image.save(path, "PNG");
}

struct RegistryFile
{
    QString phonePath;
    int first = 0;
    int end = 0;
};
}

StorageFigures writePhoneStorage(const QString& root, int applications)
{
    StorageFigures figures;
    figures.applications = applications;
    QDir(root).removeRecursively();
    QSet<QString> written;
    auto icon = [&](const QString& phonePath, int seed) {
        if (!written.contains(phonePath) && writeIcon(root + phonePath, seed)) {
            written.insert(phonePath);
            ++figures.iconFiles;
        }
    };

    const int quarter = applications / 4;
    const RegistryFile files[] = {{QLatin1String(cardRegistryPath), 0, quarter},
                                  {QLatin1String(systemRegistryPath), quarter, applications - quarter},
                                  {QLatin1String(installedRegistryPath), applications - quarter, applications}};
    for (const RegistryFile& file : files) {
        const QString path = root + file.phonePath;
        QDir().mkpath(QFileInfo(path).path());
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            continue;
        QTextStream text(&out);
        text << "# " << (file.end - file.first) << " applications\n";
        const bool card = file.first == 0;
        for (int i = file.first; i < file.end; ++i) {
            const QString folder = card ? QStringLiteral("/mmc/mmca1/.Programs/bapp%1").arg(i)
                                        : QStringLiteral("/usr/SYSqtapp/bapp%1").arg(i);
            const QString id = QStringLiteral("{b0e5c4a1-0000-4000-8000-%1}").arg(i, 12, 10, QLatin1Char('0'));
            // Names in no particular order, so that the sorted list inserts
            // all over the place.
            text << "[" << id << "]\n"
                 << "Name = Application " << (i * 7919) % applications << "\n"
                 << "Exec = " << folder << "/bapp" << i << "\n"
                 << "AppID = " << id << "\n"
                 << "Directory = " << folder << "\n";
            const bool midlet = card && i % 20 == 5;
            if (midlet)
                text << "JavaId = " << i << "\n";
            switch (i % 10) {
            case 0:
                text << "Icon = " << kResourceIcons[(i / 10) % std::size(kResourceIcons)] << "\n";
                break;
            case 1:
                text << "Icon = " << folder << "/missing.png\n";
                break;
            case 2:
                icon(folder + QStringLiteral("/icon.png"), i);
                text << "Icon = icon.png\n";
                break;
            case 3: {
                const QString shared = QStringLiteral("/usr/share/benchicons/shared%1.png").arg(i % kSharedIcons);
                icon(shared, i % kSharedIcons);
                text << "Icon = " << shared << "\n";
                break;
            }
            case 4:
                icon(folder + QStringLiteral("/big.png"), i);
                text << "Icon =\nBigIcon = " << folder << "/big.png\n";
                break;
            default:
                icon(folder + QStringLiteral("/bapp.png"), i);
                text << "Icon = " << folder << "/bapp.png\n";
                break;
            }
            text << "\n";
            if (file.phonePath != QLatin1String(installedRegistryPath) && !midlet)
                ++figures.catalogueable;
        }
    }

    // The phone memory's Java index, and the clock file the monitor reads.
    const QString index = root + QStringLiteral("/ezxlocal/download/mystuff/.system/java/JAMInfo/index");
    QDir().mkpath(QFileInfo(index).path());
    QFile javaIndex(index);
    if (javaIndex.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QTextStream text(&javaIndex);
        for (int i = 1; i <= 100; ++i)
            text << i << "||Game " << i << "|MIDlet-" << i << "|1.0\n";
    }
    QDir().mkpath(root + QStringLiteral("/sys/mpm"));
    QFile op(root + QStringLiteral("/sys/mpm/op"));
    if (op.open(QIODevice::WriteOnly | QIODevice::Truncate))
        op.write("312\n");
    return figures;
}
