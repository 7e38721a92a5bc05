// What the settings files make the person know reaches the window: a box on it while it is open, a
// tray balloon while it is hidden, once per cause, and start-up goes on as before.
#include "AppTestSupport.h"
#include "RunningWindow.h"
#include "SettingsNotice.h"
#include "StartUpBench.h"
#include "platform/RecordingInstanceChannel.h"

#include <QApplication>
#include <QMessageBox>
#include <QtTest>

namespace {

QList<QMessageBox *> boxesOn(Widget *widget)
{
    QList<QMessageBox *> boxes;
    for (QMessageBox *box : widget->findChildren<QMessageBox *>()) {
        if (box->isVisible())
            boxes << box;
    }
    return boxes;
}

} // namespace

class TestSettingsNotice : public QObject, StartUpBench
{
    Q_OBJECT

private:
    int run()
    {
        RecordingInstanceChannel channel;
        return startUp(channel);
    }

private slots:
    void init()
    {
        setUp();
        SettingsNotice::instance().clear();
        tray.messages.clear();
    }
    void cleanup() { tearDown(); }

    // A damaged global file: the device table still read as far as it goes, and the person told on the
    // window, with where the damaged file was kept.
    void damagedGlobalFileShownOnTheWindow()
    {
        {
            QFile global(inst->globalSettings());
            QVERIFY(global.open(QIODevice::Append));
            global.write("a line the settings library cannot read\n");
        }
        MessageLog log;
        QStringList texts;
        bool modalToTheWindow = false;
        whenRunning([&] {
            Widget *w = mainWidget();
            const auto quit = qScopeGuard([w] { w->exitSYS(); });
            QTRY_VERIFY(!boxesOn(w).isEmpty());
            for (QMessageBox *box : boxesOn(w)) {
                texts << box->text();
                modalToTheWindow = box->windowModality() == Qt::WindowModal && box->parent() == w &&
                                   box->windowTitle() == QLatin1String("Kestral Config");
                box->accept();
            }
        });
        QCOMPARE(run(), 0);
        const QString file = QDir(inst->path()).canonicalPath() + "/modules/setting/apConfig.bin";
        QCOMPARE(texts, QStringList{SettingsNotice::damagedGlobalFileText(file, file + ".bad")});
        QVERIFY(texts.first().contains(file + ".bad"));
        QVERIFY(modalToTheWindow);
        QVERIFY(QFileInfo::exists(inst->globalSettings() + ".bad"));
        QCOMPARE(log.count("Device Connect"), 1);
        QCOMPARE(tray.messages.size(), 1); // "Detect Device" only
    }

    // Settings that cannot be saved, while the window is hidden in the tray: one balloon, however often.
    void cannotSaveWhileHiddenGoesToTheTrayOnce()
    {
        int boxes = -1;
        whenRunning([&] {
            Widget *w = mainWidget();
            w->hide();
            SettingsNotice::instance().cannotSave(QStringLiteral("./modules/setting/p1.bin"));
            SettingsNotice::instance().cannotSave(QStringLiteral("./modules/setting/p2.bin"));
            QTimer::singleShot(50, qApp, [&, w] {
                boxes = boxesOn(w).size();
                w->exitSYS();
            });
        });
        QCOMPARE(run(), 0);
        QCOMPARE(boxes, 0);
        QCOMPARE(tray.messages.size(), 2);
        const RecordingTrayNotifier::Message &m = tray.messages.last();
        QCOMPARE(m.text, SettingsNotice::cannotSaveText(QDir(inst->path()).canonicalPath() +
                                                        "/modules/setting/p1.bin"));
        QCOMPARE(m.icon, QSystemTrayIcon::Warning);
        QCOMPARE(m.title, QStringLiteral("Kestral Config"));
    }
};

QTEST_MAIN(TestSettingsNotice)
#include "tst_settings_notice.moc"
