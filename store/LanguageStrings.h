// The texts of the scene's pages from the language files ./modules/i18n/<code>.ini.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class LanguageStrings
{
public:
    // No section holds more texts than this; a hostile "total" must not loop for ever.
    static constexpr int MaxStrings = 1000;

    // "./modules/i18n/" + code + ".ini".
    static QString languagePath(const QString &langCode);
    // A code is a plain file name: no path separator and no control character.
    static bool isUsableCode(const QString &langCode);

    // The strings "0" … total-1 of section typeStr. The section "other" also replaces the DPI
    // notification texts with its first eight strings.
    QStringList getLangStrings(const QString &typeStr, const QString &langCode) const;

    // The codes of the language files installed in ./modules/i18n/, sorted.
    static QStringList installedLanguages();
    // The language a first start takes from the locale: Chinese for zh_*, English otherwise.
    static QString localeLanguage(const QLocale &locale = QLocale());
    // The stored choice when it names a usable code, else the locale's.
    static QString chosenLanguage(const QVariant &stored, const QLocale &locale = QLocale());
};
