// Checks that the default installation beside the executables holds every key the pages and the
// backend read, in the form they read it, and that the language files match the pages' lists.
#include "DeviceKeyForm.h"

#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImageReader>
#include <QSettings>
#include <QtTest>

namespace {

QString modulesPath(const QString &relative)
{
    return QStringLiteral(KC_INSTALLATION_DIR "/modules/") + relative;
}

QStringList profileFiles()
{
    QStringList files{"setting/pD.bin"};
    for (int p = 1; p <= 10; ++p)
        files << QStringLiteral("setting/p%1.bin").arg(p);
    return files;
}

// A scalar as it comes back from the file: text that parses as a decimal integer.
bool readInt(const QSettings &s, const QString &key, int *out)
{
    const QVariant v = s.value(key);
    if (v.typeId() != QMetaType::QString)
        return false;
    bool ok = false;
    *out = v.toString().toInt(&ok);
    return ok;
}

// A list as it comes back from the file: a string list whose items all parse as integers.
bool readIntList(const QSettings &s, const QString &key, QList<int> *out)
{
    const QVariant v = s.value(key);
    if (v.typeId() != QMetaType::QStringList)
        return false;
    out->clear();
    for (const QString &item : v.toStringList()) {
        bool ok = false;
        *out << item.toInt(&ok);
        if (!ok)
            return false;
    }
    return true;
}

#define REQUIRE_INT(s, key, var)                                                                             \
    int var = 0;                                                                                             \
    QVERIFY2(readInt(s, key, &var),                                                                          \
             qPrintable(QStringLiteral("%1: %2 is not an integer").arg(s.fileName(), key)))

#define REQUIRE_INT_LIST(s, key, var, count)                                                                 \
    QList<int> var;                                                                                          \
    QVERIFY2(                                                                                                \
        readIntList(s, key, &var) && var.size() == count,                                                    \
        qPrintable(QStringLiteral("%1: %2 is not a list of %3 integers").arg(s.fileName(), key).arg(count)))

// The key names in usage-code order, built from the code table rather than copied from the files.
QStringList expectedKeyNames()
{
    QStringList names;
    for (char c = 'A'; c <= 'Z'; ++c)
        names << QString(QChar(c));
    for (int d = 1; d <= 10; ++d)
        names << QString::number(d % 10);
    names << "Enter"
          << "Esc"
          << "Back"
          << "Tab"
          << "Space"
          << "-"
          << "="
          << "["
          << "]"
          << "\\"
          << "\\"
          << ";"
          << "'"
          << "`"
          << ","
          << "."
          << "/"
          << "Caps";
    for (int f = 1; f <= 12; ++f)
        names << QStringLiteral("F%1").arg(f);
    names << "Prt"
          << "Scr"
          << "Pau"
          << "Ins"
          << "Hom"
          << "Pgu"
          << "Del"
          << "End"
          << "PgD" << QString::fromUtf8("►") << QString::fromUtf8("◄") << QString::fromUtf8("▼")
          << QString::fromUtf8("▲") << "Num"
          << "KP/"
          << "KP*"
          << "KP-"
          << "KP+"
          << "KPEnter";
    for (int k = 1; k <= 9; ++k)
        names << QStringLiteral("KP%1").arg(k);
    names << "KP0"
          << "KP."
          << "Eur2"
          << "App"
          << "Power"
          << "KP=";
    for (int f = 13; f <= 24; ++f)
        names << QStringLiteral("F%1").arg(f);
    names << "Keypad"
          << "Intl1"
          << "Intl2"
          << "Intl2"
          << "Intl4"
          << "Intl5"
          << "Lang1"
          << "Lang2";
    names << "LCtrl"
          << "LShift"
          << "LAlt"
          << "LWin"
          << "RCtrl"
          << "RShift"
          << "RAlt"
          << "RWin";
    names << "MS-L"
          << "MS-R"
          << "MS-M"
          << "MS-B4"
          << "MS-B5";
    return names;
}

const QList<QPair<QString, int>> sectionCounts = {
    {"main", 27},         {"keyMatrix", 5},    {"keyAssigment", 60},  {"dpiSetting", 5},
    {"lightControl", 20}, {"macroEditor", 20}, {"systemSetting", 15}, {"gunControl", 10},
    {"profile", 20},      {"keyCode", 133},    {"other", 8}};

QStringList sectionTexts(const QString &language, const QString &section)
{
    QSettings s(modulesPath("i18n/" + language + ".ini"), QSettings::IniFormat);
    QStringList texts;
    const int total = s.value(section + "/total").toInt();
    for (int i = 0; i < total; ++i)
        texts << s.value(section + "/" + QString::number(i)).toString();
    return texts;
}

} // namespace

