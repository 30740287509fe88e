#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace zk::proc {

// Java MIDlets in the task list: the virtual machine's command line names the
// MIDlet by its index after "-launch"; its icon lies in the MIDlet's folder
// and its name in the Java catalogue.

// The command line of a MIDlet run by the virtual machine contains "kvm".
bool isJavaCmdline(const QString& cmdline);

// The MIDlet id: the word after "-launch" (blanks skipped), zero-padded to
// five characters ("37" gives "00037"). A null QString when the command line
// has no "-launch".
QString midletId(const QString& cmdline);

// The MIDlet's icon files, in the order they are tried: the memory card's
// Java folder (only when there is one), DownloadApps, SystemApps; as real
// paths (devicePath). Empty for an id that could leave the MIDlet folders.
QStringList midletIconCandidates(const QString& id, const QString& javaFolderInSD);

// The first candidate that exists; the last one is taken without a test.
// Logs "LoadIMG: " + the path chosen. Null when there is no candidate.
QString midletIconPath(const QString& id, const QString& javaFolderInSD);

// The key of the Java catalogue for an id: its decimal value without
// leading zeros ("00037" gives "37", "00000" gives "0").
QString midletNameKey(const QString& id);

// The text of a MIDlet's row: its catalogue name, or "Java ID:'<id>'" when
// the catalogue has none, decoded from the catalogue's byte-per-character
// form (see decodeCatalogueText).
QString midletRowText(const QString& id, const QMap<QString, QString>& javaNames);

// The Java catalogue keeps the UTF-8 bytes of a name one byte per character;
// this reads them as UTF-8 again. A text that is not such a form (a
// character above 0xFF, or bytes that are not valid UTF-8) is returned
// unchanged rather than mangled.
QString decodeCatalogueText(const QString& text);

}  // namespace zk::proc
