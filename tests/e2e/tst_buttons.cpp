// Buttons and macros under real pointer and key input: a macro recorded with its measured delay from
// keys pressed on the X server, that macro given to button 3 and reaching the mouse's macro slot and
// key matrix, and a key combination captured for button 2 and saved to the mouse.
#include "JourneyCase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QSettings>
#include <QThread>
#include <QtTest>

namespace {

struct Step
{
    int type = -1;
    QString text;
};

// The key names this journey records: letters only.
int usageOf(const QString &name)
{
    if (name.size() == 1 && name.at(0) >= QLatin1Char('A') && name.at(0) <= QLatin1Char('Z'))
        return 0x04 + (name.at(0).unicode() - 'A');
    return -1;
}

bool isRelease(int type)
{
    return type == 2 || type == 4;
}

// The mouse's 128-byte form of a macro: repeat count, then per action the delay to the next action
// in 10 ms units (bit 7 for a release) and the key, an extended record for long delays, 00 00.
QByteArray payloadOf(const QList<Step> &steps, int repeat)
{
    QByteArray out;
    out.append(char(repeat / 256)).append(char(repeat % 256));
    struct Action
    {
        int type;
        int code;
        double units;
    };
    QList<Action> actions;
    double ms = 0;
    for (const Step &s : steps) {
        if (s.type == 0) {
            if (!actions.isEmpty())
                ms += s.text.toInt();
        } else if (s.type >= 1 && s.type <= 4) {
            if (!actions.isEmpty())
                actions.last().units = ms / 10;
            ms = 0;
            actions.append({s.type, usageOf(s.text), 0});
        }
    }
    for (int i = 0; i < actions.size(); ++i) {
        const Action &a = actions.at(i);
        const int release = isRelease(a.type) ? 0x80 : 0;
        if (i == actions.size() - 1) {
            out.append(char(1 | release)).append(char(a.code));
        } else if (a.units >= 127) {
            int unit = 1;
            int count = int(a.units) / 2;
            if (a.units >= 100000) {
                unit = a.units < 300000 ? 2 : 3;
                count = int(a.units) / (unit == 2 ? 5 : 10);
            }
            out.append(char(release)).append(char(a.code)).append(char(0)).append(char(unit));
            out.append(char(count / 256)).append(char(count % 256));
        } else {
            out.append(char(qMax(1, int(a.units)) | release)).append(char(a.code));
        }
    }
    if (!actions.isEmpty())
        out.append(char(0)).append(char(0));
    return out.leftJustified(128, '\0', true);
}

} // namespace

class TestButtonsJourney : public JourneyCase
{
    Q_OBJECT

    QString macroName;
    QByteArray expectedPayload;

    QByteArray mouseBytes(const char *field, int index) const
    {
        return QByteArray::fromHex(
            run->mouseState().value(QLatin1String(field)).toArray().at(index).toString().toLatin1());
    }

    // Matrix 1's four bytes for button position n.
    QByteArray matrixEntry(int n) const { return mouseBytes("keyMatrix", 0).mid(4 * n, 4); }

    QString macroFile() const
    {
        return run->installation().path() + QStringLiteral("/modules/macro/") + macroName +
               QStringLiteral(".bin");
    }

    // The steps and repeat count as the macro file holds them.
    QList<Step> storedSteps(int *repeat) const
    {
        QSettings file(macroFile(), QSettings::IniFormat);
        *repeat = file.value(QStringLiteral("config/repeat")).toInt();
        QList<Step> steps;
        const int total = file.value(QStringLiteral("config/total")).toInt();
        for (int i = 0; i < total; ++i) {
            const QVariant v = file.value(QStringLiteral("macro/%1").arg(i));
            const QString text =
                v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(',') : v.toString();
            steps.append({text.section(QLatin1Char(','), 0, 0).toInt(), text.section(QLatin1Char(','), 1)});
        }
        return steps;
    }

    // Opens button `index`'s assignment dialog from its row in the key list.
    bool openButton(int index)
    {
        return run->clickItem(QStringLiteral("keyMatrixMain/keyRow%1").arg(index)) &&
               run->waitFor("keyAssigmentMain", QStringLiteral("visible && selectKey === %1").arg(index));
    }

