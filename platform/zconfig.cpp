#include "platform/zconfig.h"

#include "platform/atomicfile.h"
#include "platform/boundedread.h"
#include "platform/inisyntax.h"
#include "platform/logline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

// Which file a path named when it was read: a writer that replaced it made
// a new file, one that wrote into it changed its size or time.
using FileIdentity = std::tuple<dev_t, ino_t, off_t, qint64>;

FileIdentity identityOf(const struct stat& st)
{
    return {st.st_dev, st.st_ino, st.st_size, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// The identity of the file at path now; a missing file has none.
std::optional<FileIdentity> identityAt(const QString& path)
{
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

// Larger files are not configuration files; they are left alone (read as
// empty and never overwritten) rather than pulled into memory. The program's
// own file holds a few KB and the phone's registries a few hundred; a line
// costs some 250 bytes once read, so both bounds together keep a hostile
// file to some 100 MB of memory.
constexpr qint64 maxFileSize = 8 * 1024 * 1024;
constexpr qsizetype maxLines = 200000;

// Creates the folder and any missing parent. Folders made here follow the
// user's umask but are never writable by everyone: whoever could write into
// the folder could replace the file inside it.
bool makeFolder(const QString& folder)
{
    QStringList made;
    for (QString f = QDir::cleanPath(folder); !f.isEmpty() && !QFileInfo::exists(f);) {
        made.prepend(f);
        const QString parent = QFileInfo(f).path();
        if (parent == f)
            break;
        f = parent;
    }
    if (!QDir().mkpath(folder))
        return false;
    for (const QString& f : made) {
        QFile dir(f);
        if (dir.permissions() & QFileDevice::WriteOther)
            dir.setPermissions(dir.permissions() & ~QFileDevice::WriteOther);
    }
    return true;
}

}  // namespace

class ZConfig::Private
{
public:
    explicit Private(const QString& file)
        : path(file)
    {
    }

    QString path;
    std::vector<ini::Line> lines;
    QByteArray newline = "\n";
    bool bom = false;
    bool readable = true;  // false: the file exists but could not be read
    bool existed = false;
    std::optional<FileIdentity> identity;  // of the file read; none when missing
    bool changedSinceRead = false;         // this object's writes changed the lines

    // Where each (group, key) is found: the first line that sets it. A
    // foreign file may repeat a group; all its parts count as one group and
    // the first value of a key wins, which is what every reader sees.
    QHash<QString, QHash<QString, int>> entries;
    QStringList groupOrder;

    // This object's own writes in the order they were first made, each with
    // its latest value. flush() applies them to the file as it is at that
    // moment, so that what another writer changed meanwhile stays.
    std::vector<std::pair<std::pair<QString, QString>, QString>> written;

    void load();
    void reindex();
    int lastLineOfGroup(const QString& group) const;
    // Puts the value into the lines; true when that changed them.
    bool apply(const QString& group, const QString& key, const QString& value);
    void write(const QString& group, const QString& key, const QString& value);
    const ini::Line* find(const QString& group, const QString& key) const;
    QByteArray text() const;
    // Takes over what a fresh read (with this object's writes applied)
    // holds; the writes are kept for a later flush unless they were written.
    void adopt(Private&& fresh, bool written);
};

void ZConfig::Private::load()
{
    QFile file(path);
    existed = file.exists();
    if (!existed)
        return;
    // A pipe would block the reader and a device never end: only regular
    // files (or links to them) are read, and none of the others is replaced.
    if (!QFileInfo(path).isFile()) {
        logLine(QStringLiteral("ZConfig: ") + path + QStringLiteral(" is not a regular file, ignored"));
        readable = false;
        return;
    }
    if (file.size() > maxFileSize) {
        logLine(QStringLiteral("ZConfig: ") + path + QStringLiteral(" is too large, ignored"));
        readable = false;
        return;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        logLine(QStringLiteral("ZConfig: cannot read ") + path + QStringLiteral(": ") + file.errorString());
        readable = false;
        return;
    }
    struct stat st = {};
    if (::fstat(file.handle(), &st) == 0)
        identity = identityOf(st);
    // Read no more than the bound even if the file grew since its size was
    // taken.
    QByteArray data = readAtMost(file, maxFileSize);
    if (data.size() > maxFileSize) {
        logLine(QStringLiteral("ZConfig: ") + path + QStringLiteral(" is too large, ignored"));
        readable = false;
        return;
    }
    if (data.count('\n') > maxLines) {
        logLine(QStringLiteral("ZConfig: ") + path + QStringLiteral(" has more than %1 lines, ignored").arg(maxLines));
        readable = false;
        return;
    }
    if (data.startsWith("\xEF\xBB\xBF")) {
        bom = true;
        data.remove(0, 3);
    }
    const qsizetype firstEnd = data.indexOf('\n');
    if (firstEnd > 0 && data.at(firstEnd - 1) == '\r')
        newline = "\r\n";
    lines = ini::parseLines(data);
    reindex();
}

void ZConfig::Private::reindex()
{
    entries.clear();
    groupOrder.clear();
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const ini::Line& line = lines[static_cast<size_t>(i)];
        if (line.kind == ini::Line::Group) {
            if (!entries.contains(line.group)) {
                entries.insert(line.group, {});
                groupOrder.append(line.group);
            }
        } else if (line.kind == ini::Line::Entry && line.inGroup) {
            QHash<QString, int>& keys = entries[line.group];
            if (!keys.contains(line.key))
                keys.insert(line.key, i);
        }
    }
}

const ini::Line* ZConfig::Private::find(const QString& group, const QString& key) const
{
    const auto g = entries.constFind(group);
    if (g == entries.constEnd())
        return nullptr;
    const auto k = g->constFind(key);
    if (k == g->constEnd())
        return nullptr;
    return &lines[static_cast<size_t>(*k)];
}

// The last entry (or, with none, the header) of the group's last part: a new
// key goes right after it, before any blank lines or comments that follow.
int ZConfig::Private::lastLineOfGroup(const QString& group) const
{
    int last = -1;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const ini::Line& line = lines[static_cast<size_t>(i)];
        if (!line.inGroup || line.group != group)
            continue;
        if (line.kind == ini::Line::Group || line.kind == ini::Line::Entry)
            last = i;
    }
    return last;
}

