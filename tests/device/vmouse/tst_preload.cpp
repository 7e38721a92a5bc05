// tools/with-virtual-mouse runs an unchanged program, linked against the system's HID library, against
// the virtual mouse configured by the environment.
#include "VirtualMouse.h"

#include <QtTest>

#include <array>

namespace {

struct Run
{
    bool crashed = false;
    int exitCode = -1;
    QStringList lines;
    QString errors;
};

Run runProbe(const QStringList &env, const QString &requestHex, const QString &lib = VMOUSE_LIB,
             const QString &mode = {})
{
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("KC_VIRTUAL_MOUSE_LIB", lib);
    for (const QString &kv : env)
        e.insert(kv.section('=', 0, 0), kv.section('=', 1));
    p.setProcessEnvironment(e);
    p.start(QStringLiteral(KC_SOURCE_DIR "/tools/with-virtual-mouse"),
            QStringList({QStringLiteral(VMOUSE_PROBE), requestHex}) +
                (mode.isEmpty() ? QStringList() : QStringList{mode}));
    Run r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.crashed = p.exitStatus() == QProcess::CrashExit;
    r.exitCode = p.exitCode();
    r.lines = QString::fromLocal8Bit(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    r.errors = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

QString probeRequest(const std::string &code = {})
{
    std::array<std::uint8_t, 9> f{0, 0x00, 0x11, 0x22, 0x33, 0x44, 0, 0, 0};
    f[8] = vmouse::checksum(&f[1]);
    if (!code.empty())
        vmouse::scramble(&f[1], code);
    return QString::fromStdString(vmouse::toHex(f.data(), f.size()));
}

bool echoed(const Run &r, const std::string &code = {})
{
    const QString last = r.lines.isEmpty() ? QString() : r.lines.last();
    if (!last.startsWith("answer ") || last == "answer failed")
        return false;
    std::vector<std::uint8_t> a = vmouse::fromHex(last.mid(7).toStdString());
    if (a.size() != 9)
        return false;
    if (!code.empty())
        vmouse::unscramble(&a[1], code);
    return a[2] == 0x11 && a[3] == 0x22 && a[4] == 0x33 && a[5] == 0x44;
}

QJsonObject lastRecord(const QString &transcript)
{
    QFile t(transcript);
    if (!t.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = t.readAll().trimmed().split('\n');
    return QJsonDocument::fromJson(lines.last()).object();
}

} // namespace

class TestPreload : public QObject
{
    Q_OBJECT

private slots:
    void withoutPreloadThereIsNoMouse();
    void defaultMouse();
    void configuredByEnvironment();
    void scramblingMouse();
    void faultsFromEnvironment();
    void transcriptAndStateFiles();
    void missingLibraryIsReported();
    void doubleCloseIsCaught();
    void dlopenedLibraryIsNotReached();
};

void TestPreload::withoutPreloadThereIsNoMouse()
{
    QProcess p;
    p.start(QStringLiteral(VMOUSE_PROBE), {probeRequest()});
    QVERIFY(p.waitForFinished(30000));
    QVERIFY(!QString::fromLocal8Bit(p.readAllStandardOutput()).contains("hidraw-virtual"));
}

void TestPreload::defaultMouse()
{
    const Run r = runProbe({}, probeRequest());
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.lines.mid(0, 2), QStringList({"found /dev/hidraw-virtual-0 4b43 0001 ff00 ff00",
                                             "found /dev/hidraw-virtual-1 4b43 0001 ff01 ff01"}));
    QVERIFY2(echoed(r), qPrintable(r.lines.join('|')));
}

void TestPreload::configuredByEnvironment()
{
    const Run r =
        runProbe({"VIRTUAL_MOUSE_VID=1d57", "VIRTUAL_MOUSE_PID=0xfa60", "VIRTUAL_MOUSE_USAGE_PAGE=ff02",
                  "VIRTUAL_MOUSE_USAGE=0002", "VIRTUAL_MOUSE_EVENT_INTERFACE=0",
                  "VIRTUAL_MOUSE_PATH=/dev/hidraw-test", "VIRTUAL_MOUSE_FAMILY=560"},
                 probeRequest());
    QCOMPARE(r.lines.mid(0, 1), QStringList({"found /dev/hidraw-test 1d57 fa60 ff02 0002"}));
    QCOMPARE(r.lines.size(), 2);
    QVERIFY(echoed(r));
    QCOMPARE(runProbe({"VIRTUAL_MOUSE_PLUGGED=0"}, probeRequest()).lines, QStringList({"no device"}));
}

void TestPreload::scramblingMouse()
{
    const QStringList env = {"VIRTUAL_MOUSE_ENCODE=1", "VIRTUAL_MOUSE_SCODE=Q7w2E9"};
    QVERIFY(echoed(runProbe(env, probeRequest("Q7w2E9")), "Q7w2E9"));
    QVERIFY(!echoed(runProbe(env, probeRequest("739105")), "739105"));
    QVERIFY(!echoed(runProbe(env, probeRequest())));
    QVERIFY(!echoed(runProbe({}, probeRequest("739105")), "739105")); // a plain mouse
}

void TestPreload::faultsFromEnvironment()
{
    QCOMPARE(runProbe({"VIRTUAL_MOUSE_FAULTS=fail:hid_enumerate"}, probeRequest()).lines,
             QStringList({"no device"}));
    QCOMPARE(runProbe({"VIRTUAL_MOUSE_FAULTS=fail-next:hid_get_feature_report"}, probeRequest()).lines.last(),
             QStringLiteral("answer failed"));
    QVERIFY(!echoed(runProbe({"VIRTUAL_MOUSE_FAULTS=garbage"}, probeRequest())));
    const Run r =
        runProbe({"VIRTUAL_MOUSE_FAULTS=bogus,fail-next:hid_send_feature_report:1"}, probeRequest());
    QCOMPARE(r.lines.last(), QStringLiteral("answer failed"));
    QVERIFY(r.errors.contains("bogus"));
}

void TestPreload::transcriptAndStateFiles()
{
    QTemporaryDir dir;
    const QString transcript = dir.path() + "/t.jsonl";
    const QString state = dir.path() + "/s.json";
    runProbe({"VIRTUAL_MOUSE_TRANSCRIPT=" + transcript, "VIRTUAL_MOUSE_STATE=" + state}, probeRequest());
    QFile t(transcript);
    QVERIFY(t.open(QIODevice::ReadOnly));
    QStringList fns;
    for (const QByteArray &line : t.readAll().split('\n')) {
        if (!line.isEmpty())
            fns << QJsonDocument::fromJson(line).object().value("fn").toString();
    }
    QCOMPARE(fns, QStringList({"hid_enumerate", "hid_free_enumeration", "hid_open_path",
                               "hid_send_feature_report", "hid_get_feature_report", "hid_close"}));
    QFile s(state);
    QVERIFY(s.open(QIODevice::ReadOnly));
    const QJsonObject o = QJsonDocument::fromJson(s.readAll()).object();
    QCOMPARE(o.value("family").toInt(), 553);
    QCOMPARE(o.value("commands").toInt(), 1);

    // A second run appends to the transcript.
    runProbe({"VIRTUAL_MOUSE_TRANSCRIPT=" + transcript}, probeRequest());
    t.seek(0);
    QCOMPARE(t.readAll().count('\n'), 12);
}

void TestPreload::missingLibraryIsReported()
{
    const Run r = runProbe({}, probeRequest(), QStringLiteral("/nonexistent/libkc_virtual_mouse.so"));
    QCOMPARE(r.exitCode, 127);
    QVERIFY(r.errors.contains("not found"));
    QVERIFY(r.lines.isEmpty());
}

void TestPreload::doubleCloseIsCaught()
{
    QTemporaryDir dir;
    const QString transcript = dir.path() + "/t.jsonl";
    // Strict by default: the program stops at its second hid_close, as the real library's double free would.
    Run r = runProbe({"VIRTUAL_MOUSE_TRANSCRIPT=" + transcript}, probeRequest(), VMOUSE_LIB, "double-close");
    QVERIFY(r.crashed);
    QVERIFY(echoed(r));
    QVERIFY2(r.errors.contains("hid_close called with a handle that was already closed"),
             qPrintable(r.errors));
    QCOMPARE(lastRecord(transcript).value("fn").toString(), QStringLiteral("hid_close"));
    QCOMPARE(lastRecord(transcript).value("ret").toInt(), -1);

    // Not strict: recorded and reported, and the program goes on.
    r = runProbe({"VIRTUAL_MOUSE_TRANSCRIPT=" + transcript, "VIRTUAL_MOUSE_STRICT=0"}, probeRequest(),
                 VMOUSE_LIB, "double-close");
    QVERIFY(!r.crashed);
    QCOMPARE(r.lines.last(), QStringLiteral("closed twice"));
    QVERIFY(r.errors.contains("already closed"));
    QCOMPARE(lastRecord(transcript).value("ret").toInt(), -1);
}

// Preloading replaces the process's hidapi functions; a lookup through a handle of the library itself
// still finds the library's own, as the README says.
void TestPreload::dlopenedLibraryIsNotReached()
{
    const Run r = runProbe({}, QStringLiteral("dlopen"));
    QCOMPARE(r.exitCode, 0);
    QCOMPARE(r.lines, QStringList({"process: virtual", "dlopen: real"}));
}

QTEST_GUILESS_MAIN(TestPreload)
#include "tst_preload.moc"
