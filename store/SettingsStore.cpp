// The settings objects of the global, default and ten profile files, the current profile, the
// capability flags, the generic get/set operations and the whole-file profile operations.
#include "SettingsStore.h"

#include "DialogFileChooser.h"
#include "ImportedFile.h"
#include "SettingsFile.h"
#include "SettingsNotice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString SettingsStore::profilePath(int profile)
{
    return QStringLiteral("./modules/setting/p%1.bin").arg(profile + 1);
}

QString SettingsStore::dialogFolder() const
{
    if (!m_lastFolder.isEmpty() && QFileInfo(m_lastFolder).isDir())
        return m_lastFolder;
    return QDir::homePath();
}

void SettingsStore::rememberChosen(const QString &path)
{
    if (!path.isEmpty())
        m_lastFolder = QFileInfo(path).absolutePath();
}

QString SettingsStore::withSuffix(const QString &path, const QString &suffix)
{
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return path;
    return path + QLatin1Char('.') + suffix;
}

QString SettingsStore::windowTitle()
{
    QSettings global(globalPath(), QSettings::IniFormat);
    return global.value(QStringLiteral("common/name"), QString()).toString();
}

SettingsStore::SettingsStore(FileChooser *chooser) : m_chooser(chooser)
{
    if (!m_chooser) {
        m_ownChooser = std::make_unique<DialogFileChooser>();
        m_chooser = m_ownChooser.get();
    }

    m_global = openGlobal();
    // Never written, so an unreadable default profile needs no copy kept aside.
    m_default = new QSettings(defaultProfilePath(), QSettings::IniFormat);
    for (int i = 0; i < ProfileCount; ++i)
        m_profiles.append(SettingsFile::open(profilePath(i)));

    m_isColorful = m_global->value(QStringLiteral("mouse/isColorful"), QVariant()).toBool();
    m_isGun = m_global->value(QStringLiteral("mouse/isGun"), QVariant()).toBool();
    m_icType = m_global->value(QStringLiteral("mouse/icType"), QVariant()).toString();
    m_is55328 = m_global->value(QStringLiteral("mouse/is55328"), QVariant()).toBool();
}

SettingsStore::~SettingsStore()
{
    delete m_global;
    delete m_default;
    qDeleteAll(m_profiles);
}

QVariant SettingsStore::getData(const QVariant &key, bool isRecovery) const
{
    QSettings *settings = isRecovery ? m_default : currentProfileSettings();
    return settings->value(key.toString());
}

QVariantList SettingsStore::getDataList(const QVariant &key, bool isRecovery) const
{
    return SettingsFile::asList(getData(key, isRecovery));
}

QVariant SettingsStore::getGlobalData(const QVariant &key) const
{
    return m_global->value(key.toString());
}

void SettingsStore::setData(const QVariant &key, const QVariant &data)
{
    currentProfileSettings()->setValue(key.toString(), data);
}

void SettingsStore::setDataList(const QVariant &key, const QVariantList &datalist)
{
    currentProfileSettings()->setValue(key.toString(), datalist);
}

void SettingsStore::setGlobalData(const QVariant &key, const QVariant &tmpdata)
{
    m_global->setValue(key.toString(), tmpdata);
}

void SettingsStore::setCurrentProfile(int profile)
{
    if (isProfileNumber(profile))
        m_currentProfile = profile;
}

QSettings *SettingsStore::profileSettings(int profile) const
{
    return isProfileNumber(profile) ? m_profiles.at(profile) : nullptr;
}

bool SettingsStore::loadProfile(int profile)
{
    if (!isProfileNumber(profile))
        return false;
    const QString chosen =
        m_chooser->openFile(m_dialogParent, QCoreApplication::translate("myQQuickView", "Open File"),
                            dialogFolder(), QCoreApplication::translate("myQQuickView", "Profile(*.pf)"));
    if (chosen.isEmpty())
        return false;
    rememberChosen(chosen);
    // A chosen file that is one of our own is read with the values set through it so far.
    syncIfOpen(chosen);
    const ImportedFile file = ImportedFile::read(chosen, ImportedFile::Kind::Profile);
    if (!file.isUsable()) {
        // The number stays free, so the page lists nothing that would show what its file held before.
        SettingsNotice::instance().importRefused(QStringLiteral("profile"), chosen, file.refusal());
        return false;
    }
    const QString fileName = m_profiles.at(profile)->fileName();
    retire(m_profiles.takeAt(profile));
    const bool replaced = SettingsFile::replaceWith(fileName, file.content());
    if (!replaced)
        SettingsNotice::instance().importRefused(QStringLiteral("profile"), chosen, writeFailure(fileName));
    m_profiles.insert(profile, SettingsFile::open(fileName));
    if (replaced)
        m_importedProfileName = QFileInfo(chosen).completeBaseName();
    return replaced;
}

