// Controls that only real input shows to be reachable and honest: started on the second profile, the
// report-rate box shows that profile's rate; every row of the open report-rate list takes its click (none
// falls to the button below it) and reaches the mouse; the button dialog drops its choice on Escape and
// applies it on OK; an unsaved edit is asked about before a profile chosen in the title bar replaces it
// (Cancel keeps both, Discard drops the edit, Save stores it).
#include "JourneyCase.h"

#include <QJsonDocument>
#include <QSettings>
#include <QtTest>

namespace {

const QList<QPair<QString, QVariant>> kMouse{{"mouse/icType", "553"},
                                             {"mouse/isColorful", true},
                                             {"mouse/isGun", true},
                                             {"mouse/sensorType", "3360"},
                                             {"mouse/profileNo", 1}};
// The report-rate rows' codes in the mouse: 125, 250, 500 and 1000 Hz.
const int kRateCodes[] = {8, 4, 2, 1};

QString text(const QVariant &v)
{
    return v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(QStringLiteral(", "))
                                                       : v.toString();
}

} // namespace

class TestWindowControlsJourney : public JourneyCase
{
    Q_OBJECT

    QString settingFile(const QString &name) const { return run->settingsFolder() + QLatin1Char('/') + name; }
    QVariant value(const QString &file, const QString &key) const
    {
        return QSettings(settingFile(file), QSettings::IniFormat).value(key);
    }
    bool enabled() { return run->eval(".", "ui_View.enabled").toBool(); }
    bool unsaved() { return run->eval("saveBtn", "unsaved").toBool(); }

    // Opens button 3's dialog and picks "Double Fire" in it.
    void pickDoubleFire()
    {
        QVERIFY(run->click(run->center("keyMatrixMain/keyRow2")));
        QVERIFY(run->waitUntil([&] { return run->eval("keyAssigmentMain", "visible").toBool(); }));
        QVERIFY(run->click(run->center("keyAssigmentMain/mouse5")));
        QVERIFY(run->waitUntil([&] { return run->eval("keyAssigmentMain", "keyCode2").toInt() == 0x1e; }));
    }

    void waitClosed()
    {
        QVERIFY(run->waitUntil([&] {
            return !run->eval("keyAssigmentMain", "visible").toBool() &&
                   !run->eval("mainMask", "visible").toBool();
        }));
    }

    int heldCode2() { return run->eval("keyMatrixMain", "modKeys.get(2).keyCode2").toInt(); }

    // Chooses `entry` in the title bar's profile list; unsaved edits bring up the question.
    void chooseProfile(const QString &entry)
    {
        QVERIFY(run->click(run->center("upItem/profileBtn")));
        QVERIFY(run->waitUntil([&] { return run->eval("upItem/profileBtn", "isOpen").toBool(); }));
        const QRect row = run->findText("upItem/profileBtn", entry);
        QVERIFY2(row.isValid(), qPrintable(run->error()));
        QVERIFY(run->click(row.center()));
    }

    void answerUnsaved(int answer)
    {
        QVERIFY2(run->waitUntil([&] { return run->eval("unsavedAsk", "isOpen").toBool(); }),
                 qPrintable(run->error()));
        QVERIFY(run->click(run->center(QStringLiteral("unsavedAsk/unsavedAskAnswer%1").arg(answer))));
        QVERIFY(run->waitUntil([&] { return !run->eval("unsavedAsk", "isOpen").toBool() && enabled(); }));
    }

public:
    TestWindowControlsJourney() : JourneyCase(kMouse) {}

protected:
    void beforeLaunch() override
    {
        writeSettings(settingFile("name.bin"), {{"profile/profileName", QStringList{"Standard0", "Other1"}}});
        // The first profile's rate differs from the active second one's.
        writeSettings(settingFile("p1.bin"), {{"mouse/reportRate", 3}});
        writeSettings(settingFile("p2.bin"), {{"mouse/reportRate", 1}});
    }

private slots:
    void reportRateIsTheActiveProfiles()
    {
        QCOMPARE(run->eval("upItem/profileBtn", "currentText").toString(), QStringLiteral("Other"));
        QCOMPARE(run->eval("reportRateLV", "currentText").toString(), QStringLiteral("250Hz"));
    }

    void everyReportRateRowTakesItsClick()
    {
        const QRect field = run->rect("reportRateLV");
        for (int row : {1, 0, 2, 3}) {
            QVERIFY(run->click(field.center()));
            QVERIFY(run->waitUntil([&] { return run->eval("reportRateLV", "isOpen").toBool(); }));
            QVERIFY(run->click(
                QPoint(field.center().x(), field.bottom() + 1 + field.height() * row + field.height() / 2)));
            QVERIFY2(run->waitUntil([&] {
                return run->mouseState().value("reportRate").toInt() == kRateCodes[row] &&
                       run->profileValue("mouse/reportRate").toInt() == row;
            }),
                     qPrintable(QJsonDocument(run->mouseState()).toJson()));
            QCOMPARE(run->eval("reportRateLV", "currentIndex").toInt(), row);
            QCOMPARE(run->eval("reportRateLV", "isOpen").toBool(), false);
            QCOMPARE(run->eval("systemSettingMain", "visible").toBool(), false);
        }
    }

    void buttonDialogDropsOnEscapeAppliesOnOk()
    {
        pickDoubleFire();
        QVERIFY(run->key("Escape"));
        waitClosed();
        QCOMPARE(heldCode2(), 0xf2);
        QVERIFY(!unsaved());

        pickDoubleFire();
        QVERIFY(run->click(run->center("keyAssigmentMain/okButton")));
        waitClosed();
        QCOMPARE(heldCode2(), 0x1e);
        QVERIFY(unsaved());
    }

    void unsavedEditIsAskedAboutOnProfileChange()
    {
        if (!unsaved())
            QSKIP("needs the edit of the previous journey step");
        // Cancel: the profile stays, and so does the edit.
        chooseProfile("Standard");
        answerUnsaved(2);
        QCOMPARE(run->eval("upItem/profileBtn", "currentText").toString(), QStringLiteral("Other"));
        QCOMPARE(value("apConfig.bin", "mouse/profileNo").toInt(), 1);
        QVERIFY(unsaved());
        QCOMPARE(heldCode2(), 0x1e);

        // Discard: the switch happens, the edit is stored nowhere.
        chooseProfile("Standard");
        answerUnsaved(1);
        QVERIFY(run->waitUntil([&] { return value("apConfig.bin", "mouse/profileNo").toInt() == 0; }));
        QVERIFY(!unsaved());
        QCOMPARE(heldCode2(), 0xf2);
        QVERIFY(text(value("p2.bin", "mouseKeyMatrix/2")) != QStringLiteral("0, 240, 30, 2"));

        // Save: the edit is stored in the profile it was made in, then the switch happens.
        pickDoubleFire();
        QVERIFY(run->click(run->center("keyAssigmentMain/okButton")));
        waitClosed();
        chooseProfile("Other");
        answerUnsaved(0);
        QVERIFY(run->waitUntil([&] { return value("apConfig.bin", "mouse/profileNo").toInt() == 1; }));
        QVERIFY(run->waitUntil(
            [&] { return text(value("p1.bin", "mouseKeyMatrix/2")) == QStringLiteral("0, 240, 30, 2"); }));
        QVERIFY(!unsaved());
    }
};

QTEST_GUILESS_MAIN(TestWindowControlsJourney)
#include "tst_window_controls.moc"
