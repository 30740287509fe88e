// A test-only window onto what a program paints: preloaded into a real
// program (LD_PRELOAD), it notes every text drawn into a widget, one line per
// text, in the file named by ZK_PAINT_PROBE:
//
//   <widget class> TAB <window title> TAB <text>
//
// The toolkit's widgets draw their texts through the one QPainter::drawText
// overload below, so the list rows, titles, soft keys and dialog rows a person
// would read are all seen. The call then goes on to Qt's own drawText.
//
// It also notes every picture the program loads from a file (the QPixmap
// constructor and QPixmap::load taking a file name, and QPixmap's
// fromImageReader() with a reader of a file), in the file named by
// ZK_PICTURE_PROBE, one line per load:
//
//   loaded|missing TAB <file name as given>
//
// so that a test sees a picture that falls back to nothing.
#include <QByteArray>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <QString>
#include <QWidget>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
using DrawText = void (*)(QPainter*, const QRect&, int, const QString&, QRect*);

// The real definition of a symbol this library replaces.
template <typename Fn>
Fn realFunction(const char* symbol)
{
    Fn fn = nullptr;
    void* address = dlsym(RTLD_NEXT, symbol);
    static_assert(sizeof(fn) == sizeof(address));
    std::memcpy(&fn, &address, sizeof(fn));
    return fn;
}

DrawText realDrawText()
{
    static DrawText real =
        realFunction<DrawText>("_ZN8QPainter8drawTextERK5QRectiRK7QStringPS0_");
    return real;
}

std::FILE* openProbe(const char* variable)
{
    const char* path = std::getenv(variable);
    return path && *path ? std::fopen(path, "a") : nullptr;
}

std::FILE* probeFile()
{
    static std::FILE* file = openProbe("ZK_PAINT_PROBE");
    return file;
}

std::FILE* pictureFile()
{
    static std::FILE* file = openProbe("ZK_PICTURE_PROBE");
    return file;
}

void notePicture(const QString& fileName, bool loaded)
{
    // An empty name is the usual way to ask for no picture at all.
    std::FILE* file = pictureFile();
    if (!file || fileName.isEmpty())
        return;
    const QByteArray line = QByteArray(loaded ? "loaded\t" : "missing\t") + fileName.toUtf8() + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), file);
    std::fflush(file);
}

// One line per text: breaks and tabs inside a text become blanks.
QByteArray oneLine(const QString& text)
{
    QByteArray out = text.toUtf8();
    for (char& c : out) {
        if (c == '\n' || c == '\r' || c == '\t')
            c = ' ';
    }
    return out;
}

void note(QPainter* painter, const QString& text)
{
    std::FILE* file = probeFile();
    if (!file || text.isEmpty())
        return;
    QPaintDevice* device = painter->device();
    if (!device || device->devType() != QInternal::Widget)
        return;
    const auto* widget = static_cast<QWidget*>(device);
    // A scroll area paints into its plain viewport: name the area instead.
    const QWidget* named = widget;
    while (named->parentWidget() && qstrcmp(named->metaObject()->className(), "QWidget") == 0)
        named = named->parentWidget();
    const QByteArray line = QByteArray(named->metaObject()->className()) + '\t'
                            + oneLine(widget->window()->windowTitle()) + '\t' + oneLine(text) + '\n';
    std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), file);
    std::fflush(file);
}
}

// Replaces Qt's definition for every caller outside QtGui.
void QPainter::drawText(const QRect& r, int flags, const QString& text, QRect* br)
{
    note(this, text);
    if (DrawText real = realDrawText())
        real(this, r, flags, text, br);
}

// QPixmap(const QString&, const char*, Qt::ImageConversionFlags): a
// constructor cannot be written as one here, so it is replaced under its
// symbol name and constructs through Qt's own.
#define ZK_PIXMAP_FROM_FILE "_ZN7QPixmapC1ERK7QStringPKc6QFlagsIN2Qt19ImageConversionFlagEE"
namespace {
using PixmapFromFile = void (*)(QPixmap*, const QString&, const char*, Qt::ImageConversionFlags);
using PixmapLoad = bool (*)(QPixmap*, const QString&, const char*, Qt::ImageConversionFlags);
}

extern "C" void probePixmapFromFile(QPixmap* self, const QString& fileName, const char* format,
                                    Qt::ImageConversionFlags flags) __asm__(ZK_PIXMAP_FROM_FILE);
extern "C" void probePixmapFromFile(QPixmap* self, const QString& fileName, const char* format,
                                    Qt::ImageConversionFlags flags)
{
    static PixmapFromFile real = realFunction<PixmapFromFile>(ZK_PIXMAP_FROM_FILE);
    real(self, fileName, format, flags);
    notePicture(fileName, !self->isNull());
}

bool QPixmap::load(const QString& fileName, const char* format, Qt::ImageConversionFlags flags)
{
    static PixmapLoad real = realFunction<PixmapLoad>(
        "_ZN7QPixmap4loadERK7QStringPKc6QFlagsIN2Qt19ImageConversionFlagEE");
    const bool loaded = real(this, fileName, format, flags);
    notePicture(fileName, loaded);
    return loaded;
}

QPixmap QPixmap::fromImageReader(QImageReader* reader, Qt::ImageConversionFlags flags)
{
    using FromReader = QPixmap (*)(QImageReader*, Qt::ImageConversionFlags);
    static FromReader real = realFunction<FromReader>(
        "_ZN7QPixmap15fromImageReaderEP12QImageReader6QFlagsIN2Qt19ImageConversionFlagEE");
    QPixmap pixmap = real(reader, flags);
    if (reader && !reader->fileName().isEmpty())
        notePicture(reader->fileName(), !pixmap.isNull());
    return pixmap;
}
