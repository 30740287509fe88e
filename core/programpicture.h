#pragma once

#include <QPixmap>
#include <QString>

// A picture from the program's folder, such as "/img/info.png"; empty when
// the file is missing or there is no settings object (which knows the
// folder) yet.
QPixmap programPicture(const QString& path);
