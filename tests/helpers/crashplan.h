#pragma once

// What the crash writer (zk_config_writer) puts into the configuration file
// at each step, shared with the test that kills it. Every step is one
// flush() and every flush writes at least one value that carries its step
// number, so the file itself tells which step it holds; what the file must
// hold after step F is a function of F alone:
//   step % 3 == 0  the settings groups and the "Crash" group, one ZConfig;
//   step % 3 == 1  writeFavourite() into slot (step / 3) % 20;
//   step % 3 == 2  renameFavourite() of that same slot.
// Header-only so that the writer and the test use one definition.
#include "catalogue/favourites.h"
#include "core/zsettings.h"
#include "platform/devicepath.h"
#include "platform/zconfig.h"

#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>

namespace crashplan {

constexpr int period = 3;
constexpr int crashKeys = 8;
inline const QString crashGroup = QStringLiteral("Crash");
inline const QString appGroup = QStringLiteral("App");

using Key = QPair<QString, QString>;  // group, key
using Values = QMap<Key, QString>;    // the text the file must hold

inline qint64 cycleOf(qint64 step) { return step / period; }
inline int slotOf(qint64 step) { return static_cast<int>(cycleOf(step) % favouriteSlotCount); }

// Values long enough, and of changing length, that a file cut short or
// mixed from two versions cannot pass for a whole one.
inline QString crashValue(qint64 step, int index)
{
    const int fill = 100 + static_cast<int>((step * 37 + index * 101) % 900);
    return QStringLiteral("v%1-k%2-").arg(step).arg(index)
           + QString(fill, QLatin1Char(static_cast<char>('a' + (step + index) % 26)));
}

// The settings keys in the groups and with the writes the settings dialog
// uses (ZOptionItem::save: bool, number or text).
struct SettingsValues
{
    bool timeInCaption;
    bool sendGoToIdle;
    bool showAllTask;
    QString filter;
    int panelFontSize;
    int listFontSize;
    QString panelColor;
    bool userFont;
    int actionOnC;
};

inline SettingsValues settingsFor(qint64 storeStep)
{
    const qint64 c = cycleOf(storeStep);
    SettingsValues s;
    s.timeInCaption = c % 2 == 1;
    s.sendGoToIdle = c % 3 == 1;
    s.showAllTask = c % 5 >= 2;
    s.filter = QStringLiteral("!am!v%1!phone!").arg(storeStep);
    s.panelFontSize = 8 + static_cast<int>(c % 20);
    s.listFontSize = 10 + static_cast<int>(c % 13);
    s.panelColor = QStringLiteral("#%1").arg((c * 2654435761LL) & 0xffffff, 6, 16, QLatin1Char('0'));
    s.userFont = c % 7 >= 3;
    s.actionOnC = static_cast<int>(c % 3);
    return s;
}

inline QString favouriteName(qint64 favStep) { return QStringLiteral("fav %1").arg(favStep); }
inline QString renamedName(qint64 renameStep) { return QStringLiteral("ren %1").arg(renameStep); }
inline QString favouriteRun(qint64 favStep)
{
    return QStringLiteral("{00000000-0000-0000-0000-%1}").arg(favStep, 12, 10, QLatin1Char('0'));
}
inline QString favouriteIcon(qint64 favStep) { return QStringLiteral("/icons/%1.png").arg(favStep); }

inline QString nameKey(int slot) { return QStringLiteral("name%1").arg(slot); }
inline QString runKey(int slot) { return QStringLiteral("run%1").arg(slot); }
inline QString iconKey(int slot) { return QStringLiteral("icon%1").arg(slot); }

// Every key the plan writes, for comparing a file with a prediction.
inline QList<Key> plannedKeys()
{
    QList<Key> keys;
    keys << Key{crashGroup, QStringLiteral("step")};
    for (int i = 0; i < crashKeys; ++i)
        keys << Key{crashGroup, QStringLiteral("k%1").arg(i)};
    keys << Key{"General", "TimeInCaption"} << Key{"General", "SendGoToIDLE"} << Key{"Task", "ShowAllTask"}
         << Key{"Task", "FiltrProcList"} << Key{"Font", "PanelFontSize"} << Key{"Font", "ListFontSize"}
         << Key{"Font", "PanelColor"} << Key{"Font", "UserFont"} << Key{"Key", "ActionOnC"};
    for (int slot = 0; slot < favouriteSlotCount; ++slot)
        keys << Key{appGroup, nameKey(slot)} << Key{appGroup, runKey(slot)} << Key{appGroup, iconKey(slot)};
    return keys;
}

inline QString boolText(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

// What the planned keys hold once step `last` has been flushed (-1: none).
inline Values expectedAfter(qint64 last)
{
    Values v;
    if (last < 0)
        return v;
    const qint64 store = last - last % period;
    v[{crashGroup, "step"}] = QString::number(store);
    for (int i = 0; i < crashKeys; ++i)
        v[{crashGroup, QStringLiteral("k%1").arg(i)}] = crashValue(store, i);
    const SettingsValues s = settingsFor(store);
    v[{"General", "TimeInCaption"}] = boolText(s.timeInCaption);
    v[{"General", "SendGoToIDLE"}] = boolText(s.sendGoToIdle);
    v[{"Task", "ShowAllTask"}] = boolText(s.showAllTask);
    v[{"Task", "FiltrProcList"}] = s.filter;
    v[{"Font", "PanelFontSize"}] = QString::number(s.panelFontSize);
    v[{"Font", "ListFontSize"}] = QString::number(s.listFontSize);
    v[{"Font", "PanelColor"}] = s.panelColor;
    v[{"Font", "UserFont"}] = boolText(s.userFont);
    v[{"Key", "ActionOnC"}] = QString::number(s.actionOnC);

    // Per slot, the latest cycle whose favourite step is done.
    if (last >= 1) {
        const qint64 lastCycle = (last - 1) / period;
        for (int slot = 0; slot < favouriteSlotCount; ++slot) {
            if (lastCycle < slot)
                continue;
            const qint64 cycle = lastCycle - ((lastCycle - slot) % favouriteSlotCount);
            const qint64 fav = cycle * period + 1;
            const qint64 ren = fav + 1;
            v[{appGroup, nameKey(slot)}] = ren <= last ? renamedName(ren) : favouriteName(fav);
            v[{appGroup, runKey(slot)}] = favouriteRun(fav);
            v[{appGroup, iconKey(slot)}] = favouriteIcon(fav);
        }
    }
    return v;
}

// The step a file holds: the largest step number among its values, -1 when
// the plan has not written yet.
inline qint64 lastStepIn(const ZConfig& config)
{
    qint64 last = -1;
    bool ok = false;
    const qint64 store = config.readEntry(crashGroup, QStringLiteral("step")).toLongLong(&ok);
    if (ok)
        last = store;
    for (int slot = 0; slot < favouriteSlotCount; ++slot) {
        const QString name = config.readEntry(appGroup, nameKey(slot));
        const qsizetype blank = name.indexOf(QLatin1Char(' '));
        if (blank < 0)
            continue;
        const qint64 n = name.mid(blank + 1).toLongLong(&ok);
        if (ok && n > last)
            last = n;
    }
    return last;
}

// The writer's side: performs one step through the program's own code.
inline bool perform(qint64 step)
{
    switch (step % period) {
    case 0: {
        ZConfig config(configFilePath(), false);
        const SettingsValues s = settingsFor(step);
        config.writeEntry("General", "TimeInCaption", s.timeInCaption);
        config.writeEntry("General", "SendGoToIDLE", s.sendGoToIdle);
        config.writeEntry("Task", "ShowAllTask", s.showAllTask);
        config.writeEntry("Task", "FiltrProcList", s.filter);
        config.writeEntry("Font", "PanelFontSize", s.panelFontSize);
        config.writeEntry("Font", "ListFontSize", s.listFontSize);
        config.writeEntry("Font", "PanelColor", s.panelColor);
        config.writeEntry("Font", "UserFont", s.userFont);
        config.writeEntry("Key", "ActionOnC", s.actionOnC);
        for (int i = 0; i < crashKeys; ++i)
            config.writeEntry(crashGroup, QStringLiteral("k%1").arg(i), crashValue(step, i));
        // Last, so that a file whose step is new but whose keys are old
        // would show up as torn.
        config.writeEntry(crashGroup, QStringLiteral("step"), QString::number(step));
        return config.flush();
    }
    case 1:
        return writeFavourite(slotOf(step), favouriteName(step), favouriteRun(step), favouriteIcon(step));
    default:
        return renameFavourite(slotOf(step), renamedName(step));
    }
}

}  // namespace crashplan
