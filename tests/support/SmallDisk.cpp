// Small tmpfs mounts in a mount namespace of the test process's own.
#include "SmallDisk.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

bool g_privateMounts = false;

QString fillerPath(const QString &dir)
{
    return dir + QStringLiteral("/.filler");
}

} // namespace

bool SmallDisk::enterPrivateMounts()
{
    if (g_privateMounts)
        return true;
    if (geteuid() != 0 || unshare(CLONE_NEWNS) != 0)
        return false;
    // Mounts made from here on stay in this process (and its children).
    g_privateMounts = mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return g_privateMounts;
}

bool SmallDisk::canMount()
{
    return g_privateMounts;
}

SmallDisk::SmallDisk(const QString &dir, int kilobytes) : m_dir(dir)
{
    if (!g_privateMounts || !QDir().mkpath(dir))
        return;
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    m_mounted = mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        umount2(QFile::encodeName(m_dir).constData(), MNT_DETACH);
}

bool SmallDisk::fill(qint64 leave)
{
    const int fd = ::open(QFile::encodeName(fillerPath(m_dir)).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'x');
    // Whole blocks first, then what is left of a partly used one.
    for (int size : {4096, 1}) {
        while (::write(fd, block.constData(), size_t(size)) == size) {
        }
    }
    const bool full = errno == ENOSPC;
    const bool left = leave == 0 || ftruncate(fd, lseek(fd, 0, SEEK_END) - leave) == 0;
    ::close(fd);
    return full && left;
}

void SmallDisk::free()
{
    QFile::remove(fillerPath(m_dir));
}

bool SmallDisk::makeReadOnly()
{
    return m_mounted && mount(nullptr, QFile::encodeName(m_dir).constData(), nullptr, MS_REMOUNT | MS_RDONLY,
                              nullptr) == 0;
}
