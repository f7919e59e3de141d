#pragma once

#include <QByteArray>
#include <QString>

// The folder unpack writes into, written so that nothing lands outside it. The folder is opened
// once, never through a symbolic link, and every file is made under a new name of its own in it
// (O_CREAT | O_EXCL | O_NOFOLLOW) and then renamed over its place. A symbolic link, or anything
// that is not a regular file, where a file is to go is refused before anything is written; an
// existing regular file is replaced (a hard link to it elsewhere keeps its old content).
//
// Only the folder itself must not be a link: the folders on the way to it are the caller's to
// choose. A missing folder is made, with any missing folders on its way.
class UnpackFolder {
public:
    UnpackFolder() = default;
    ~UnpackFolder();
    UnpackFolder(const UnpackFolder &) = delete;
    UnpackFolder &operator=(const UnpackFolder &) = delete;

    // Makes the folder when missing and opens it; false with a message when it is a symbolic
    // link, no folder, or cannot be made or opened.
    bool open(const QString &path, QString &error);
    // Whether fileName may be written: it is not there, or is a regular file (not a link).
    bool mayWrite(const QString &fileName, QString &error) const;
    // Writes bytes as fileName: a new file under a temporary name, renamed over fileName once
    // complete. On failure the temporary file is removed and fileName is as it was.
    bool write(const QString &fileName, const QByteArray &bytes, QString &error) const;

    // The path of fileName in the folder, as messages give it.
    QString filePath(const QString &fileName) const;

private:
    QString m_path;
    int m_fd = -1;
};
