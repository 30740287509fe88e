#pragma once

#include "catalogue/javaindex.h"
#include "catalogue/registry.h"

#include <QHash>
#include <QPixmap>
#include <QString>

#include <memory>

namespace zk::proc {

// What one row of the task list shows for a task, apart from the list box:
// its icon and its line of text.

// Where the rows take their icons and names from (the settings object's
// catalogue and folder).
struct RowSources
{
    QString appDir;  // the program's folder, trailing "/"
    const IconCatalogue* icons = nullptr;
    const JavaNames* javaNames = nullptr;
    QString javaFolderInSD;  // null when the card has none
    // The program's own pictures once loaded, shared by the rows of one
    // scan; null: each row loads its own.
    std::shared_ptr<QHash<QString, QPixmap>> pictures;
};

struct TaskRowLook
{
    QPixmap icon;
    QString text;
    // A MIDlet whose command line has no "-launch" gets no text line at all.
    bool hasText = true;
};

// Largest icon side in a row; bigger catalogue icons are scaled down.
inline constexpr int kRowIconSize = 19;

// The look of a task's row. `text` is what the scanner hands over: the short
// name of a task with a window, the whole command line of one without.
//  - no window: /img/sh.png and the short name of the command line;
//  - Java MIDlet ("kvm"): the MIDlet's own icon (or /img/java.png) and its
//    catalogue name (or "Java ID:'<id>'");
//  - any other task: the icon and name of the first registry entry that fits
//    its name (or /img/app.png and the task's name).
TaskRowLook taskRowLook(const QString& text, bool noWindow, const RowSources& sources);

// The icon of a registry entry: a resource icon for a name ending in ".g",
// else the picture file at that phone path (looked up below the device
// root). Null when it cannot be loaded.
QPixmap registryIcon(const QString& icon);

}  // namespace zk::proc
