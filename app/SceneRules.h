// The scene's own rules for reading a profile, run without a scene: its rule libraries (js/) in a QML
// engine that needs no window, so the command line reads profiles exactly as the pages do.
#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <memory>

class QObject;
class QQmlEngine;
class SettingsStore;

class SceneRules
{
public:
    struct Profile
    {
        int number = 0;
        QString name;
    };
    struct DpiStages
    {
        int count = 0;     // stages the mouse steps through
        QList<int> values; // DPI of stages 1 … count
    };

    SceneRules();
    ~SceneRules();
    bool isValid() const { return m_rules != nullptr; }
    QString error() const { return m_error; }

    // The profile list as the profile dialog shows it: the first entry carries the language's name.
    QList<Profile> profiles(const SettingsStore &store);
    // The active profile's enabled stages as the DPI page loads them.
    DpiStages dpiStages(const SettingsStore &store);

private:
    std::unique_ptr<QQmlEngine> m_engine;
    QObject *m_rules = nullptr;
    QString m_error;
};