    bool closeDialog()
    {
        return run->clickItem("keyAssigmentMain/closeButton") &&
               run->waitFor(".", "!keyAssigmentMain.visible && !mainMask.visible");
    }

public:
    TestButtonsJourney()
        : JourneyCase({{"mouse/icType", "553"}, {"mouse/profileNo", 0}, {"mouse/keyCount", 8}})
    {
    }

private slots:
    // New macro, "Delay" ticked, A held about 200 ms while recording: press A, the measured delay,
    // release A.
    void recordedMacroKeepsMeasuredDelay()
    {
        QVERIFY(run->clickItem("macroEditorBtn"));
        QVERIFY(run->waitFor("macroEditorMain", "visible"));
        macroName = run->newMacro();
        QVERIFY2(!macroName.isEmpty(), qPrintable(run->error()));
        QCOMPARE(macroName, QStringLiteral("Macro_0"));
        QVERIFY(QFile::exists(macroFile()));

        QVERIFY(run->clickItem("macroEditorMain/delayRecord"));
        QVERIFY(run->waitFor("macroEditorMain", "delayRecord.checked"));
        QVERIFY(run->clickItem("macroEditorMain/recordButton"));
        QVERIFY(run->waitFor("macroEditorMain", "isInputting"));

        // The program times the press when it handles it; the wait runs from when it has been seen.
        QElapsedTimer clock;
        clock.start();
        QVERIFY(run->keyDown("a"));
        qint64 pressSeen = -1;
        while (clock.elapsed() < 30000) {
            if (run->eval("macroEditorMain", "stepModel.count").toInt() >= 1) {
                pressSeen = clock.elapsed();
                break;
            }
            QThread::msleep(5);
        }
        QVERIFY2(pressSeen >= 0, "the press was not recorded");
        while (clock.elapsed() < pressSeen + 200)
            QThread::msleep(1);
        const qint64 releaseSent = clock.elapsed();
        QVERIFY(run->keyUp("a"));
        QVERIFY(run->waitFor("macroEditorMain", "stepModel.count >= 3"));
        const qint64 releaseSeen = clock.elapsed();
        QVERIFY(run->clickItem("macroEditorMain/recordButton"));
        QVERIFY(run->waitFor("macroEditorMain", "!isInputting"));

        int repeat = 0;
        QList<Step> steps;
        QVERIFY(run->waitUntil([&] {
            steps = storedSteps(&repeat);
            return steps.size() == 3;
        }));
        QCOMPARE(repeat, 1);
        QCOMPARE(steps[0].type, 1);
        QCOMPARE(steps[0].text, QStringLiteral("A"));
        QCOMPARE(steps[1].type, 0);
        QCOMPARE(steps[2].type, 2);
        QCOMPARE(steps[2].text, QStringLiteral("A"));
        bool isNumber = false;
        const int delay = steps[1].text.toInt(&isNumber);
        QVERIFY2(isNumber, qPrintable(steps[1].text));
        qInfo("recorded delay %d ms; press seen after %lld ms, release sent at %lld, seen at %lld", delay,
              pressSeen, releaseSent, releaseSeen);
        QCOMPARE(delay % 10, 0);
        // At least the 200 ms between the press being handled and the release being sent; at most
        // the whole time from sending the press to seeing the release (a tick or so of timer slack).
        QVERIFY2(delay >= 200 - 10 && delay <= releaseSeen * 105 / 100 + 20,
                 qPrintable(QString::number(delay)));

        expectedPayload = payloadOf(steps, repeat);
        // Once, A pressed for delay / 10 units, A released last: 00 01, T 04, 81 04, 00 00; a hold
        // of 1.27 s or more (a very slow machine) takes the extended record in units of 20 ms.
        const int units = delay / 10;
        const QByteArray held =
            units < 127 ? QByteArray(1, char(units)) + QByteArray::fromHex("04")
                        : QByteArray::fromHex("00040001") + char(units / 2 / 256) + char(units / 2 % 256);
        QCOMPARE(expectedPayload.left(2 + held.size() + 4),
                 QByteArray::fromHex("0001") + held + QByteArray::fromHex("81040000"));

        QVERIFY(run->clickItem("macroEditorMain/closeButton"));
        QVERIFY(run->waitFor(".", "!macroEditorMain.visible && !mainMask.visible"));
    }

