#include "catalogue/registry.h"

#include "platform/zconfig.h"

void readRegistryFile(const QString& filePath, IconCatalogue& catalogue)
{
    const ZConfig registry(filePath, false);
    QStringList groups;
    registry.getGroupsKeyList(groups);
    for (const QString& group : groups) {
        if (!registry.readEntry(group, QStringLiteral("JavaId")).isEmpty())
            continue;
        const QString exec = registry.readEntry(group, QStringLiteral("Exec"));
        QString icon = registry.readEntry(group, QStringLiteral("Icon"));
        if (icon.isEmpty())
            icon = registry.readEntry(group, QStringLiteral("BigIcon"));
        if (exec.isEmpty() || icon.isEmpty())
            continue;
        catalogue.insert(exec, RegistryEntry{icon, registry.readEntry(group, QStringLiteral("Name"))});
    }
}
