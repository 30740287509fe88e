// zk-drawsimicons DEVICE_FOLDER: draws the sample storage's pictures into the
// folder (sim/device), making folders as needed.
#include "sim/simpictures.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (app.arguments().size() != 2) {
        err << "usage: zk-drawsimicons DEVICE_FOLDER\n";
        return 2;
    }
    const QDir root(app.arguments().at(1));
    int failed = 0;
    for (const SimPicture& picture : drawSimPictures()) {
        const QString path = root.filePath(picture.path);
        if (!QDir().mkpath(QFileInfo(path).path()) || !picture.image.save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            ++failed;
        }
    }
    return failed ? 1 : 0;
}