class TestInstallation : public QObject
{
    Q_OBJECT

private slots:
    void settingsFilesArePlainText_data();
    void settingsFilesArePlainText();
    void globalFile_data();
    void globalFile();
    void factoryCopyEqualsGlobal();
    void profileFile_data();
    void profileFile();
    void profilesStartFromDefault();
    void dpiStagesSurviveThePage();
    void gunTemplateIsTheMatrixInDeviceForm();
    void nameList();
    void gunPresets();
    void languageSections_data();
    void languageSections();
    void englishTexts();
    void chineseTexts();
    void logoHasSeveralSizes();
    void macroFolderExists();
};

void TestInstallation::settingsFilesArePlainText_data()
{
    QTest::addColumn<QString>("file");
    QStringList files = profileFiles();
    files << "setting/apConfig.bin"
          << "setting/apConfigD.bin"
          << "setting/name.bin"
          << "gun/gunData.bin";
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << f;
}

void TestInstallation::settingsFilesArePlainText()
{
    QFETCH(QString, file);
    QFile f(modulesPath(file));
    QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(file + " is missing"));
    const QByteArray content = f.readAll();
    QVERIFY(!content.isEmpty());
    // Non-ASCII would have to be in the settings library's escaped form; lists must be plain text.
    for (char c : content)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, qPrintable(file + " holds non-ASCII bytes"));
    QVERIFY(!content.contains("@Variant"));
    QVERIFY(!content.contains("@Invalid"));
    QSettings s(modulesPath(file), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
}

void TestInstallation::globalFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("apConfig") << "setting/apConfig.bin";
    QTest::newRow("apConfigD") << "setting/apConfigD.bin";
}

void TestInstallation::globalFile()
{
    QFETCH(QString, file);
    QSettings s(modulesPath(file), QSettings::IniFormat);

    QVERIFY(!s.value("common/name").toString().isEmpty());
    // The first start takes the locale's language: both that it may take are installed.
    QVERIFY(!s.contains("common/language"));
    for (const char *language : {"English", "ChineseSimplified"})
        QVERIFY(QFile::exists(modulesPath("i18n/" + QString(language) + ".ini")));
    QVERIFY(s.value("common/url").toString().startsWith("https://"));

    // Device table entry 0: the virtual mouse, hex texts as discovery parses them.
    REQUIRE_INT(s, "common/deviceCount", deviceCount);
    QCOMPARE(deviceCount, 1);
    const QList<QPair<QString, int>> hexKeys = {
        {"type", 1},       {"vid", 0x4B43},        {"pid", 0x0001},   {"usagePage", 0xFF00},
        {"usage", 0xFF00}, {"usagePage2", 0xFF01}, {"usage2", 0xFF01}};
    for (const auto &[key, expected] : hexKeys) {
        bool ok = false;
        QCOMPARE(s.value("0/" + key).toString().toInt(&ok, 16), expected);
        QVERIFY2(ok, qPrintable(key));
    }
    REQUIRE_INT(s, "0/reportLength", reportLength);
    QCOMPARE(reportLength, 32);
    QCOMPARE(s.value("0/isEncode").toString(), QString("false"));
    QCOMPARE(s.value("0/sCode").toString(), QString("739105"));

    QCOMPARE(s.value("mouse/isColorful").toString(), QString("true"));
    QCOMPARE(s.value("mouse/isGun").toString(), QString("true"));
    QCOMPARE(s.value("mouse/icType").toString(), QString("553"));
    QCOMPARE(s.value("mouse/is55328").toString(), QString("false"));
    QCOMPARE(s.value("mouse/sensorType").toString(), QString("3360"));
    REQUIRE_INT(s, "mouse/keyCount", keyCount);
    QCOMPARE(keyCount, 8);
    REQUIRE_INT(s, "mouse/minDPI", minDPI);
    REQUIRE_INT(s, "mouse/maxDPI", maxDPI);
    REQUIRE_INT(s, "mouse/dpiBase", dpiBase);
    QVERIFY(dpiBase > 0 && minDPI > 0 && minDPI < maxDPI);
    QCOMPARE(minDPI % dpiBase, 0);
    QCOMPARE(maxDPI % dpiBase, 0);
    REQUIRE_INT(s, "mouse/profileNo", profileNo);
    QCOMPARE(profileNo, 0);
    REQUIRE_INT_LIST(s, "mouse/selectGun", selectGun, 3);
    QCOMPARE(selectGun, QList<int>({0, 1, 2}));
}

