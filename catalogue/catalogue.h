#pragma once

#include "catalogue/javaindex.h"
#include "catalogue/registry.h"

// Rebuilds both lookup tables from the phone's files (below the device
// root): the icons from the memory card's registry, then the system's (which
// wins); the Java names from the memory card's index in javaFolder (when not
// null), then the phone memory's (which wins). Logs "Build list of icon" and
// "Build list of java name" before each table.
void fillCatalogue(const QString& javaFolder, IconCatalogue& icons, JavaNames& names);

// Where the memory card keeps the Java index of the given Java folder.
QString cardJavaIndexPath(const QString& javaFolder);
