// The links between programs and profiles as the scene sees them ("appProfiles"): the profile dialog
// reads and edits them through this object, lists the windows open now to link one, and learns how
// far programs can be followed on this desktop.
#pragma once

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <memory>

class ActiveWindowWatcher;
class SceneRules;
class SettingsStore;
struct FocusedProgram;

class AppProfiles : public QObject
{
    Q_OBJECT
    // Raised with every change, so that bindings that read links() read them again.
    Q_PROPERTY(int revision READ revision NOTIFY changed)
    Q_PROPERTY(int defaultProfile READ defaultProfile WRITE setDefaultProfile NOTIFY changed)
    Q_PROPERTY(bool balloons READ balloons WRITE setBalloons NOTIFY changed)
    // "all", "x11" (X11 programs only: a Wayland desktop through XWayland) or "none".
    Q_PROPERTY(QString coverage READ coverage NOTIFY coverageChanged)
public:
    explicit AppProfiles(SettingsStore &store, QObject *parent = nullptr);
    ~AppProfiles() override;

    int revision() const { return m_revision; }
    int defaultProfile();
    void setDefaultProfile(int profile);
    bool balloons();
    void setBalloons(bool on);
    QString coverage() const;

    // [{program, profile}] in stored order.
    Q_INVOKABLE QVariantList links();
    Q_INVOKABLE bool link(const QString &program, int profile);
    Q_INVOKABLE bool unlink(const QString &program);
    // The profile left the list.
    Q_INVOKABLE void dropProfile(int profile);
    // [{title, program}] of the other programs' windows open now.
    Q_INVOKABLE QVariantList openWindows();

    bool hasLinks();
    // The profile for the program: its link's, else the default.
    int profileFor(const FocusedProgram &program);
    // A profile's name as the list shows it.
    QString profileName(int profile);

    void setWatcher(ActiveWindowWatcher *watcher);
    // Someone else changed the links (the command line, through the window).
    void reload();

signals:
    void changed();
    void coverageChanged();

private:
    QList<int> profileNumbers();

    SettingsStore &m_store;
    std::unique_ptr<SceneRules> m_rules;
    QPointer<ActiveWindowWatcher> m_watcher;
    int m_revision = 0;
};