void TestInstallation::factoryCopyEqualsGlobal()
{
    QSettings global(modulesPath("setting/apConfig.bin"), QSettings::IniFormat);
    QSettings factory(modulesPath("setting/apConfigD.bin"), QSettings::IniFormat);
    QCOMPARE(factory.allKeys(), global.allKeys());
    for (const QString &key : global.allKeys())
        QCOMPARE(factory.value(key), global.value(key));
}

void TestInstallation::profileFile_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &f : profileFiles())
        QTest::newRow(qPrintable(f)) << f;
}

void TestInstallation::profileFile()
{
    QFETCH(QString, file);
    QSettings s(modulesPath(file), QSettings::IniFormat);

    REQUIRE_INT(s, "mouse/dpiCount", dpiCount);
    QVERIFY(dpiCount >= 1 && dpiCount <= 8);
    REQUIRE_INT(s, "mouse/currentDpiCount", currentDpiCount);
    QVERIFY(currentDpiCount >= 1 && currentDpiCount <= dpiCount);
    REQUIRE_INT_LIST(s, "mouse/dpiValueArray", dpiValues, 8);
    REQUIRE_INT(s, "mouse/reportRate", reportRate);
    QVERIFY(reportRate >= 0 && reportRate <= 3);

    REQUIRE_INT_LIST(s, "mouse/lightValue", light, 3);
    QVERIFY(light[0] >= 0 && light[0] <= 10); // a colourful mouse offers effects 0 - 10
    QVERIFY(light[1] >= 0 && light[1] <= 4);
    QVERIFY(light[2] >= 0 && light[2] <= 4);
    REQUIRE_INT_LIST(s, "mouse/colorValue", colours, 24);
    for (int c : colours)
        QVERIFY(c >= 0 && c <= 255);

    REQUIRE_INT(s, "mouse/mouseRate", mouseRate);
    REQUIRE_INT(s, "mouse/doubleRate", doubleRate);
    QVERIFY(mouseRate >= 3 && mouseRate <= 337);
    QVERIFY(doubleRate >= 3 && doubleRate <= 337);
    REQUIRE_INT(s, "mouse/scrollRate", scrollRate);
    QVERIFY((scrollRate >= 1 && scrollRate <= 100) || scrollRate == 1000);

    const QList<QList<int>> builtIn = {{0, 0, 0xF0, 0}, {0, 0, 0xF1, 0}, {0, 0, 0xF2, 0}, {0, 0, 0xF4, 0},
                                       {0, 0, 0xF3, 0}, {5, 0, 1, 0},    {5, 0, 2, 0},    {0, 0xF0, 0x1E, 2},
                                       {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0},    {0, 0, 0, 0},
                                       {0, 0, 0, 0},    {0, 0, 0, 0},    {255, 0, 1, 0},  {255, 0, 2, 0}};
    for (int n = 0; n < 16; ++n) {
        REQUIRE_INT_LIST(s, QStringLiteral("mouseKeyMatrix/%1").arg(n), key, 4);
        QCOMPARE(key, builtIn.at(n));
        REQUIRE_INT_LIST(s, QStringLiteral("mouseFwKeyMatrix/%1").arg(n), gunKey, 4);
        for (int b : gunKey)
            QVERIFY(b >= 0 && b <= 255);
        QVERIFY(s.contains(QStringLiteral("mouseMacroKey/%1").arg(n)));
    }
    for (int i = 0; i < 2; ++i) {
        REQUIRE_INT(s, QStringLiteral("XYSensitive/%1").arg(i), xy);
        QVERIFY(xy >= 0 && xy <= 8);
    }
    for (int g = 0; g < 3; ++g)
        QVERIFY(s.contains(QStringLiteral("selectGun/%1").arg(g)));
}

