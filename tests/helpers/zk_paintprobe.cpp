// A test-only window onto what a program paints: preloaded into a real
// program (LD_PRELOAD), it notes every text drawn into a widget, one line per
// text, in the file named by ZK_PAINT_PROBE:
//
//   <widget class> TAB <window title> TAB <text>
//
// The toolkit's widgets draw their texts through the one QPainter::drawText
// overload below, so the list rows, titles, soft keys and dialog rows a person
// would read are all seen. The call then goes on to Qt's own drawText.
#include <QByteArray>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QWidget>

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
using DrawText = void (*)(QPainter*, const QRect&, int, const QString&, QRect*);

DrawText realDrawText()
{
    static DrawText real = [] {
        DrawText fn = nullptr;
        void* symbol = dlsym(RTLD_NEXT, "_ZN8QPainter8drawTextERK5QRectiRK7QStringPS0_");
        static_assert(sizeof(fn) == sizeof(symbol));
        std::memcpy(&fn, &symbol, sizeof(fn));
        return fn;
    }();
    return real;
}

std::FILE* probeFile()
{
    static std::FILE* file = [] {
        const char* path = std::getenv("ZK_PAINT_PROBE");
        return path && *path ? std::fopen(path, "a") : nullptr;
    }();
    return file;
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
