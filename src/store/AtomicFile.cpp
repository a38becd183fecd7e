#include "store/AtomicFile.h"

#include "store/StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::function<void(AtomicFile::Stage)> &faultHook()
{
    static std::function<void(AtomicFile::Stage)> hook;
    return hook;
}

void fault(AtomicFile::Stage stage)
{
    if (faultHook())
        faultHook()(stage);
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool writeAll(int fd, const QByteArray &data)
{
    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

void syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

namespace AtomicFile {

void setFaultHook(std::function<void(Stage)> hook) { faultHook() = std::move(hook); }

void write(const QString &path, const QByteArray &data)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
    QByteArray templ = QFile::encodeName(folder + QLatin1Char('/') + info.fileName() + QStringLiteral(".tmp-XXXXXX"));
    const int fd = ::mkstemp(templ.data());
    if (fd < 0)
        throw StoreError(QStringLiteral("Cannot write %1: %2").arg(path, systemError()));
    const QString tempPath = QFile::decodeName(templ);
    bool open = true;
    try {
        fault(Stage::TempCreated);
        if (!writeAll(fd, data) || ::fsync(fd) != 0)
            throw StoreError(QStringLiteral("Cannot write %1: %2").arg(path, systemError()));
        fault(Stage::DataWritten);
        ::fchmod(fd, 0644);
        open = false;
        if (::close(fd) != 0)
            throw StoreError(QStringLiteral("Cannot write %1: %2").arg(path, systemError()));
        fault(Stage::BeforeRename);
    } catch (...) {
        if (open)
            ::close(fd);
        QFile::remove(tempPath);
        throw;
    }
    if (::rename(templ.constData(), QFile::encodeName(path).constData()) != 0) {
        const QString why = systemError();
        QFile::remove(tempPath);
        throw StoreError(QStringLiteral("Cannot write %1: %2").arg(path, why));
    }
    syncFolder(folder);
}

} // namespace AtomicFile
