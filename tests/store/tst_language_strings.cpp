// The language sections and the process-wide DPI notification texts they feed.
#include "DpiSwitchText.h"
#include "LanguageStrings.h"
#include "TempInstallation.h"

#include <QtTest>

#include <atomic>
#include <thread>

namespace {

const QString Lang = QStringLiteral("modules/i18n/Test.ini");

} // namespace

class TestLanguageStrings : public QObject
{
    Q_OBJECT

private slots:
    void init() { DpiSwitchText::reset(); }

    void sectionIsReadUpToItsTotal();
    void totalDecidesAlone();
    void hostileTotalsAreBounded();
    void textIsUtf8AndOlderEscapesStillRead();
    void missingFileOrUnsafeCodeGivesNothing();
    void otherSectionUpdatesTheNotificationTexts();
    void otherSectionIsMatchedExactly();
    void notificationTextForEachStage();
    void notificationTextsAreSafeAcrossThreads();
};

void TestLanguageStrings::sectionIsReadUpToItsTotal()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(Lang, "[main]\ntotal=3\n0=Editor\n2=Config\n5=beyond\n");
    QCOMPARE(LanguageStrings().getLangStrings(QStringLiteral("main"), QStringLiteral("Test")),
             (QStringList{"Editor", "", "Config"}));
}

void TestLanguageStrings::totalDecidesAlone()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(Lang, "[zero]\ntotal=0\n0=a\n[absent]\n0=a\n1=b\n[comma]\ntotal=2\n0=\"a, b\"\n1=a, b\n");
    LanguageStrings strings;
    QVERIFY(strings.getLangStrings(QStringLiteral("zero"), QStringLiteral("Test")).isEmpty());
    QVERIFY(strings.getLangStrings(QStringLiteral("absent"), QStringLiteral("Test")).isEmpty());
    QVERIFY(strings.getLangStrings(QStringLiteral("nosection"), QStringLiteral("Test")).isEmpty());
    // A text with a comma stays one text, quoted or not.
    QCOMPARE(strings.getLangStrings(QStringLiteral("comma"), QStringLiteral("Test")),
             (QStringList{"a, b", "a, b"}));
}

void TestLanguageStrings::hostileTotalsAreBounded()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(Lang, "[huge]\ntotal=2147483647\n0=a\n[negative]\ntotal=-3\n0=a\n");
    LanguageStrings strings;
    QCOMPARE(strings.getLangStrings(QStringLiteral("huge"), QStringLiteral("Test")).size(),
             LanguageStrings::MaxStrings);
    QVERIFY(strings.getLangStrings(QStringLiteral("negative"), QStringLiteral("Test")).isEmpty());
}

void TestLanguageStrings::textIsUtf8AndOlderEscapesStillRead()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(Lang, "[main]\ntotal=3\n0=\xe5\xae\x8f\xe7\xbc\x96\xe8\xbe\x91\n1=\\x5b8f\n2=Caf\xc3\xa9\n");
    QCOMPARE(LanguageStrings().getLangStrings(QStringLiteral("main"), QStringLiteral("Test")),
             (QStringList{QStringLiteral("宏编辑"), QStringLiteral("宏"), QStringLiteral("Café")}));
}

void TestLanguageStrings::missingFileOrUnsafeCodeGivesNothing()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(QStringLiteral("modules/setting/secret.ini"), "[main]\ntotal=1\n0=secret\n");
    LanguageStrings strings;
    QVERIFY(strings.getLangStrings(QStringLiteral("main"), QStringLiteral("Nope")).isEmpty());
    QVERIFY(strings.getLangStrings(QStringLiteral("main"), QStringLiteral("../setting/secret")).isEmpty());
    QVERIFY(strings.getLangStrings(QStringLiteral("main"), QStringLiteral("..\\setting\\secret")).isEmpty());
    QVERIFY(strings.getLangStrings(QStringLiteral("other"), QStringLiteral("Nope")).isEmpty());
    QCOMPARE(DpiSwitchText::all(), QStringList(8, QStringLiteral("DPI Switch to")));
}

