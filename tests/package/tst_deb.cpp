// The Debian package made with cpack from the configured build: what it holds, what it depends on,
// and that its desktop entry and metainfo pass the desktop's own validators.
#include "Command.h"

#include <QDirIterator>
#include <QImageReader>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestDeb : public QObject
{
    Q_OBJECT

    QTemporaryDir m_tmp;
    QString m_deb;
    QString m_root;                   // the package unpacked
    QMap<QString, QString> m_entries; // path ("usr/bin/…") -> dpkg-deb's line for it

    QString field(const QString &name) const
    {
        const CommandResult r = runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), m_deb, name});
        return r.code == 0 ? r.output.trimmed() : QString();
    }
    QString onlyFile(const QString &folder, const QString &pattern) const
    {
        const QStringList found = QDir(m_root + folder).entryList({pattern}, QDir::Files);
        return found.size() == 1 ? m_root + folder + QLatin1Char('/') + found.first() : QString();
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"cpack", "dpkg-deb", "dpkg-shlibdeps", "file"}) {
            if (!hasCommand(QLatin1String(tool)))
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (scripts/install-deps.sh)").arg(tool)));
        }
        QVERIFY(m_tmp.isValid());
        const CommandResult made = runCommand(
            QStringLiteral("cpack"),
            {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
             QStringLiteral(KC_BINARY_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), m_tmp.path()},
            QProcessEnvironment::systemEnvironment(), 120000);
        QVERIFY2(made.code == 0, qPrintable(made.output));
        m_deb = m_tmp.filePath(QStringLiteral("kestral-config_" KC_PROJECT_VERSION "_amd64.deb"));
        if (!QFileInfo::exists(m_deb)) {
            const QStringList debs = QDir(m_tmp.path()).entryList({QStringLiteral("*.deb")});
            QCOMPARE(debs.size(), 1);
            m_deb = m_tmp.filePath(debs.first());
        }

        const CommandResult list = runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), m_deb});
        QVERIFY2(list.code == 0, qPrintable(list.output));
        for (const QString &line : list.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch m =
                QRegularExpression(QStringLiteral(" \\./(\\S*?)/?( -> .*)?$")).match(line);
            if (m.hasMatch() && !m.captured(1).isEmpty())
                m_entries.insert(m.captured(1), line);
        }
        m_root = m_tmp.filePath(QStringLiteral("root"));
        const CommandResult unpacked =
            runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), m_deb, m_root});
        QVERIFY2(unpacked.code == 0, qPrintable(unpacked.output));
    }

    void controlFields()
    {
        QCOMPARE(field(QStringLiteral("Package")), QStringLiteral("kestral-config"));
        QCOMPARE(field(QStringLiteral("Version")), QStringLiteral(KC_PROJECT_VERSION));
        const QStringList depends = field(QStringLiteral("Depends")).split(QStringLiteral(", "));
        const auto names = [&] {
            QStringList n;
            for (const QString &d : depends)
                n << d.section(QLatin1Char(' '), 0, 0);
            return n;
        }();
        // From the binaries, and the scene's modules no binary names.
        for (const char *wanted :
             {"libhidapi-hidraw0", "libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6quick6",
              "libqt6quickwidgets6", "libqt6network6", "libudev1", "qml6-module-qtquick", "qml6-module-qtqml",
              "qml6-module-qtqml-workerscript"})
            QVERIFY2(names.contains(QLatin1String(wanted)),
                     qPrintable(wanted + QStringLiteral(" in ") + names.join(',')));
    }

    // The program, its defaults and the desktop's files, and nothing of the tests.
    void contents()
    {
        const QString app = QStringLiteral("usr/lib/kestral-config/");
        QVERIFY2(m_entries.value(QStringLiteral("usr/bin/kestral-config"))
                     .contains(QStringLiteral("-> ../lib/kestral-config/kestral-config")),
                 qPrintable(m_entries.value(QStringLiteral("usr/bin/kestral-config"))));
        QVERIFY(
            m_entries.value(app + QStringLiteral("kestral-config")).startsWith(QStringLiteral("-rwxr-xr-x")));
        QVERIFY(m_entries.contains(app + QStringLiteral("kestral-config.installed")));
        QVERIFY(m_entries.contains(app + QStringLiteral("modules/macro")));
        const QString defaults = QStringLiteral(KC_INSTALLATION_DIR "/modules");
        QDirIterator it(defaults, QDir::Files, QDirIterator::Subdirectories);
        int count = 0;
        while (it.hasNext()) {
            const QString relative = QDir(defaults).relativeFilePath(it.next());
            QVERIFY2(m_entries.contains(app + QStringLiteral("modules/") + relative), qPrintable(relative));
            ++count;
        }
        QVERIFY(count >= 15);
        QVERIFY(m_entries.contains(QStringLiteral("usr/lib/udev/rules.d/70-kestral-config.rules")));
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString icon =
                QStringLiteral("usr/share/icons/hicolor/%1x%1/apps/kestral-config.png").arg(size);
            QVERIFY2(m_entries.contains(icon), qPrintable(icon));
            QCOMPARE(QImageReader(m_root + QLatin1Char('/') + icon).size(), QSize(size, size));
        }

        const QStringList allowed{QStringLiteral("usr/bin/kestral-config"),
                                  app,
                                  QStringLiteral("usr/lib/udev/"),
                                  QStringLiteral("usr/share/applications/"),
                                  QStringLiteral("usr/share/icons/hicolor/"),
                                  QStringLiteral("usr/share/metainfo/")};
        for (const QString &path : m_entries.keys()) {
            const bool isFolder = m_entries.value(path).startsWith(QLatin1Char('d'));
            bool known =
                isFolder && (path == QLatin1String("usr") || path == QLatin1String("usr/bin") ||
                             path == QLatin1String("usr/lib") || path == QLatin1String("usr/share") ||
                             path == QLatin1String("usr/share/icons"));
            for (const QString &prefix : allowed)
                known = known || path.startsWith(prefix) || (isFolder && prefix == path + QLatin1Char('/'));
            QVERIFY2(known, qPrintable(path));
            QVERIFY2(!path.contains(QStringLiteral("virtual_mouse")) &&
                         !path.contains(QStringLiteral("tst_")),
                     qPrintable(path));
        }

        // The installed program must not look for libraries in the build folder.
        if (hasCommand(QStringLiteral("readelf"))) {
            const CommandResult dyn = runCommand(
                QStringLiteral("readelf"), {QStringLiteral("-d"), m_root + QStringLiteral("/") + app +
                                                                      QStringLiteral("kestral-config")});
            QCOMPARE(dyn.code, 0);
            QVERIFY2(!dyn.output.contains(QStringLiteral("RPATH")) &&
                         !dyn.output.contains(QStringLiteral("RUNPATH")),
                     qPrintable(dyn.output));
        }
    }

    void desktopEntryAndMetainfoValidate()
    {
        const QString desktop =
            onlyFile(QStringLiteral("/usr/share/applications"), QStringLiteral("*.desktop"));
        const QString metainfo =
            onlyFile(QStringLiteral("/usr/share/metainfo"), QStringLiteral("*.metainfo.xml"));
        QVERIFY(!desktop.isEmpty());
        QVERIFY(!metainfo.isEmpty());

        QSettings entry(desktop, QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("Exec")).toString(), QStringLiteral("kestral-config"));
        QVERIFY(QFileInfo::exists(m_root + QStringLiteral("/usr/share/icons/hicolor/48x48/apps/") +
                                  entry.value(QStringLiteral("Icon")).toString() + QStringLiteral(".png")));

        QFile xml(metainfo);
        QVERIFY(xml.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(xml.readAll());
        QVERIFY2(
            text.contains(QStringLiteral("<launchable type=\"desktop-id\">") + QFileInfo(desktop).fileName()),
            qPrintable(text));
        QVERIFY2(text.contains(
                     QRegularExpression(QStringLiteral("<image[^>]*>https://[^<]+/window\\.png</image>"))),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("version=\"" KC_PROJECT_VERSION "\"")));

        if (!hasCommand(QStringLiteral("desktop-file-validate")) ||
            !hasCommand(QStringLiteral("appstreamcli")))
            QSKIP("desktop-file-validate or appstreamcli is not installed (scripts/install-deps.sh)");
        const CommandResult d = runCommand(QStringLiteral("desktop-file-validate"), {desktop});
        QVERIFY2(d.code == 0 && d.output.trimmed().isEmpty(), qPrintable(d.output));
        const CommandResult a =
            runCommand(QStringLiteral("appstreamcli"),
                       {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
        QVERIFY2(a.code == 0, qPrintable(a.output));
    }

    // The maintainer scripts exist to let udev apply the rule; where udev does not run they stay quiet.
    void maintainerScriptsAreQuietWithoutUdev()
    {
        const QString control = m_tmp.filePath(QStringLiteral("control"));
        const CommandResult e =
            runCommand(QStringLiteral("dpkg-deb"), {QStringLiteral("-e"), m_deb, control});
        QVERIFY2(e.code == 0, qPrintable(e.output));
        QProcessEnvironment env;
        env.insert(QStringLiteral("PATH"), m_tmp.filePath(QStringLiteral("empty-path")));
        for (const char *script : {"postinst", "postrm"}) {
            const QString path = control + QLatin1Char('/') + QLatin1String(script);
            QVERIFY(QFileInfo(path).isExecutable());
            const CommandResult r =
                runCommand(QStringLiteral("/bin/sh"), {path, QStringLiteral("configure")}, env);
            QCOMPARE(r.code, 0);
            QCOMPARE(r.output, QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestDeb)
#include "tst_deb.moc"
