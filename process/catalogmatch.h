#pragma once

#include <QString>

namespace zk::proc {

// Which registry entry gives a task its icon and name. The catalogue maps an
// application's Exec text to its entry and is walked in key order.

// A name longer than two characters fits an Exec text that contains it; a
// shorter one only an Exec text equal to it (so "vr" does not take any
// program whose path has "vr" in it).
bool execFitsName(const QString& exec, const QString& name);

// An icon text ending in ".g" names one of the phone's resource icons; any
// other is a file path.
bool isResourceIcon(const QString& icon);

// The first entry, in key order, whose Exec text fits the name; end() when
// none does. Works on any map keyed by the Exec text (QMap<QString, Entry>).
template <typename Map>
typename Map::const_iterator matchCatalogue(const Map& catalogue, const QString& name)
{
    for (auto it = catalogue.constBegin(); it != catalogue.constEnd(); ++it) {
        if (execFitsName(it.key(), name))
            return it;
    }
    return catalogue.constEnd();
}

}  // namespace zk::proc
