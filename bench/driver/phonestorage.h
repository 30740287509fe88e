#pragma once

#include <QString>

// A phone's storage with many installed applications, written below root:
// the three registries (the memory card's, the system's, the installed
// one's), their icon files and a Java index. Applications are spread over
// the registries a quarter, a half and a quarter; their icons are a mix of
// the framework's resource icons, files of their own (absolute, relative to
// their folder, or "BigIcon" only), files several applications share, and
// files that are missing.
struct StorageFigures
{
    int applications = 0;
    int iconFiles = 0;      // picture files written
    int catalogueable = 0;  // entries of the two registries the catalogue reads, not MIDlets
};

StorageFigures writePhoneStorage(const QString& root, int applications);