void TestInstallation::profilesStartFromDefault()
{
    QSettings defaults(modulesPath("setting/pD.bin"), QSettings::IniFormat);
    const QStringList keys = defaults.allKeys();
    QVERIFY(keys.size() > 40);
    for (int p = 1; p <= 10; ++p) {
        QSettings profile(modulesPath(QStringLiteral("setting/p%1.bin").arg(p)), QSettings::IniFormat);
        QCOMPARE(profile.allKeys(), keys);
        for (const QString &key : keys)
            QCOMPARE(profile.value(key), defaults.value(key));
    }
}

// The DPI page shows a stored value through its slider and stores back what the slider shows; the
// stored stages must come back unchanged and encode for the sensor without touching 0x80 ("off").
void TestInstallation::dpiStagesSurviveThePage()
{
    QSettings global(modulesPath("setting/apConfig.bin"), QSettings::IniFormat);
    const int minDPI = global.value("mouse/minDPI").toInt();
    const int maxDPI = global.value("mouse/maxDPI").toInt();
    const int base = global.value("mouse/dpiBase").toInt();
    QVERIFY(base > 0 && maxDPI > minDPI);
    const auto sliderValue = [&](int position) {
        return int(((position - 3) * double(maxDPI - minDPI) / 158 + minDPI) / base) * base;
    };
    QCOMPARE(sliderValue(3), minDPI);
    QCOMPARE(sliderValue(161), maxDPI);
    // Every multiple of the step must be reachable: one slider step moves less than the step.
    QVERIFY(double(maxDPI - minDPI) / 158 < base);

    for (const QString &file : profileFiles()) {
        QSettings s(modulesPath(file), QSettings::IniFormat);
        for (const QString &item : s.value("mouse/dpiValueArray").toStringList()) {
            const int value = item.toInt();
            QVERIFY2(value >= minDPI && value <= maxDPI, qPrintable(file + " " + item));
            QCOMPARE(value % base, 0);
            const double ratio = double(value - minDPI) / (maxDPI - minDPI);
            QCOMPARE(sliderValue(int(158 * ratio) + 4), value);
            const int code = value / 100 - 1; // sensor 3360
            QVERIFY(code >= 0 && code < 0x80);
        }
    }
}

// The gun matrices are sent from the template as they stand, so it must be a working matrix in the
// device's form: the built-in buttons, converted.
void TestInstallation::gunTemplateIsTheMatrixInDeviceForm()
{
    QSettings s(modulesPath("setting/pD.bin"), QSettings::IniFormat);
    for (int n = 0; n < 16; ++n) {
        QList<int> key, gunKey;
        QVERIFY(readIntList(s, QStringLiteral("mouseKeyMatrix/%1").arg(n), &key));
        QVERIFY(readIntList(s, QStringLiteral("mouseFwKeyMatrix/%1").arg(n), &gunKey));
        QCOMPARE(gunKey, deviceKeyForm(key));
    }
}