    // Button 3 (position 2) gets the macro: closing sends the macro into slot 3, Save the key matrix
    // with the macro kind (device code 9) and macro id 3.
    void macroChosenForButtonReachesMouse()
    {
        QVERIFY(!macroName.isEmpty());
        const int position = 2;
        QCOMPARE(run->ask("prop keyMatrixMain/keyRowLabel2 text").toString(), QStringLiteral("Key 3"));
        QVERIFY(openButton(position));
        QVERIFY(run->clickItem("keyAssigmentMain/kind4"));
        QVERIFY(run->waitFor("keyAssigmentMain", "viewKind === 4"));
        QVERIFY(run->clickItem("keyAssigmentMain/macroList"));
        QVERIFY(run->waitFor("keyAssigmentMain/macroList", "isOpen"));
        const QRect entry = run->findText("keyAssigmentMain/macroList", macroName);
        QVERIFY2(entry.isValid(), qPrintable(run->error()));
        QVERIFY(run->click(entry.center()));
        QVERIFY(run->waitFor("keyAssigmentMain",
                             "keyCode0 === 4 && keyCode1 === 0 && keyCode2 === 2 && keyCode3 === 0"));
        QCOMPARE(run->eval("keyAssigmentMain", "keyString").toString(), macroName);
        QVERIFY(closeDialog());

        QVERIFY2(run->waitUntil([&] { return mouseBytes("macro", position) == expectedPayload; }),
                 qPrintable(mouseBytes("macro", position).toHex(' ')));
        for (int slot = 0; slot < 12; ++slot) {
            if (slot != position)
                QCOMPARE(mouseBytes("macro", slot), QByteArray(128, '\0'));
        }
        QCOMPARE(run->eval("keyMatrixMain", "modKeys.get(2).keyText").toString(), macroName);
        QVERIFY(run->eval("saveBtn", "unsaved").toBool());

        QVERIFY(run->clickItem("saveBtn"));
        QVERIFY2(run->waitUntil([&] { return matrixEntry(position) == QByteArray::fromHex("09000300"); }),
                 qPrintable(mouseBytes("keyMatrix", 0).toHex(' ')));
        // Its neighbours where they belong: left button, right button, forward.
        QCOMPARE(matrixEntry(0), QByteArray::fromHex("0100f000"));
        QCOMPARE(matrixEntry(1), QByteArray::fromHex("0100f100"));
        QCOMPARE(matrixEntry(3), QByteArray::fromHex("0100f400"));
        QVERIFY(run->waitUntil([&] {
            return intList(run->profileValue("mouseKeyMatrix/2")) == QList<int>({4, 0, 2, 0});
        }));
        QCOMPARE(run->profileValue("mouseMacroKey/2").toString(), macroName);
        QVERIFY(run->waitFor("saveBtn", "!unsaved"));
    }

    // Button 2 (position 1) gets Ctrl+Shift+A captured as a combination: 02 03 04 00 in the
    // profile, 00 03 04 00 (combinations are plain key entries) in matrix 1 once saved.
    void combinationCapturedForButtonIsSaved()
    {
        const int position = 1;
        QCOMPARE(run->ask("prop keyMatrixMain/keyRowLabel1 text").toString(), QStringLiteral("Key 2"));
        QVERIFY(openButton(position));
        QVERIFY(run->clickItem("keyAssigmentMain/kind2"));
        QVERIFY(run->waitFor("keyAssigmentMain", "viewKind === 2"));
        QVERIFY(run->clickItem("keyAssigmentMain/comboField"));
        QVERIFY(run->waitFor("keyAssigmentMain", "captureIndex === 1"));
        QVERIFY(run->key("ctrl+shift+a"));
        QVERIFY2(run->waitFor("keyAssigmentMain", "comboFieldText === 'LCtrl + LShift + A'"),
                 qPrintable(run->eval("keyAssigmentMain", "comboFieldText").toString()));
        QVERIFY(run->clickItem("keyAssigmentMain/comboOk"));
        QVERIFY(run->waitFor(
            "keyAssigmentMain",
            "captureIndex === -1 && keyCode0 === 2 && keyCode1 === 3 && keyCode2 === 4 && keyCode3 === 0"));
        QVERIFY(closeDialog());
        QCOMPARE(run->eval("keyMatrixMain", "modKeys.get(1).keyText").toString(),
                 QStringLiteral("LCtrl + LShift + A"));

        QVERIFY(run->eval("saveBtn", "unsaved").toBool());
        QVERIFY(run->clickItem("saveBtn"));
        QVERIFY2(run->waitUntil([&] { return matrixEntry(position) == QByteArray::fromHex("00030400"); }),
                 qPrintable(mouseBytes("keyMatrix", 0).toHex(' ')));
        QCOMPARE(matrixEntry(2), QByteArray::fromHex("09000300"));
        QVERIFY(run->waitUntil([&] {
            return intList(run->profileValue("mouseKeyMatrix/1")) == QList<int>({2, 3, 4, 0});
        }));
        // The macro stays in its slot.
        QCOMPARE(mouseBytes("macro", 2), expectedPayload);
    }
};

QTEST_GUILESS_MAIN(TestButtonsJourney)
#include "tst_buttons.moc"
