#pragma once

#include <QByteArray>
#include <QString>

struct stat;

// One turn at replacing a file whole or not at all. Taking the turn locks
// path + ".tmp" (one fixed name beside the target); while it is held no
// other writer of the same file replaces it, so a writer can read the file,
// change it and write it back without losing what another wrote meanwhile.
// commit() writes the data into the temporary file, syncs it, renames it
// over the target and syncs the folder. A symbolic link at path is
// followed: its target is replaced. The target's permissions are kept.
//
// The temporary file has one fixed name so that a writer killed half-way
// leaves at most that one file, which the next turn takes over, instead of
// a new stray copy per crash.
class FileReplacement
{
public:
    // Waits for the turn; locked() says whether it was had.
    explicit FileReplacement(const QString& path);
    // A turn not committed gives up: the temporary file goes, the target
    // stays as it was.
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool locked() const { return m_fd >= 0; }
    // Why the turn could not be had, or why commit() failed.
    QString error() const { return m_error; }
    // The file that is replaced: path with its links followed.
    QString target() const { return m_target; }

    // False on failure, with the reason in error(); the target is then as it
    // was. Ends the turn either way. written, when given, gets the new
    // file's status as it was renamed into place (before any other writer
    // could replace it).
    bool commit(const QByteArray& data, struct stat* written = nullptr);

private:
    void giveUp();

    QString m_target;
    QByteArray m_tempName;
    QString m_error;
    int m_fd = -1;
};

// A whole file written in one turn; false with the reason in *error.
bool writeFileAtomically(const QString& path, const QByteArray& data, QString* error);

// The name of the temporary file FileReplacement uses for path.
QString atomicTemporaryPath(const QString& path);