void TestInstallation::nameList()
{
    const QString path = modulesPath("setting/name.bin");
    QSettings s(path, QSettings::IniFormat);
    // One profile, named by the profile page's first-profile text and number 0, with the dummy entry.
    const QString standard = sectionTexts("English", "profile").value(5);
    QCOMPARE(s.value("profile/profileName").toStringList(), QStringList({standard + "0", "loaderveltis"}));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("profileName=Standard0, loaderveltis\n"));
    QVERIFY(!s.contains("macro/macroName")); // no macros yet: an empty list is never stored
}

void TestInstallation::gunPresets()
{
    QSettings s(modulesPath("gun/gunData.bin"), QSettings::IniFormat);
    s.beginGroup("gunData");
    QCOMPARE(s.childKeys(), QStringList({"0", "1", "2", "3", "4", "5"}));
    s.endGroup();
    const QStringList names{"M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"};
    for (int p = 0; p < 6; ++p) {
        const QVariant v = s.value(QStringLiteral("gunData/%1").arg(p));
        QCOMPARE(v.typeId(), int(QMetaType::QStringList));
        QCOMPARE(v.toStringList(), QStringList({names.at(p), "L-Click", "10", "0", "10", "0"}));
    }
    QSettings global(modulesPath("setting/apConfig.bin"), QSettings::IniFormat);
    for (const QString &selected : global.value("mouse/selectGun").toStringList())
        QVERIFY(s.contains("gunData/" + selected));
}

void TestInstallation::languageSections_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("section");
    QTest::addColumn<int>("count");
    for (const QString language : {"English", "ChineseSimplified"})
        for (const auto &[section, count] : sectionCounts)
            QTest::addRow("%s %s", qPrintable(language), qPrintable(section)) << language << section << count;
}

void TestInstallation::languageSections()
{
    QFETCH(QString, language);
    QFETCH(QString, section);
    QFETCH(int, count);
    QSettings s(modulesPath("i18n/" + language + ".ini"), QSettings::IniFormat);
    QCOMPARE(s.status(), QSettings::NoError);
    s.beginGroup(section);
    QCOMPARE(s.value("total").toString(), QString::number(count));
    QStringList expectedKeys{"total"};
    for (int i = 0; i < count; ++i) {
        QVERIFY2(s.contains(QString::number(i)), qPrintable(QStringLiteral("index %1").arg(i)));
        QCOMPARE(s.value(QString::number(i)).typeId(), int(QMetaType::QString));
        expectedKeys << QString::number(i);
    }
    QStringList keys = s.childKeys();
    keys.sort();
    expectedKeys.sort();
    QCOMPARE(keys, expectedKeys);
}