bool ZConfig::Private::apply(const QString& group, const QString& key, const QString& value)
{
    const auto g = entries.constFind(group);
    if (g != entries.constEnd()) {
        const auto k = g->constFind(key);
        if (k != g->constEnd()) {
            ini::Line& line = lines[static_cast<size_t>(*k)];
            if (line.value == value)
                return false;
            line.value = value;
            line.raw = ini::formatEntry(key, value);
            return true;
        }
        const int after = lastLineOfGroup(group);
        lines.insert(lines.begin() + after + 1, ini::makeEntry(group, key, value));
    } else {
        if (!lines.empty() && lines.back().kind != ini::Line::Blank)
            lines.push_back(ini::makeBlank());
        lines.push_back(ini::makeGroup(group));
        lines.push_back(ini::makeEntry(group, key, value));
    }
    reindex();
    return true;
}

void ZConfig::Private::write(const QString& group, const QString& key, const QString& value)
{
    if (!ini::validGroupName(group)) {
        logLine(QStringLiteral("ZConfig: refused group name \"") + ini::escapeValue(group) + QStringLiteral("\" in ") + path);
        return;
    }
    if (!ini::validKey(key)) {
        logLine(QStringLiteral("ZConfig: refused key \"") + ini::escapeValue(key) + QStringLiteral("\" in ") + path);
        return;
    }
    if (apply(group, key, value))
        changedSinceRead = true;
    // Kept even when the value is the one read: by the time of the flush
    // another writer may have changed it, and the last writer wins.
    for (auto& [place, latest] : written) {
        if (place.first == group && place.second == key) {
            latest = value;
            return;
        }
    }
    written.push_back({{group, key}, value});
}

QByteArray ZConfig::Private::text() const
{
    QByteArray data;
    if (bom)
        data += "\xEF\xBB\xBF";
    for (const ini::Line& line : lines) {
        data += line.raw;
        data += line.end.isEmpty() ? newline : line.end;
    }
    return data;
}

void ZConfig::Private::adopt(Private&& fresh, bool flushed)
{
    lines = std::move(fresh.lines);
    newline = fresh.newline;
    bom = fresh.bom;
    readable = fresh.readable;
    existed = fresh.existed;
    identity = fresh.identity;
    changedSinceRead = false;
    entries = std::move(fresh.entries);
    groupOrder = std::move(fresh.groupOrder);
    if (flushed)
        written.clear();
}

