// The scene's rule libraries without a scene.
#include "SceneRules.h"

#include "LanguageStrings.h"
#include "NameListStore.h"
#include "SettingsStore.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QVariantMap>

namespace {

// The pages' composition of the rules. The starting values are the pages' own: a profile that names no
// count or range keeps them.
const char *const kRules = R"(
import QtQml
import "js/NameList.js" as NameList
import "js/Dpi.js" as Dpi

QtObject {
    function profiles(stored, firstName) {
        var list = NameList.parseProfiles(stored);
        if (list.length === 0)
            list = [{name: "", number: 0}];
        list[0].name = firstName;
        return list;
    }
    function dpiStages(countText, enabledText, stored, minText, maxText, baseText) {
        var counts = Dpi.stageCounts(countText, enabledText, {dpiCount: 4, currentDpiCount: 4});
        var range = Dpi.limits(minText, maxText, baseText, {minDPI: 200, maxDPI: 6000, dpiBase: 50});
        var list = Dpi.listOf(stored);
        var values = [];
        for (var i = 0; i < counts.currentDpiCount && i < Dpi.STAGES; ++i)
            values.push(Dpi.storedValue(list, i, range.minDPI, range.maxDPI, range.dpiBase));
        return {count: values.length, values: values};
    }
}
)";

// The profile dialog's fallback name of the first profile.
const char *const kFirstProfileName = "Standard";

QVariant call(QObject *rules, const char *function, const QVariantList &arguments)
{
    QVariant result;
    QGenericArgument args[6];
    for (int i = 0; i < arguments.size() && i < 6; ++i)
        args[i] = Q_ARG(QVariant, arguments.at(i));
    QMetaObject::invokeMethod(rules, function, Q_RETURN_ARG(QVariant, result), args[0], args[1], args[2],
                              args[3], args[4], args[5]);
    return result;
}

} // namespace

SceneRules::SceneRules() : m_engine(std::make_unique<QQmlEngine>())
{
    QQmlComponent component(m_engine.get());
    component.setData(QByteArray(kRules), QUrl(QStringLiteral("qrc:/modules/qml/SceneRules.qml")));
    m_rules = component.create();
    if (!m_rules)
        m_error = component.errorString();
    else
        m_rules->setParent(m_engine.get());
}

SceneRules::~SceneRules() = default;

QList<SceneRules::Profile> SceneRules::profiles(const SettingsStore &store)
{
    QList<Profile> out;
    if (!m_rules)
        return out;
    const QString language =
        LanguageStrings::chosenLanguage(store.getGlobalData(QStringLiteral("common/language")));
    const QStringList texts = LanguageStrings().getLangStrings(QStringLiteral("profile"), language);
    const QString first = texts.size() > 5 ? texts.at(5) : QString::fromLatin1(kFirstProfileName);
    const QVariant list =
        call(m_rules, "profiles", {QVariant(NameListStore().getNameList(2)), QVariant(first)});
    for (const QVariant &entry : list.toList()) {
        const QVariantMap map = entry.toMap();
        out.append(
            {map.value(QStringLiteral("number")).toInt(), map.value(QStringLiteral("name")).toString()});
    }
    return out;
}

SceneRules::DpiStages SceneRules::dpiStages(const SettingsStore &store)
{
    DpiStages stages;
    if (!m_rules)
        return stages;
    const QVariant result = call(m_rules, "dpiStages",
                                 {store.getData(QStringLiteral("mouse/dpiCount"), false),
                                  store.getData(QStringLiteral("mouse/currentDpiCount"), false),
                                  QVariant(store.getDataList(QStringLiteral("mouse/dpiValueArray"), false)),
                                  store.getGlobalData(QStringLiteral("mouse/minDPI")),
                                  store.getGlobalData(QStringLiteral("mouse/maxDPI")),
                                  store.getGlobalData(QStringLiteral("mouse/dpiBase"))});
    const QVariantMap map = result.toMap();
    stages.count = map.value(QStringLiteral("count")).toInt();
    for (const QVariant &v : map.value(QStringLiteral("values")).toList())
        stages.values << v.toInt();
    return stages;
}
