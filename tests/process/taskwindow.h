#pragma once

#include <QPixmap>
#include <QString>

class ZKestrel;
class ZListBox;
class ZListRowItem;

// The main window as the task-list tests use it: one window per test class,
// in daemon mode so that leaving only hides it, with the settings object and
// the language resources in place.
namespace taskwindow {

// Creates gSettings (once) and a fresh main window; settings back to their
// defaults.
ZKestrel* create();
// Deletes the window made by create().
void destroy(ZKestrel* window);
// Settings that the tests change, back to their defaults.
void resetSettings();
// Shows a window that a test made leave.
void bringBack(ZKestrel* window);

int rowOfPid(const ZListBox* list, int pid);
ZListRowItem* row(const ZListBox* list, int index);
// The row's text line, a null text when it has none.
QString rowText(const ZListBox* list, int index);
QPixmap rowIcon(const ZListBox* list, int index);
// The picture of the program's own folder (build/bin/img/...).
QPixmap builtIn(const QString& name);
bool samePicture(const QPixmap& a, const QPixmap& b);
}