QString SettingsStore::writeFailure(const QString &path)
{
    return QStringLiteral(
               "writing it into the folder %1 failed (the folder is read-only or its disk is full)")
        .arg(QDir::cleanPath(QFileInfo(path).absolutePath()));
}

void SettingsStore::saveProfile(int profile)
{
    if (!isProfileNumber(profile))
        return;
    // A name typed without a suffix still makes a profile file.
    const QString chosen = withSuffix(
        m_chooser->saveFile(m_dialogParent, QCoreApplication::translate("myQQuickView", "Save File"),
                            dialogFolder(), QCoreApplication::translate("myQQuickView", "Profile(*.pf)")),
        QStringLiteral("pf"));
    if (chosen.isEmpty())
        return;
    rememberChosen(chosen);

    const QString source = profilePath(profile);
    // Values set a moment ago belong in the export too.
    SettingsFile::commit(m_profiles.at(profile));
    // Without a source there is nothing to export, and the user's file is not worth losing for it;
    // exporting onto the profile file itself would delete the very file to be copied.
    if (!SettingsFile::isReadableFile(source) || SettingsFile::isSameFile(chosen, source))
        return;
    // An earlier export of that name survives a copy that fails.
    SettingsFile::replace(chosen, source);
}

void SettingsStore::resetProfile(int profile)
{
    if (!isProfileNumber(profile))
        return;
    replaceProfileFile(profile, defaultProfilePath());
}

void SettingsStore::copyProfile(int destprofile, int srcprofile)
{
    if (!isProfileNumber(destprofile) || !isProfileNumber(srcprofile) || destprofile == srcprofile)
        return;
    const QString source = m_profiles.at(srcprofile)->fileName();
    replaceProfileFile(destprofile, source);
}

void SettingsStore::resetApconfig()
{
    const QString source = factoryGlobalPath();
    if (!SettingsFile::isReadableFile(source))
        return;
    const QString fileName = m_global->fileName();
    retire(m_global);
    m_global = nullptr;
    // A failed copy leaves the file as it was, and the new object reads that.
    if (!SettingsFile::replace(fileName, source))
        SettingsNotice::instance().cannotSave(fileName);
    m_global = openGlobal();
}

QSettings *SettingsStore::openGlobal()
{
    // Without a readable device table no mouse is found; the person is told, not just the debug output.
    SettingsFile::Damage damage;
    QSettings *global = SettingsFile::open(globalPath(), &damage);
    if (damage.unreadable)
        SettingsNotice::instance().damagedGlobalFile(globalPath(), damage.keptAs);
    return global;
}

bool SettingsStore::replaceProfileFile(int profile, const QString &source)
{
    // An unreadable source would only leave the profile without a file, and a source that is the
    // profile's own file would be deleted before it is copied: keep the profile as it is then.
    if (!SettingsFile::isReadableFile(source))
        return true;
    const QString fileName = m_profiles.at(profile)->fileName();
    if (SettingsFile::isSameFile(source, fileName))
        return true;
    syncIfOpen(source);

    retire(m_profiles.takeAt(profile));
    const bool replaced = SettingsFile::replace(fileName, source);
    if (!replaced)
        SettingsNotice::instance().cannotSave(fileName);
    m_profiles.insert(profile, SettingsFile::open(fileName));
    return replaced;
}

void SettingsStore::syncIfOpen(const QString &path)
{
    // A source that is one of our own files is copied with the values set through it so far.
    if (SettingsFile::isSameFile(path, m_global->fileName()))
        SettingsFile::commit(m_global);
    for (QSettings *settings : std::as_const(m_profiles)) {
        if (SettingsFile::isSameFile(path, settings->fileName()))
            SettingsFile::commit(settings);
    }
}

void SettingsStore::retire(QSettings *settings)
{
    // Objects on one file share their pending values inside the settings library, so values still
    // pending here would be written into the replacement as soon as it is opened, and again when
    // this object is destroyed. Writing them now puts them into the file about to be replaced.
    SettingsFile::commit(settings);
    settings->deleteLater();
}
