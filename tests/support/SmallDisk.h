// Small file systems for tests of full and read-only disks: a tmpfs of a few kilobytes mounted in a
// mount namespace of the test process's own, so the machine's mounts are never touched and nothing is
// left mounted when the test ends, however it ends.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTest>

class SmallDisk
{
public:
    // Call first thing in main(), while the process has a single thread. Needs root (permission to
    // mount); false when the process cannot have mounts of its own.
    static bool enterPrivateMounts();
    static bool canMount();

    // Mounts an empty tmpfs of `kilobytes` on the folder `dir` (made when missing).
    explicit SmallDisk(const QString &dir, int kilobytes = 64);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool isMounted() const { return m_mounted; }
    // Takes every free byte but `leave` with one filler file; free() gives it back.
    bool fill(qint64 leave = 0);
    void free();
    bool makeReadOnly();

private:
    QString m_dir;
    bool m_mounted = false;
};

// main() of a test with small-disk cases: the private mounts come before any thread exists (without
// them those cases are skipped), then the test runs as under QTEST_GUILESS_MAIN.
#define SMALL_DISK_TEST_MAIN(TestObject)                                                                     \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        SmallDisk::enterPrivateMounts();                                                                     \
        QCoreApplication app(argc, argv);                                                                    \
        TestObject tc;                                                                                       \
        QTEST_SET_MAIN_SOURCE_PATH                                                                           \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
