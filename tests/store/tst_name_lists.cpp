// The four name lists in name.bin: the forms written, the one-element rule and the type argument.
#include "NameListStore.h"
#include "StoreProbe.h"
#include "TempInstallation.h"

#include <QJsonArray>
#include <QtTest>

namespace {

const QString NameFile = QStringLiteral("modules/setting/name.bin");

QVariantList strings(const QStringList &list)
{
    QVariantList out;
    for (const QString &s : list)
        out.append(s);
    return out;
}

} // namespace

class TestNameLists : public QObject
{
    Q_OBJECT

private slots:
    void oneNameGetsTheFiller();
    void severalNamesAreStoredAsGiven();
    void emptyListRemovesTheKey();
    void eachTypeHasItsKey_data();
    void eachTypeHasItsKey();
    void unknownTypesWriteNothing_data();
    void unknownTypesWriteNothing();
    void awkwardNamesSurviveARestart();
    void plainStringIsNoList();
    void olderInstallationsEscapedText();
};

void TestNameLists::oneNameGetsTheFiller()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    NameListStore names;
    QCOMPARE(names.updataNameList(0, {QStringLiteral("A")}), QVariant(true));
    QVERIFY(inst.read(NameFile).contains("[macro]\nmacroName=A, loaderveltis\n"));
    QCOMPARE(names.getNameList(0), strings({"A", "loaderveltis"}));

    // A real second name "loaderveltis" reads back the same way: the pages cannot tell them apart.
    names.updataNameList(0, {QStringLiteral("A"), QStringLiteral("loaderveltis")});
    QCOMPARE(names.getNameList(0), strings({"A", "loaderveltis"}));
}

void TestNameLists::severalNamesAreStoredAsGiven()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    NameListStore names;
    names.updataNameList(0, {QStringLiteral("A"), QStringLiteral("B")});
    QVERIFY(inst.read(NameFile).contains("macroName=A, B\n"));
    QCOMPARE(names.getNameList(0), strings({"A", "B"}));
    names.updataNameList(0, {QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("A")});
    QCOMPARE(names.getNameList(0), strings({"C", "B", "A"}));
    const QVariantList list = names.getNameList(0);
    for (const QVariant &v : list)
        QCOMPARE(v.metaType().id(), int(QMetaType::QString));
}

void TestNameLists::emptyListRemovesTheKey()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    NameListStore names;
    names.updataNameList(0, {QStringLiteral("A"), QStringLiteral("B")});
    names.updataNameList(2, {QStringLiteral("Office3")});
    QCOMPARE(names.updataNameList(0, {}), QVariant(true));
    const QByteArray text = inst.read(NameFile);
    QVERIFY2(!text.contains("macroName") && !text.contains("[macro]"), text.constData());
    QVERIFY(names.getNameList(0).isEmpty());
    QCOMPARE(names.getNameList(2), strings({"Office3", "loaderveltis"}));
}

void TestNameLists::eachTypeHasItsKey_data()
{
    QTest::addColumn<QVariant>("type");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("0") << QVariant(0) << QByteArray("[macro]\nmacroName=x, y\n");
    QTest::newRow("1") << QVariant(1u) << QByteArray("[gun]\ngunName=x, y\n");
    QTest::newRow("2 as number") << QVariant(2.0) << QByteArray("[profile]\nprofileName=x, y\n");
    QTest::newRow("2 as text") << QVariant(QStringLiteral("2"))
                               << QByteArray("[profile]\nprofileName=x, y\n");
    QTest::newRow("3") << QVariant(3) << QByteArray("[gun]\nselectGun=x, y\n");
}

void TestNameLists::eachTypeHasItsKey()
{
    QFETCH(QVariant, type);
    QFETCH(QByteArray, line);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    NameListStore names;
    names.updataNameList(type, {QStringLiteral("x"), QStringLiteral("y")});
    QCOMPARE(inst.read(NameFile).trimmed(), line.trimmed());
    QCOMPARE(names.getNameList(type), strings({"x", "y"}));
}

void TestNameLists::unknownTypesWriteNothing_data()
{
    QTest::addColumn<QVariant>("type");
    QTest::newRow("7") << QVariant(7);
    QTest::newRow("negative") << QVariant(-1);
    QTest::newRow("not a number") << QVariant(QStringLiteral("macro"));
    QTest::newRow("invalid") << QVariant();
}

void TestNameLists::unknownTypesWriteNothing()
{
    QFETCH(QVariant, type);
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    NameListStore names;
    names.updataNameList(0, {QStringLiteral("Keep"), QStringLiteral("Me")});
    const QByteArray before = inst.read(NameFile);
    QCOMPARE(names.updataNameList(type, {QStringLiteral("x"), QStringLiteral("y")}), QVariant(true));
    QCOMPARE(names.updataNameList(type, {}), QVariant(true));
    QCOMPARE(inst.read(NameFile), before);
    QVERIFY(names.getNameList(type).isEmpty());
}

void TestNameLists::awkwardNamesSurviveARestart()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    const QStringList awkward = {QStringLiteral("a, b"),     QStringLiteral("\"quoted\""),
                                 QStringLiteral("@at"),      QStringLiteral("宏 1"),
                                 QStringLiteral(" padded "), QStringLiteral("semi;colon")};
    NameListStore().updataNameList(0, awkward);
    const QJsonObject v = StoreProbe::run(inst.path(), {"getNameList", "0"});
    QCOMPARE(v.value("value").toArray(), QJsonArray::fromStringList(awkward));
}

void TestNameLists::plainStringIsNoList()
{
    // A one-element list written by hand is a plain string; it must not read as its characters.
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(NameFile, "[macro]\nmacroName=Macro_0\n");
    QVERIFY(NameListStore().getNameList(0).isEmpty());
}

void TestNameLists::olderInstallationsEscapedText()
{
    TempInstallation inst(TempInstallation::Empty, TempInstallation::MakeCurrent);
    inst.write(NameFile, "[profile]\nprofileName=\\x529e\\x516c\\x30, Game1\n");
    QCOMPARE(NameListStore().getNameList(2), strings({"办公0", "Game1"}));
}

QTEST_GUILESS_MAIN(TestNameLists)
#include "tst_name_lists.moc"