void TestLanguageStrings::otherSectionUpdatesTheNotificationTexts()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(Lang, "[other]\ntotal=5\n0=s1\n1=s2\n2=s3\n3=s4\n4=s5\n"
                     "[long]\ntotal=10\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\n6=g\n7=h\n8=i\n9=j\n");
    DpiSwitchText::set(7, QStringLiteral("kept"));
    const QStringList five =
        LanguageStrings().getLangStrings(QStringLiteral("other"), QStringLiteral("Test"));
    QCOMPARE(five, (QStringList{"s1", "s2", "s3", "s4", "s5"}));
    QCOMPARE(DpiSwitchText::all(),
             (QStringList{"s1", "s2", "s3", "s4", "s5", "DPI Switch to", "DPI Switch to", "kept"}));

    // Only eight texts fit; the ninth and tenth go nowhere.
    inst.write(QStringLiteral("modules/i18n/Ten.ini"),
               "[other]\ntotal=10\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\n6=g\n7=h\n8=i\n9=j\n");
    QCOMPARE(LanguageStrings().getLangStrings(QStringLiteral("other"), QStringLiteral("Ten")).size(), 10);
    QCOMPARE(DpiSwitchText::all(), (QStringList{"a", "b", "c", "d", "e", "f", "g", "h"}));
}

void TestLanguageStrings::otherSectionIsMatchedExactly()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(Lang, "[Other]\ntotal=1\n0=x\n[OTHER]\ntotal=1\n0=x\n");
    LanguageStrings strings;
    QCOMPARE(strings.getLangStrings(QStringLiteral("Other"), QStringLiteral("Test")), QStringList{"x"});
    QCOMPARE(strings.getLangStrings(QStringLiteral("OTHER"), QStringLiteral("Test")), QStringList{"x"});
    QCOMPARE(DpiSwitchText::all(), QStringList(8, QStringLiteral("DPI Switch to")));
}

void TestLanguageStrings::notificationTextForEachStage()
{
    for (int i = 0; i < DpiSwitchText::Count; ++i)
        DpiSwitchText::set(i, QStringLiteral("t%1").arg(i));
    QCOMPARE(DpiSwitchText::forStage(1), QStringLiteral("t0"));
    QCOMPARE(DpiSwitchText::forStage(7), QStringLiteral("t6"));
    QCOMPARE(DpiSwitchText::forStage(0), QStringLiteral("t7"));
    QCOMPARE(DpiSwitchText::forStage(8), QStringLiteral("t7"));
    QCOMPARE(DpiSwitchText::forStage(255), QStringLiteral("t7"));
    QCOMPARE(DpiSwitchText::at(-1), QString());
    QCOMPARE(DpiSwitchText::at(8), QString());
    DpiSwitchText::set(8, QStringLiteral("ignored"));
    DpiSwitchText::reset();
    QCOMPARE(DpiSwitchText::at(0), QStringLiteral("DPI Switch to"));
}

void TestLanguageStrings::notificationTextsAreSafeAcrossThreads()
{
    // The event listener reads while the GUI thread replaces; every read is one whole text.
    const QStringList a(8, QStringLiteral("first text, rather long so that a torn copy would show"));
    const QStringList b(8, QStringLiteral("second"));
    std::atomic<bool> stop{false};
    std::atomic<int> bad{0};
    std::thread reader([&] {
        while (!stop) {
            for (int stage = 0; stage < 9; ++stage) {
                const QString t = DpiSwitchText::forStage(stage);
                if (t != a.first() && t != b.first() && t != DpiSwitchText::defaultText())
                    ++bad;
            }
        }
    });
    for (int i = 0; i < 20000; ++i)
        DpiSwitchText::assign(i % 2 ? a : b);
    stop = true;
    reader.join();
    QCOMPARE(bad.load(), 0);
}

QTEST_GUILESS_MAIN(TestLanguageStrings)
#include "tst_language_strings.moc"
