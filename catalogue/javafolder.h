#pragma once

#include <QString>

// The memory card's system folder, which holds the Java folder.
inline constexpr const char* cardSystemPath = "/mmc/mmca1/.system";

// The name of the first entry of the folder at folderPath (a real path), in
// the order the folder lists them, whose name contains "java_" anywhere; a
// null text when there is none or the folder cannot be opened. Logs
// "getJavaFolderInSD()", then "Can't open SD Card" when the folder cannot be
// opened, and "JavaFolderInSD: " with the name or "not found".
QString findJavaFolder(const QString& folderPath);
