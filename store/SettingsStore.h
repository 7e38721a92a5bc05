// The settings objects of the global, default and ten profile files, the current profile, the
// capability flags, the generic get/set operations and the whole-file profile operations.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <memory>

class FileChooser;
class QSettings;
class QWidget;

class SettingsStore
{
public:
    static constexpr int ProfileCount = 10;
    // Rows of the global file's device table ("common/deviceCount") that are ever read: more than any
    // installation lists, so a corrupt count can neither stall discovery nor grow the table.
    static constexpr int DeviceTableRows = 256;

    static QString globalPath() { return QStringLiteral("./modules/setting/apConfig.bin"); }
    static QString factoryGlobalPath() { return QStringLiteral("./modules/setting/apConfigD.bin"); }
    static QString defaultProfilePath() { return QStringLiteral("./modules/setting/pD.bin"); }
    // "./modules/setting/p1.bin" for position 0 … "p10.bin" for position 9.
    static QString profilePath(int profile);
    static bool isProfileNumber(int profile) { return profile >= 0 && profile < ProfileCount; }

    // Opens the twelve settings objects and reads the capability flags, relative to the working
    // directory. Without a chooser the platform's file dialogs are used.
    explicit SettingsStore(FileChooser *chooser = nullptr);
    ~SettingsStore();
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QVariant getData(const QVariant &key, bool isRecovery) const;
    QVariantList getDataList(const QVariant &key, bool isRecovery) const;
    QVariant getGlobalData(const QVariant &key) const;
    void setData(const QVariant &key, const QVariant &data);
    void setDataList(const QVariant &key, const QVariantList &datalist);
    void setGlobalData(const QVariant &key, const QVariant &tmpdata);
    // Numbers outside 0 … 9 are ignored; the current profile stays as it was.
    void setCurrentProfile(int profile);
    int currentProfile() const { return m_currentProfile; }

    // Read once at construction; later changes of the global file do not reach them.
    bool isColorful() const { return m_isColorful; }
    bool isGun() const { return m_isGun; }
    QString icType() const { return m_icType; }
    bool is55328() const { return m_is55328; }

    QSettings *globalSettings() const { return m_global; }
    QSettings *defaultSettings() const { return m_default; }
    // nullptr outside 0 … 9.
    QSettings *profileSettings(int profile) const;
    QSettings *currentProfileSettings() const { return m_profiles.at(m_currentProfile); }

    // Import, export, reset and copy of whole profile files, and reset of the global file.
    // Import: false when cancelled, and when the chosen file was refused or could not be written (the
    // person is told why, SettingsNotice).
    bool loadProfile(int profile);
    void saveProfile(int profile);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    void resetApconfig();

    FileChooser &fileChooser() const { return *m_chooser; }
    QWidget *dialogParent() const { return m_dialogParent; }
    void setDialogParent(QWidget *parent) { m_dialogParent = parent; }
    // "common/name" of the global file, read through a temporary settings object.
    static QString windowTitle();
    // The folder the file dialogs open in: the one a dialog last chose from, while it exists, else the
    // user's home (a desktop folder need not exist).
    QString dialogFolder() const;
    // A dialog's choice: its folder is where the next dialog opens.
    void rememberChosen(const QString &path);
    // The path with ".suffix" added when its file name has no suffix of its own.
    static QString withSuffix(const QString &path, const QString &suffix);
    // The file name, without its suffix, of the last profile imported; empty before one.
    QString importedProfileName() const { return m_importedProfileName; }
    // Why an import into `path` failed when writing it did, as the end of a sentence.
    static QString writeFailure(const QString &path);

private:
    // False when the file could not be written (it is then as it was).
    bool replaceProfileFile(int profile, const QString &source);
    static QSettings *openGlobal();
    void syncIfOpen(const QString &path);
    static void retire(QSettings *settings);

    std::unique_ptr<FileChooser> m_ownChooser;
    FileChooser *m_chooser = nullptr;
    QWidget *m_dialogParent = nullptr;
    QString m_lastFolder;
    QString m_importedProfileName;

    QSettings *m_global = nullptr;
    QSettings *m_default = nullptr;
    QList<QSettings *> m_profiles;
    int m_currentProfile = 0;

    bool m_isColorful = false;
    bool m_isGun = false;
    QString m_icType;
    bool m_is55328 = false;
};
