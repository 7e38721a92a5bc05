// Keys typed on the X server reach the scene only while an input waits for them: nothing while no
// capture runs (before, between and after captures), the keys of a macro recording and of a
// combination capture once they have started.
#include "Journey.h"

#include <QSettings>
#include <QtTest>

class TestCaptureJourney : public QObject
{
    Q_OBJECT

    std::unique_ptr<Journey> run;

    bool clickItem(const QString &path)
    {
        const QRect r = run->rect(path);
        return r.isValid() && run->click(r.center());
    }

    bool waitFor(const QString &path, const QString &expression)
    {
        return run->waitUntil([&] { return run->eval(path, expression).toBool(); });
    }

    // How often the scene's captured-key signal has fired since the counter was attached.
    int keySignals() { return run->ask("prop keySignalCounter count").toInt(-1); }

    QStringList storedSteps(const QString &macro) const
    {
        QSettings file(run->installation().path() + "/modules/macro/" + macro + ".bin", QSettings::IniFormat);
        QStringList steps;
        const int total = file.value("config/total").toInt();
        for (int i = 0; i < total; ++i) {
            const QVariant v = file.value(QStringLiteral("macro/%1").arg(i));
            steps << (v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(',')
                                                                  : v.toString());
        }
        return steps;
    }

private slots:
    void initTestCase()
    {
        if (!Journey::toolsPresent())
            QSKIP("Xvfb or xdotool missing");
        run = std::make_unique<Journey>();
        QVERIFY2(run->launch({{"mouse/icType", "553"}, {"mouse/profileNo", 0}, {"mouse/keyCount", 8}}),
                 qPrintable(run->error()));
        // A counter beside the scene, bumped by every captured key the root re-emits.
        QVERIFY2(run->eval(".", "(function() {"
                                "  var c = Qt.createQmlObject('import QtQml\\nQtObject {"
                                "    objectName: \"keySignalCounter\"; property int count: 0 }',"
                                "    mainIten, 'keySignalCounter');"
                                "  mainIten.msg_KB.connect(function() { c.count += 1; });"
                                "  return true; })()")
                     .toBool(),
                 qPrintable(run->error()));
        QCOMPARE(keySignals(), 0);
    }

    void cleanupTestCase()
    {
        if (run)
            QCOMPARE(run->stop(), 0);
    }

    // Keys before a recording reach nothing; the recording gets exactly its own key. The recording's
    // key is the marker: captured keys arrive in order, so any earlier key would be counted first.
    void onlyTheRecordingsKeysArrive()
    {
        QVERIFY(run->key("q"));
        QVERIFY(run->key("z"));
        QVERIFY(clickItem("macroEditorBtn"));
        QVERIFY(waitFor("macroEditorMain", "visible"));
        QVERIFY(run->key("q"));
        QVERIFY(clickItem("macroEditorMain/newButton"));
        QVERIFY(waitFor("macroEditorMain", "canEdit"));
        const QString macro = run->eval("macroEditorMain", "selectedName").toString();
        QVERIFY(!macro.isEmpty());
        QVERIFY(run->key("z"));

        QVERIFY(clickItem("macroEditorMain/recordButton"));
        QVERIFY(waitFor("macroEditorMain", "isInputting"));
        QVERIFY(run->key("a"));
        QVERIFY(waitFor("macroEditorMain", "stepModel.count >= 2"));
        QVERIFY(clickItem("macroEditorMain/recordButton"));
        QVERIFY(waitFor("macroEditorMain", "!isInputting"));

        QCOMPARE(keySignals(), 2);
        QVERIFY(run->waitUntil([&] { return storedSteps(macro).size() == 2; }));
        QCOMPARE(storedSteps(macro), QStringList({"1,A", "2,A"}));
    }

    // Keys after the recording stopped, after the editor closed, and with the assignment dialog open
    // but no input waiting reach nothing; the combination capture that follows gets its own key.
    void nothingBetweenCaptures()
    {
        const int before = keySignals();
        const QString macro = run->eval("macroEditorMain", "selectedName").toString();
        QVERIFY(run->key("x"));
        QVERIFY(clickItem("macroEditorMain/closeButton"));
        QVERIFY(waitFor(".", "!macroEditorMain.visible && !mainMask.visible"));
        QVERIFY(run->key("w"));

        QVERIFY(clickItem("keyMatrixMain/keyRow1"));
        QVERIFY(waitFor("keyAssigmentMain", "visible && selectKey === 1"));
        QVERIFY(clickItem("keyAssigmentMain/kind2"));
        QVERIFY(waitFor("keyAssigmentMain", "viewKind === 2"));
        QVERIFY(run->key("y"));
        QVERIFY(clickItem("keyAssigmentMain/comboField"));
        QVERIFY(waitFor("keyAssigmentMain", "captureIndex === 1"));
        QVERIFY(run->key("b"));
        QVERIFY2(waitFor("keyAssigmentMain", "comboFieldText === 'B'"),
                 qPrintable(run->eval("keyAssigmentMain", "comboFieldText").toString()));
        QCOMPARE(keySignals(), before + 2);

        QVERIFY(clickItem("keyAssigmentMain/comboCancel"));
        QVERIFY(waitFor("keyAssigmentMain", "captureIndex === -1"));
        QVERIFY(clickItem("keyAssigmentMain/closeButton"));
        QVERIFY(waitFor(".", "!keyAssigmentMain.visible && !mainMask.visible"));
        QCOMPARE(storedSteps(macro), QStringList({"1,A", "2,A"}));
    }
};

QTEST_GUILESS_MAIN(TestCaptureJourney)
#include "tst_capture.moc"
