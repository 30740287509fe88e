#include "process/catalogmatch.h"

namespace zk::proc {

bool execFitsName(const QString& exec, const QString& name)
{
    if (name.size() > 2)
        return exec.contains(name);
    return exec == name;
}

bool isResourceIcon(const QString& icon)
{
    return icon.endsWith(QLatin1String(".g"));
}

}  // namespace zk::proc
