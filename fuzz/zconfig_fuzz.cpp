// The configuration store's round trip: any file, then writes (texts,
// booleans, numbers; existing and new groups and keys), flushed and read by
// a fresh ZConfig. The input is the file; after a NUL byte, if there is one,
// come the bytes that choose the writes, and without one a fixed set of
// writes touches the file's first groups and adds a group of its own.
//
// What must hold: each accepted write reads back exactly (blanks around a
// text, line breaks and backslashes kept), nothing written is read elsewhere, the file's other keys read as
// before, its groups keep their order, the lines not rewritten keep their
// bytes, and writing the same again changes nothing.
#include "fuzz/fuzzsupport.h"
#include "platform/inisyntax.h"
#include "platform/zconfig.h"

#include <QFile>
#include <QMap>

#include <utility>
#include <vector>

namespace {

using Place = std::pair<QString, QString>;  // group, key

struct Written
{
    enum Type {
        Text,
        Bool,
        Number
    } type = Text;
    QString text;
    bool flag = false;
    int number = 0;
};

struct Op
{
    QString group;
    QString key;
    Written value;
};

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray withoutBom(const QByteArray& data)
{
    return data.startsWith("\xEF\xBB\xBF") ? data.mid(3) : data;
}

// Finds chunk in data at a line start at or after from; -1 when it is not.
qsizetype findLine(const QByteArray& data, const QByteArray& chunk, qsizetype from, qsizetype firstLine)
{
    for (qsizetype at = data.indexOf(chunk, from); at >= 0; at = data.indexOf(chunk, at + 1)) {
        if (at == firstLine || (at > firstLine && data.at(at - 1) == '\n'))
            return at;
    }
    return -1;
}

QString pick(FuzzedDataProvider& input, const QStringList& known, const char* const* pool, int poolSize)
{
    switch (input.ConsumeIntegralInRange<int>(0, 2)) {
    case 0:
        if (!known.isEmpty())
            return known.at(input.ConsumeIntegralInRange<qsizetype>(0, known.size() - 1));
        [[fallthrough]];
    case 1:
        return QString::fromUtf8(pool[input.ConsumeIntegralInRange<int>(0, poolSize - 1)]);
    default:
        return fuzz::text(fuzz::bytes(input.ConsumeRandomLengthString(12)));
    }
}

const char* const groupPool[] = {"General", "Task", "Font", "Key", "App", "[App]", " App", "App "};
const char* const keyPool[] = {"TimeInCaption", "FiltrProcList", "Name", "Exec", "Name0", "Name1", "#k", "k=v"};

// The writes chosen by the fuzzer.
std::vector<Op> chosenWrites(FuzzedDataProvider& input, const QStringList& groups, const QStringList& keys)
{
    std::vector<Op> ops;
    const int writes = input.ConsumeIntegralInRange<int>(1, 12);
    for (int i = 0; i < writes; ++i) {
        Op op;
        op.group = pick(input, groups, groupPool, std::size(groupPool));
        op.key = pick(input, keys, keyPool, std::size(keyPool));
        op.value.type = static_cast<Written::Type>(input.ConsumeIntegralInRange<int>(0, 2));
        if (op.value.type == Written::Text)
            op.value.text = fuzz::text(fuzz::bytes(input.ConsumeRandomLengthString(64)));
        else if (op.value.type == Written::Bool)
            op.value.flag = input.ConsumeBool();
        else
            op.value.number = input.ConsumeIntegral<int>();
        ops.push_back(op);
    }
    return ops;
}

// The writes for a file given alone: in each of its first three groups its
// first key changes and a key is added; a new group gets one of each type.
std::vector<Op> fixedWrites(const std::vector<ini::Line>& lines, const QStringList& groups)
{
    std::vector<Op> ops;
    for (const QString& group : groups.mid(0, 3)) {
        for (const ini::Line& line : lines) {
            if (line.kind == ini::Line::Entry && line.inGroup && line.group == group) {
                ops.push_back({group, line.key, {Written::Text, QStringLiteral(" two\nlines\\ "), false, 0}});
                break;
            }
        }
        ops.push_back({group, QStringLiteral("Added"), {Written::Number, {}, false, -7}});
    }
    const QString group = QStringLiteral("zKestrel fuzz");
    ops.push_back({group, QStringLiteral("Text"), {Written::Text, QString::fromUtf8("\xd0\x97 = [x] ; #"), false, 0}});
    ops.push_back({group, QStringLiteral("Flag"), {Written::Bool, {}, true, 0}});
    ops.push_back({group, QStringLiteral("Number"), {Written::Number, {}, false, 2147483647}});
    return ops;
}

void write(ZConfig& cfg, const Op& op)
{
    switch (op.value.type) {
    case Written::Text: cfg.writeEntry(op.group, op.key, op.value.text); break;
    case Written::Bool: cfg.writeEntry(op.group, op.key, op.value.flag); break;
    case Written::Number: cfg.writeEntry(op.group, op.key, op.value.number); break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (fuzz::silenceLog(), true);
    (void)quiet;
    const QByteArray all = fuzz::bytes(data, size);
    const qsizetype nul = all.indexOf('\0');
    const QByteArray original = nul < 0 ? all : all.left(nul);
    const QString path = fuzz::scratchFile("zKestrel.cfg", original);

    // What the file holds before: its groups, and the value of each key.
    const std::vector<ini::Line> before = ini::parseLines(withoutBom(original));
    QStringList groups;
    QStringList keys;
    QMap<Place, QString> oldValues;
    {
        const ZConfig old(path, false);
        old.getGroupsKeyList(groups);
        for (const ini::Line& line : before) {
            if (line.kind != ini::Line::Entry)
                continue;
            keys << line.key;
            if (line.inGroup)
                oldValues.insert({line.group, line.key}, old.readEntry(line.group, line.key, QStringLiteral("\x01")));
        }
    }

    std::vector<Op> ops;
    if (nul < 0) {
        ops = fixedWrites(before, groups);
    } else {
        const QByteArray choices = all.mid(nul + 1);
        FuzzedDataProvider input(reinterpret_cast<const uint8_t*>(choices.constData()), static_cast<size_t>(choices.size()));
        ops = chosenWrites(input, groups, keys);
    }

    // The writes.
    QMap<Place, Written> written;
    QStringList newGroups;
    {
        ZConfig cfg(path, false);
        for (const Op& op : ops) {
            write(cfg, op);
            // Names the file could not give back as such are refused.
            if (!ini::validGroupName(op.group) || !ini::validKey(op.key))
                continue;
            written.insert({op.group, op.key}, op.value);
            if (!groups.contains(op.group) && !newGroups.contains(op.group))
                newGroups << op.group;
        }
        FUZZ_CHECK(cfg.flush());
    }

    const QByteArray after = fileBytes(path);
    const ZConfig fresh(path, false);

    // Every accepted write reads back.
    for (auto it = written.cbegin(); it != written.cend(); ++it) {
        const auto& [group, key] = it.key();
        const QString got = fresh.readEntry(group, key, QStringLiteral("\x01"));
        switch (it->type) {
        case Written::Text:
            FUZZ_CHECK(got == it->text);
            break;
        case Written::Bool:
            FUZZ_CHECK(fresh.readBoolEntry(group, key, !it->flag) == it->flag);
            break;
        case Written::Number:
            FUZZ_CHECK(fresh.readNumEntry(group, key, it->number ^ 1) == it->number);
            break;
        }
    }
    // The file's other keys read as before.
    for (auto it = oldValues.cbegin(); it != oldValues.cend(); ++it) {
        if (!written.contains(it.key()))
            FUZZ_CHECK(fresh.readEntry(it.key().first, it.key().second, QStringLiteral("\x01")) == it.value());
    }
    // Nothing written shows up under another group or key: the file's keys
    // are the old ones and the written ones.
    for (const ini::Line& line : ini::parseLines(withoutBom(after))) {
        if (line.kind == ini::Line::Entry && line.inGroup) {
            const Place place{line.group, line.key};
            FUZZ_CHECK(oldValues.contains(place) || written.contains(place));
        }
    }
    // Groups: the old ones in their order, then the new ones in the order
    // they were first written.
    QStringList groupsAfter;
    FUZZ_CHECK(fresh.getGroupsKeyList(groupsAfter));
    FUZZ_CHECK(groupsAfter == groups + newGroups);

    // The lines not rewritten keep their bytes and their order.
    FUZZ_CHECK(original.startsWith("\xEF\xBB\xBF") == after.startsWith("\xEF\xBB\xBF"));
    const qsizetype firstLine = after.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    QMap<Place, bool> firstSeen;
    qsizetype next = firstLine;
    for (const ini::Line& line : before) {
        if (line.kind == ini::Line::Entry && line.inGroup) {
            const Place place{line.group, line.key};
            const bool first = !firstSeen.contains(place);
            firstSeen.insert(place, true);
            if (first && written.contains(place))
                continue;  // the one line a write may change
        }
        // Its bytes and its line end (the last line may gain one).
        const qsizetype at = findLine(after, line.raw + line.end, next, firstLine);
        FUZZ_CHECK(at >= 0);
        next = at + line.raw.size() + line.end.size();
    }

    // Nothing more to write: the same bytes again.
    {
        ZConfig again(path, false);
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            write(again, Op{it.key().first, it.key().second, it.value()});
        FUZZ_CHECK(again.flush());
    }
    FUZZ_CHECK(fileBytes(path) == after);
    return 0;
}
