#pragma once

#include <QString>

namespace zk::proc {

// Names the task list gives to tasks, and which tasks it shows.

// The short name of a task from its command line: a Java MIDlet (the text
// contains "kvm") keeps its whole command line; otherwise a dynamic loader in
// front of the program is dropped, then the arguments, then the folders:
// "/lib/ld-linux.so.2 /mmc/mmca1/app/app -x" is "app", and so is
// "/lib/ld-linux.so.2 ./app".
QString getProcName(const QString& cmdline);

// True when a task of that name is listed. With showAllTask false the name is
// hidden when "!" + name + "!" occurs in filterList; with it true only the
// program itself (a name containing "zKestrel") is hidden.
bool checkProcFilter(const QString& name, bool showAllTask, const QString& filterList);

// True when the command line runs a program from a user-application folder
// (installed programs, downloads, the memory card).
bool isUserApp(const QString& cmdline);

}  // namespace zk::proc
