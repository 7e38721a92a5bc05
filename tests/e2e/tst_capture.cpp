// Keys typed on the X server reach the scene only while an input waits for them: nothing while no
// capture runs (before, between and after captures), the keys of a macro recording and of a
// combination capture once they have started.
#include "JourneyCase.h"

#include <QSettings>
#include <QtTest>

class TestCaptureJourney : public JourneyCase
{
    Q_OBJECT

    // How often the scene's captured-key signal has fired since the counter was attached.
    int keySignals() { return run->ask("prop keySignalCounter count").toInt(-1); }

public:
    TestCaptureJourney()
        : JourneyCase({{"mouse/icType", "553"}, {"mouse/profileNo", 0}, {"mouse/keyCount", 8}})
    {
    }

protected:
    void afterLaunch() override
    {
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

private slots:
    // Keys before a recording reach nothing; the recording gets exactly its own key. The recording's
    // key is the marker: captured keys arrive in order, so any earlier key would be counted first.
    void onlyTheRecordingsKeysArrive()
    {
        QVERIFY(run->key("q"));
        QVERIFY(run->key("z"));
        QVERIFY(run->clickItem("macroEditorBtn"));
        QVERIFY(run->waitFor("macroEditorMain", "visible"));
        QVERIFY(run->key("q"));
        const QString macro = run->newMacro();
        QVERIFY2(!macro.isEmpty(), qPrintable(run->error()));
        QVERIFY(run->key("z"));

        QVERIFY2(run->recordKey("a"), qPrintable(run->error()));

        QCOMPARE(keySignals(), 2);
        QVERIFY(run->waitUntil([&] { return run->macroSteps(macro).size() == 2; }));
        QCOMPARE(run->macroSteps(macro), QStringList({"1,A", "2,A"}));
    }

    // Keys after the recording stopped, after the editor closed, and with the assignment dialog open
    // but no input waiting reach nothing; the combination capture that follows gets its own key.
    void nothingBetweenCaptures()
    {
        const int before = keySignals();
        const QString macro = run->eval("macroEditorMain", "selectedName").toString();
        QVERIFY(run->key("x"));
        QVERIFY(run->clickItem("macroEditorMain/closeButton"));
        QVERIFY(run->waitFor(".", "!macroEditorMain.visible && !mainMask.visible"));
        QVERIFY(run->key("w"));

        QVERIFY(run->clickItem("keyMatrixMain/keyRow1"));
        QVERIFY(run->waitFor("keyAssigmentMain", "visible && selectKey === 1"));
        QVERIFY(run->clickItem("keyAssigmentMain/kind2"));
        QVERIFY(run->waitFor("keyAssigmentMain", "viewKind === 2"));
        QVERIFY(run->key("y"));
        QVERIFY(run->clickItem("keyAssigmentMain/comboField"));
        QVERIFY(run->waitFor("keyAssigmentMain", "captureIndex === 1"));
        QVERIFY(run->key("b"));
        QVERIFY2(run->waitFor("keyAssigmentMain", "comboFieldText === 'B'"),
                 qPrintable(run->eval("keyAssigmentMain", "comboFieldText").toString()));
        QCOMPARE(keySignals(), before + 2);

        QVERIFY(run->clickItem("keyAssigmentMain/comboCancel"));
        QVERIFY(run->waitFor("keyAssigmentMain", "captureIndex === -1"));
        QVERIFY(run->clickItem("keyAssigmentMain/closeButton"));
        QVERIFY(run->waitFor(".", "!keyAssigmentMain.visible && !mainMask.visible"));
        QCOMPARE(run->macroSteps(macro), QStringList({"1,A", "2,A"}));
    }
};

QTEST_GUILESS_MAIN(TestCaptureJourney)
#include "tst_capture.moc"