ZConfig::ZConfig(const QString& path, bool create)
    : d(new Private(path))
{
    // A missing file reads as empty whether or not it is to be created; it
    // comes into being at the first flush() with something to write.
    Q_UNUSED(create);
    d->load();
}

ZConfig::~ZConfig()
{
    delete d;
}

QString ZConfig::path() const
{
    return d->path;
}

QString ZConfig::readEntry(const QString& group, const QString& key, const QString& def) const
{
    const ini::Line* line = d->find(group, key);
    return line ? line->value : def;
}

int ZConfig::readNumEntry(const QString& group, const QString& key, int def) const
{
    const ini::Line* line = d->find(group, key);
    return line ? ini::parseNumber(line->value, def) : def;
}

bool ZConfig::readBoolEntry(const QString& group, const QString& key, bool def) const
{
    const ini::Line* line = d->find(group, key);
    return line ? ini::parseBool(line->value, def) : def;
}

void ZConfig::writeEntry(const QString& group, const QString& key, const QString& value)
{
    d->write(group, key, value);
}

void ZConfig::writeEntry(const QString& group, const QString& key, const char* value)
{
    d->write(group, key, QString::fromUtf8(value));
}

void ZConfig::writeEntry(const QString& group, const QString& key, bool value)
{
    d->write(group, key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

void ZConfig::writeEntry(const QString& group, const QString& key, int value)
{
    d->write(group, key, QString::number(value));
}

bool ZConfig::flush()
{
    if (d->written.empty())
        return true;
    if (!d->readable) {
        // Writing now would replace a file we never saw with our changes only.
        logLine(QStringLiteral("ZConfig: not writing ") + d->path + QStringLiteral(", it could not be read"));
        return false;
    }

    const QString folder = QFileInfo(d->path).absolutePath();
    const bool haveFolder = makeFolder(folder);
    // The turn is taken before the file is read again and held until it is
    // replaced: no other writer's flush comes in between.
    std::optional<FileReplacement> turn;
    if (haveFolder)
        turn.emplace(d->path);
    // Unless the file is still the one this object read (the usual case),
    // the file as it is now, with this object's writes applied, replaces
    // what the object read before, whatever the flush's outcome: the old
    // lines go first, so that a large file is not held twice.
    bool changed = d->changedSinceRead;
    const std::optional<FileIdentity> now = identityAt(d->path);
    if (!now || now != d->identity || !d->existed) {
        std::vector<ini::Line>().swap(d->lines);
        d->entries.clear();
        Private fresh(d->path);
        fresh.load();
        changed = false;
        for (const auto& [place, value] : d->written)
            changed = fresh.apply(place.first, place.second, value) || changed;
        d->adopt(std::move(fresh), false);
    }
    if (!d->readable) {
        // It could not be read this time: the same.
        logLine(QStringLiteral("ZConfig: not writing ") + d->path + QStringLiteral(", it could not be read"));
        return false;
    }
    if (!changed) {
        d->written.clear();
        return true;
    }
    if (!haveFolder) {
        logLine(QStringLiteral("ZConfig: cannot write ") + d->path + QStringLiteral(": cannot create folder ") + folder);
        return false;
    }
    if (!turn->locked()) {
        logLine(QStringLiteral("ZConfig: cannot write ") + d->path + QStringLiteral(": ") + turn->error());
        return false;
    }

    // What the store writes it must be able to read back.
    const QByteArray data = d->text();
    if (data.size() > maxFileSize || data.count('\n') > maxLines) {
        logLine(QStringLiteral("ZConfig: not writing ") + d->path + QStringLiteral(", it would be too large to read back"));
        return false;
    }
    struct stat written = {};
    if (!turn->commit(data, &written)) {
        logLine(QStringLiteral("ZConfig: cannot write ") + d->path + QStringLiteral(": ") + turn->error());
        return false;
    }
    d->existed = true;
    d->identity = identityOf(written);
    d->changedSinceRead = false;
    d->written.clear();
    return true;
}

bool ZConfig::getGroupsKeyList(QStringList& groups) const
{
    groups = d->groupOrder;
    return d->existed && d->readable;
}
