#include "UnpackFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int error)
{
    return qt_error_string(error);
}

// Writes all of bytes to fd, going on after short writes.
bool writeAll(int fd, const QByteArray &bytes, int &error)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

UnpackFolder::~UnpackFolder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString UnpackFolder::filePath(const QString &fileName) const
{
    return QDir(m_path).filePath(fileName);
}

bool UnpackFolder::open(const QString &path, QString &error)
{
    // "dir/" would make the system follow a link named dir; the name is looked at without it.
    m_path = QDir::cleanPath(path);
    const QByteArray native = QFile::encodeName(m_path);
    struct stat status {};
    if (::lstat(native.constData(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            error = QStringLiteral("\"%1\" is a symbolic link; unpack writes only into a folder given by its own "
                                   "path (nothing written)")
                        .arg(path);
            return false;
        }
        if (!S_ISDIR(status.st_mode)) {
            error = QStringLiteral("\"%1\" exists and is no folder (nothing written)").arg(path);
            return false;
        }
    } else if (errno != ENOENT || !QDir().mkpath(m_path)) {
        error = QStringLiteral("cannot make the folder \"%1\"").arg(path);
        return false;
    }
    // O_NOFOLLOW: a link put in the folder's place since the look above is refused, not followed.
    m_fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0) {
        const int failure = errno;
        error = failure == ELOOP || failure == ENOTDIR
            ? QStringLiteral("\"%1\" is no longer a folder of its own (nothing written)").arg(path)
            : QStringLiteral("cannot open the folder \"%1\": %2").arg(path, systemError(failure));
        return false;
    }
    return true;
}

bool UnpackFolder::mayWrite(const QString &fileName, QString &error) const
{
    struct stat status {};
    if (::fstatat(m_fd, QFile::encodeName(fileName).constData(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
        const int failure = errno;
        if (failure == ENOENT)
            return true;
        error = QStringLiteral("cannot look at %1: %2").arg(filePath(fileName), systemError(failure));
        return false;
    }
    if (S_ISLNK(status.st_mode)) {
        error = QStringLiteral("%1 is a symbolic link; unpack does not write through links (nothing written)")
                    .arg(filePath(fileName));
        return false;
    }
    if (!S_ISREG(status.st_mode)) {
        error = QStringLiteral("%1 exists and is no regular file (nothing written)").arg(filePath(fileName));
        return false;
    }
    return true;
}

bool UnpackFolder::write(const QString &fileName, const QByteArray &bytes, QString &error) const
{
    const auto fail = [&](int failure) {
        error = QStringLiteral("cannot write %1: %2").arg(filePath(fileName), systemError(failure));
        return false;
    };

    // A new file of our own: O_EXCL never opens anything that is there already, link or not.
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = QFile::encodeName(QStringLiteral(".%1.%2.part")
                                          .arg(fileName)
                                          .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
        fd = ::openat(m_fd, temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return fail(errno);
    }
    if (fd < 0)
        return fail(EEXIST);

    int failure = 0;
    const bool written = writeAll(fd, bytes, failure);
    if (::close(fd) != 0 && written)
        failure = errno;
    // rename() replaces the name itself: whatever is at fileName now, a link included, is never
    // followed.
    if (failure == 0 && ::renameat(m_fd, temporary.constData(), m_fd, QFile::encodeName(fileName).constData()) == 0)
        return true;
    if (failure == 0)
        failure = errno;
    ::unlinkat(m_fd, temporary.constData(), 0);
    return fail(failure);
}
