// Writes the default installation into a modules/ folder: settings files through QSettings (so every
// value has exactly the form the program reads back), language files as UTF-8 INI in index order.
#include "LanguageTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

QVariantList ints(std::initializer_list<int> values)
{
    QVariantList list;
    for (int v : values)
        list << v;
    return list;
}

// Starts from an empty file: QSettings would otherwise merge with what is already there.
bool writeSettings(const QString &path, const std::function<void(QSettings &)> &fill)
{
    QFile::remove(path);
    QSettings settings(path, QSettings::IniFormat);
    fill(settings);
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

void fillGlobal(QSettings &s)
{
    s.setValue("common/name", QStringLiteral("Kestral Config"));
    // No language: the first start takes the locale's and stores it.
    s.setValue("common/url", QStringLiteral("https://kestral.example.com"));

    // Device table: the one mouse of this installation, a 553-family mouse with a vendor command
    // interface and a separate event interface.
    s.setValue("common/deviceCount", 1);
    s.setValue("0/type", QStringLiteral("1"));
    s.setValue("0/vid", QStringLiteral("4b43"));
    s.setValue("0/pid", QStringLiteral("0001"));
    s.setValue("0/usagePage", QStringLiteral("ff00"));
    s.setValue("0/usage", QStringLiteral("ff00"));
    s.setValue("0/usagePage2", QStringLiteral("ff01"));
    s.setValue("0/usage2", QStringLiteral("ff01"));
    s.setValue("0/reportLength", 32);
    s.setValue("0/isEncode", false);
    s.setValue("0/sCode", QStringLiteral("739105"));

    s.setValue("mouse/isColorful", true);
    s.setValue("mouse/isGun", true);
    s.setValue("mouse/icType", QStringLiteral("553"));
    s.setValue("mouse/is55328", false);
    // Eight physical buttons (positions 0 - 7 of the 16-entry matrix; 8 - 15 are spare or internal).
    s.setValue("mouse/keyCount", 8);
    // The sensor encodes value / 100 - 1, so 100 DPI steps; 12000 keeps every code below 0x80, which
    // the 553 family reserves for "stage off". (12000 - 100) / 158 slider steps < 100, so every
    // multiple of 100 in range is reachable on the DPI sliders.
    s.setValue("mouse/sensorType", QStringLiteral("3360"));
    s.setValue("mouse/minDPI", 100);
    s.setValue("mouse/maxDPI", 12000);
    s.setValue("mouse/dpiBase", 100);
    s.setValue("mouse/profileNo", 0);
    s.setValue("mouse/selectGun", ints({0, 1, 2}));
}

void fillProfile(QSettings &s)
{
    s.setValue("mouse/dpiCount", 8);
    s.setValue("mouse/currentDpiCount", 4);
    s.setValue("mouse/dpiValueArray", ints({400, 800, 1600, 3200, 6400, 8000, 10000, 12000}));
    s.setValue("mouse/reportRate", 3);               // 1000 Hz
    s.setValue("mouse/lightValue", ints({1, 2, 4})); // breathing, middle speed, full brightness
    s.setValue("mouse/colorValue", ints({255, 0,   0,   0,   255, 0, 0,  0, 255, 255, 0,   255,
                                         0,   255, 255, 255, 127, 0, 96, 0, 255, 255, 255, 255}));
    // Knob positions in the middle of the 3 - 337 sliders: speed index 5 for both.
    s.setValue("mouse/mouseRate", 170);
    s.setValue("mouse/doubleRate", 170);
    s.setValue("mouse/scrollRate", 3);

    // Buttons in the pages' form: left, right, middle, forward, back, DPI up, DPI down, double click,
    // six unused, and the two internal entries.
    const QList<QVariantList> keys = {
        ints({0, 0, 0xF0, 0}), ints({0, 0, 0xF1, 0}), ints({0, 0, 0xF2, 0}), ints({0, 0, 0xF4, 0}),
        ints({0, 0, 0xF3, 0}), ints({5, 0, 1, 0}),    ints({5, 0, 2, 0}),    ints({0, 0xF0, 0x1E, 2}),
        ints({0, 0, 0, 0}),    ints({0, 0, 0, 0}),    ints({0, 0, 0, 0}),    ints({0, 0, 0, 0}),
        ints({0, 0, 0, 0}),    ints({0, 0, 0, 0}),    ints({255, 0, 1, 0}),  ints({255, 0, 2, 0})};
    // The gun matrices start from this template, which the program sends as it stands: it is the
    // matrix above in the device's form (mouse button 1, DPI function 7, double click 10, internal 4),
    // exactly as the main matrix goes out, so a gun matrix keeps every ordinary button working.
    const QList<QVariantList> gunTemplate = {
        ints({1, 0, 0xF0, 0}), ints({1, 0, 0xF1, 0}), ints({1, 0, 0xF2, 0}), ints({1, 0, 0xF4, 0}),
        ints({1, 0, 0xF3, 0}), ints({7, 0, 1, 0}),    ints({7, 0, 2, 0}),    ints({10, 0xF0, 0x1E, 2}),
        ints({1, 0, 0, 0}),    ints({1, 0, 0, 0}),    ints({1, 0, 0, 0}),    ints({1, 0, 0, 0}),
        ints({1, 0, 0, 0}),    ints({1, 0, 0, 0}),    ints({4, 0, 1, 0}),    ints({4, 0, 2, 0})};
    for (int n = 0; n < 16; ++n) {
        s.setValue(QStringLiteral("mouseKeyMatrix/%1").arg(n), keys.at(n));
        s.setValue(QStringLiteral("mouseFwKeyMatrix/%1").arg(n), gunTemplate.at(n));
        s.setValue(QStringLiteral("mouseMacroKey/%1").arg(n), QString());
    }

    s.setValue("XYSensitive/0", 4);
    s.setValue("XYSensitive/1", 4);
    for (int g = 0; g < 3; ++g)
        s.setValue(QStringLiteral("selectGun/%1").arg(g), g);
}

const QStringList gunNames = {"M416", "AKM", "M16A4", "SCAR-L", "UNP9", "Thomson"};

void fillGuns(QSettings &s)
{
    for (int p = 0; p < gunNames.size(); ++p)
        s.setValue(QStringLiteral("gunData/%1").arg(p),
                   QStringList{gunNames.at(p), "L-Click", "10", "0", "10", "0"});
}

void fillNames(QSettings &s)
{
    // The first profile is number 0; a one-name list carries the dummy second entry.
    s.setValue("profile/profileName", QStringList{"Standard0", "loaderveltis"});
    s.setValue("gun/gunName", gunNames);
}

// The INI value form the settings library reads back as the same single string.
QString iniValue(const QString &text)
{
    QString out;
    bool quote = text.startsWith(' ') || text.endsWith(' ');
    for (QChar c : text) {
        if (c == ';' || c == ',' || c == '=')
            quote = true;
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return quote ? '"' + out + '"' : out;
}

bool writeLanguage(const QString &path, bool chinese)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    bool first = true;
    for (const LanguageSection &section : languageSections()) {
        const QStringList &texts = chinese ? section.chinese : section.english;
        if (!first)
            out << "\n";
        first = false;
        out << "[" << section.name << "]\n";
        out << "total=" << texts.size() << "\n";
        for (int i = 0; i < texts.size(); ++i)
            out << i << "=" << iniValue(texts.at(i)) << "\n";
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s MODULES_DIR\n", argv[0]);
        return 2;
    }
    const QDir modules(QString::fromLocal8Bit(argv[1]));
    for (const char *sub : {"setting", "gun", "i18n", "macro"})
        modules.mkpath(sub);

    for (const LanguageSection &section : languageSections()) {
        if (section.english.size() != section.chinese.size()) {
            std::fprintf(stderr, "section %s: translations out of step\n", qPrintable(section.name));
            return 1;
        }
    }

    bool ok = writeSettings(modules.filePath("setting/apConfig.bin"), fillGlobal) &&
              writeSettings(modules.filePath("setting/apConfigD.bin"), fillGlobal) &&
              writeSettings(modules.filePath("setting/pD.bin"), fillProfile) &&
              writeSettings(modules.filePath("setting/name.bin"), fillNames) &&
              writeSettings(modules.filePath("gun/gunData.bin"), fillGuns) &&
              writeLanguage(modules.filePath("i18n/English.ini"), false) &&
              writeLanguage(modules.filePath("i18n/ChineseSimplified.ini"), true);
    for (int p = 1; ok && p <= 10; ++p)
        ok = writeSettings(modules.filePath(QStringLiteral("setting/p%1.bin").arg(p)), fillProfile);
    return ok ? 0 : 1;
}
