#pragma once

#include <QPixmap>
#include <QString>

// The program's folder with a trailing "/": the settings object's, or,
// before there is one, the executable's own folder.
QString programFolder();

// A picture from the program's folder, such as "/img/info.png"; empty when
// the file is missing.
QPixmap programPicture(const QString& path);