void TestInstallation::englishTexts()
{
    const auto texts = [](const QString &section) { return sectionTexts("English", section); };
    QCOMPARE(texts("main").mid(0, 14),
             QStringList({"Editor", "Macro Editor", "Gun Editor", "Report Rate", "Config", "Reset",
                          "Reset this profile to its factory settings?", "Cancel", "OK", "System Settings",
                          "Save", "Unsaved changes",
                          "Profile “%1” has changes that are not saved. Save them first?", "Discard"}));
    QCOMPARE(texts("main").mid(24), QStringList({"Language", "Version", "English"}));
    QCOMPARE(texts("keyMatrix").mid(0, 3), QStringList({"Key ", "Key Function", ""}));
    const QStringList assignment = texts("keyAssigment");
    QCOMPARE(assignment.mid(0, 3), QStringList({"Key ", "Mouse Function", "Left Key"}));
    QCOMPARE(assignment.mid(27, 8),
             QStringList({"Player", "Next", "Previous", "Stop", "Mute", "Play/Pause", "Volume+", "Volume-"}));
    QCOMPARE(assignment.mid(51, 9), QStringList({"Select All", "Gun Function", "Gun 1", "Gun 2", "Gun 3",
                                                 "Sniper Key", "", "", ""}));
    QCOMPARE(assignment.at(18), QString("Macro runs as many times as set in the macro editor"));
    QCOMPARE(texts("dpiSetting"), QStringList({"DPI", "", "", "", ""}));
    const QStringList light = texts("lightControl");
    QCOMPARE(light.mid(0, 5), QStringList({"Light", "Static", "Breath", "Neon", "Off"}));
    QCOMPARE(light.mid(14, 3), QStringList({"Spotlight", "Breath Loop", ""}));
    const QStringList macro = texts("macroEditor");
    QCOMPARE(macro.mid(0, 3), QStringList({"Macro Editor", "Macro Name", "New"}));
    QCOMPARE(macro.mid(16, 3), QStringList({"Insert Middle Key", "Insert Right Key", ""}));
    QCOMPARE(texts("systemSetting").mid(6, 3),
             QStringList({"Lines per Notch", "One Screen per Notch", "Changed on this desktop:"}));
    QCOMPARE(texts("gunControl"), QStringList({"Gun Editor", "Gun", "Select Gun", "Cursor Adjust", "X Axis",
                                               "Y Axis", "Fire Adjust", "Rate", "Times", "Endless"}));
    QCOMPARE(texts("profile").mid(0, 8),
             QStringList({"Config", "New", "Import", "Delete", "Export", "Standard",
                          QString::fromUtf8("Programs that switch to “%1”:"), QString::fromUtf8("Link to program…")}));
    QCOMPARE(texts("other"), QStringList(8, "DPI Switch to"));

    const QStringList keyNames = texts("keyCode");
    QCOMPARE(keyNames, expectedKeyNames());
    // Spot-check positions against their codes: 0x31 and 0x32 share a name, the arrows keep theirs.
    QCOMPARE(keyNames.at(0x31 - 4), QString("\\"));
    QCOMPARE(keyNames.at(0x32 - 4), QString("\\"));
    QCOMPARE(keyNames.at(0x4F - 4), QString::fromUtf8("►"));
    QCOMPARE(keyNames.at(0x36 - 4), QString(","));
}

void TestInstallation::chineseTexts()
{
    // Macro files store key names, so the names must not change with the language.
    QCOMPARE(sectionTexts("ChineseSimplified", "keyCode"), sectionTexts("English", "keyCode"));

    const QString title = sectionTexts("ChineseSimplified", "main").value(0);
    QVERIFY(!title.isEmpty());
    QVERIFY2(title.at(0).unicode() >= 0x4E00 && title.at(0).unicode() <= 0x9FFF, qPrintable(title));
    for (const auto &[section, count] : sectionCounts) {
        const QStringList english = sectionTexts("English", section);
        const QStringList chinese = sectionTexts("ChineseSimplified", section);
        QCOMPARE(chinese.size(), count);
        for (int i = 0; i < count; ++i) {
            QVERIFY2(!chinese.at(i).contains(QChar::ReplacementCharacter), qPrintable(section));
            // A text is translated where the page has one, and left empty where the page has none.
            QCOMPARE(chinese.at(i).isEmpty(), english.at(i).isEmpty());
        }
    }
    QCOMPARE(sectionTexts("ChineseSimplified", "profile").value(5), QString::fromUtf8("标准"));
}

void TestInstallation::logoHasSeveralSizes()
{
    const QString path = modulesPath("img/logo.ico");
    QImageReader reader(path);
    QVERIFY2(reader.canRead(), qPrintable(reader.errorString()));
    QVERIFY(reader.imageCount() >= 4);
    QList<int> widths;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QCOMPARE(image.width(), image.height());
        widths << image.width();
    }
    for (int size : {16, 32, 48, 256})
        QVERIFY2(widths.contains(size), qPrintable(QString::number(size)));
    const QIcon icon(path);
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().size() >= 4);
}

void TestInstallation::macroFolderExists()
{
    QVERIFY(QDir(modulesPath("macro")).exists());
}

QTEST_MAIN(TestInstallation)
#include "tst_installation.moc"
