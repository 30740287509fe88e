// drawpictures: draws every picture of the program into a source tree.
//   drawpictures <repository> [preview.png [zoom [part-of-name]]]
// writes img/, panel/ and ezx/icons/ below <repository>, and, when asked, a
// preview sheet of the pictures (all, or those whose path contains the
// given parts, separated by commas) at 1:1 and enlarged.
#include "pictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <algorithm>

namespace {

QImage previewSheet(const Pictures& all, int zoom)
{
    int largest = 0;
    for (const Picture& picture : all)
        largest = qMax(largest, qMax(picture.image.width(), picture.image.height()));
    const int cell = largest * zoom + 16;
    const int columns = qMax(1, qMin(6, 1400 / cell));
    const int rows = (static_cast<int>(all.size()) + columns - 1) / columns;
    QImage sheet(columns * cell, rows * (cell + 70), QImage::Format_ARGB32);
    sheet.fill(zskin::background());
    QPainter p(&sheet);
    for (int i = 0; i < all.size(); ++i) {
        const QImage& image = all.at(i).image;
        const int x = (i % columns) * cell + 8;
        const int y = (i / columns) * (cell + 70) + 8;
        p.drawImage(x, y, image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        p.drawImage(x, y + image.height() * zoom + 6, image);
        p.fillRect(x + image.width() + 6, y + image.height() * zoom + 6, image.width() + 4, image.height() + 4,
                   zskin::titleBottom());
        p.drawImage(x + image.width() + 8, y + image.height() * zoom + 8, image);
        p.setPen(zskin::text());
        p.drawText(x, y + image.height() * zoom + image.height() + 24, QFileInfo(all.at(i).path).fileName());
    }
    return sheet;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        err << "usage: drawpictures <repository> [preview.png]\n";
        return 2;
    }
    const QDir top(args.at(1));
    Pictures all;
    all << programIcon() << rowAndLauncherIcons() << menuIcons() << tabIcons() << panelPictures()
        << resourceIcons();
    int failed = 0;
    for (const Picture& picture : all) {
        const QString path = top.filePath(picture.path);
        QDir().mkpath(QFileInfo(path).path());
        if (!picture.image.save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            ++failed;
        }
    }
    const int zoom = args.size() > 3 ? qBound(1, args.at(3).toInt(), 12) : 4;
    Pictures shown;
    const QStringList only = args.size() > 4 ? args.at(4).split(QLatin1Char(',')) : QStringList();
    for (const Picture& picture : all) {
        const bool wanted = only.isEmpty()
                            || std::any_of(only.cbegin(), only.cend(),
                                           [&](const QString& part) { return picture.path.contains(part); });
        if (wanted)
            shown << picture;
    }
    if (args.size() > 2 && !previewSheet(shown, zoom).save(args.at(2), "PNG")) {
        err << "cannot write " << args.at(2) << "\n";
        ++failed;
    }
    return failed == 0 ? 0 : 1;
}
