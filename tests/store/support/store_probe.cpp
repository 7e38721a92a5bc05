// Reads one value through the settings store in a fresh process and prints it as JSON:
//   kc_store_probe <dir> getData <key> <0|1> | getDataList <key> <0|1> | getGlobalData <key>
//                  | getNameList <type> | loadMacroIni <name> | getGunData <name>
//                  | getLangStrings <section> <code> | flags
#include "GunDataStore.h"
#include "LanguageStrings.h"
#include "MacroStore.h"
#include "NameListStore.h"
#include "SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

QJsonObject describe(const QVariant &value)
{
    const QString typeName =
        value.isValid() ? QString::fromLatin1(value.typeName()) : QStringLiteral("Invalid");
    QJsonObject out{{QStringLiteral("type"), typeName}};
    const int type = value.metaType().id();
    if (type == QMetaType::QVariantList || type == QMetaType::QStringList) {
        QJsonArray values;
        QJsonArray types;
        for (const QVariant &element : value.toList()) {
            values.append(element.toString());
            types.append(QString::fromLatin1(element.typeName()));
        }
        out.insert(QStringLiteral("value"), values);
        out.insert(QStringLiteral("elementTypes"), types);
    } else {
        out.insert(QStringLiteral("value"), value.toString());
    }
    return out;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || !QDir::setCurrent(args.at(0)))
        return 2;
    const QString command = args.at(1);
    const QString a = args.value(2);
    const QString b = args.value(3);

    SettingsStore settings;
    QVariant result;
    if (command == QLatin1String("getData"))
        result = settings.getData(a, b == QLatin1String("1"));
    else if (command == QLatin1String("getDataList"))
        result = settings.getDataList(a, b == QLatin1String("1"));
    else if (command == QLatin1String("getGlobalData"))
        result = settings.getGlobalData(a);
    else if (command == QLatin1String("getNameList"))
        result = NameListStore().getNameList(a);
    else if (command == QLatin1String("loadMacroIni"))
        result = MacroStore(settings).loadMacroIni(a);
    else if (command == QLatin1String("getGunData"))
        result = GunDataStore(settings).getGunData(a);
    else if (command == QLatin1String("getLangStrings"))
        result = LanguageStrings().getLangStrings(a, b);
    else if (command == QLatin1String("flags"))
        result = QStringList{QString::number(settings.isColorful()), QString::number(settings.isGun()),
                             settings.icType(), QString::number(settings.is55328())};
    else
        return 2;

    std::fputs(QJsonDocument(describe(result)).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
