// The texts of the scene's pages from the language files ./modules/i18n/<code>.ini.
#include "LanguageStrings.h"

#include "DpiSwitchText.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

QString LanguageStrings::languagePath(const QString &langCode)
{
    return QStringLiteral("./modules/i18n/") + langCode + QStringLiteral(".ini");
}

bool LanguageStrings::isUsableCode(const QString &langCode)
{
    for (const QChar c : langCode) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

QStringList LanguageStrings::getLangStrings(const QString &typeStr, const QString &langCode) const
{
    QStringList strings;
    if (isUsableCode(langCode)) {
        // Language files are UTF-8, which is how the settings library reads INI files.
        QSettings language(languagePath(langCode), QSettings::IniFormat);
        const int total =
            qBound(0, language.value(typeStr + QStringLiteral("/total"), 0).toInt(), MaxStrings);
        for (int i = 0; i < total; ++i) {
            const QVariant text = language.value(typeStr + QLatin1Char('/') + QString::number(i), QString());
            // A hand-written text with an unquoted comma reads as a list; it is still one text.
            if (text.metaType().id() == QMetaType::QStringList)
                strings.append(text.toStringList().join(QStringLiteral(", ")));
            else
                strings.append(text.toString());
        }
    }
    if (typeStr == QLatin1String("other"))
        DpiSwitchText::assign(strings);
    return strings;
}

QStringList LanguageStrings::installedLanguages()
{
    QStringList codes;
    const QFileInfoList files =
        QDir(QStringLiteral("./modules/i18n"))
            .entryInfoList({QStringLiteral("*.ini")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &file : files) {
        const QString code = file.completeBaseName();
        if (!code.isEmpty() && isUsableCode(code))
            codes.append(code);
    }
    return codes;
}

QString LanguageStrings::localeLanguage(const QLocale &locale)
{
    return locale.language() == QLocale::Chinese ? QStringLiteral("ChineseSimplified")
                                                 : QStringLiteral("English");
}

QString LanguageStrings::chosenLanguage(const QVariant &stored, const QLocale &locale)
{
    const QString code = stored.isValid() && !stored.isNull() ? stored.toString() : QString();
    return code.isEmpty() || !isUsableCode(code) ? localeLanguage(locale) : code;
}
