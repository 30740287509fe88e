// The registry reader: any file, and registries of the phone's form whose
// groups have any mix of the keys it reads.
#include "catalogue/registry.h"
#include "fuzz/fuzzsupport.h"
#include "platform/zconfig.h"

namespace {
// A value as the application manager writes it: one line, no blanks at
// the ends, no backslash (the store's escape character).
QByteArray value(FuzzedDataProvider& input)
{
    QByteArray v = fuzz::bytes(input.ConsumeRandomLengthString(32));
    v.replace('\n', ' ').replace('\r', ' ').replace('\\', '/');
    return QString::fromUtf8(v).trimmed().toUtf8();
}

const char* const execs[] = {"/usr/SYSqtapp/phone/phone", "/mmc/mmca1/app/app", "/usr/bin/notes", "app"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (fuzz::silenceLog(), true);
    (void)quiet;
    if (fuzz::generatorInput(data, size)) {
        FuzzedDataProvider input(data, size);
        QByteArray text;
        IconCatalogue want;
        for (int group = 0; input.remaining_bytes() > 0; ++group) {
            text += "[App" + QByteArray::number(group) + "]\n";
            const char* eq = input.ConsumeBool() ? " = " : "=";
            QByteArray javaId, exec, icon, bigIcon, name;
            if (input.ConsumeBool())
                text += QByteArray("JavaId") + eq + (javaId = value(input)) + '\n';
            if (input.ConsumeBool())
                text += QByteArray("Exec") + eq
                        + (exec = input.ConsumeBool() ? QByteArray(execs[input.ConsumeIntegralInRange<int>(0, 3)]) : value(input))
                        + '\n';
            if (input.ConsumeBool())
                text += QByteArray("Icon") + eq + (icon = value(input)) + '\n';
            if (input.ConsumeBool())
                text += QByteArray("BigIcon") + eq + (bigIcon = value(input)) + '\n';
            if (input.ConsumeBool())
                text += QByteArray("Name") + eq + (name = value(input)) + '\n';
            const QByteArray shown = icon.isEmpty() ? bigIcon : icon;
            if (javaId.isEmpty() && !exec.isEmpty() && !shown.isEmpty())
                want.insert(QString::fromUtf8(exec), RegistryEntry{QString::fromUtf8(shown), QString::fromUtf8(name)});
        }
        IconCatalogue got;
        readRegistryFile(fuzz::scratchFile("registry", text), got);
        FUZZ_CHECK(got.size() == want.size());
        for (auto it = want.cbegin(); it != want.cend(); ++it) {
            FUZZ_CHECK(got.contains(it.key()));
            FUZZ_CHECK(got.value(it.key()).icon == it->icon && got.value(it.key()).name == it->name);
        }
        return 0;
    }

    const QString path = fuzz::scratchFile("registry", fuzz::bytes(data, size));
    IconCatalogue catalogue;
    readRegistryFile(path, catalogue);
    const ZConfig registry(path, false);
    QStringList groups;
    registry.getGroupsKeyList(groups);
    FUZZ_CHECK(catalogue.size() <= groups.size());
    for (auto it = catalogue.cbegin(); it != catalogue.cend(); ++it) {
        // Every entry is a native application with an executable and an icon.
        FUZZ_CHECK(!it.key().isEmpty() && !it->icon.isEmpty());
        bool found = false;
        for (const QString& group : std::as_const(groups))
            found = found
                    || (registry.readEntry(group, QStringLiteral("Exec")) == it.key()
                        && registry.readEntry(group, QStringLiteral("JavaId")).isEmpty());
        FUZZ_CHECK(found);
    }
    return 0;
}
