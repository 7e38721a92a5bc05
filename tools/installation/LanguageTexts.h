// The texts of the shipped language files: one section per page list, in the order the scene reads them.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct LanguageSection
{
    QString name;
    QStringList english;
    QStringList chinese; // same length and order as english
};

// The 133 key names in usage-code order; both languages share them so that macro files, which store
// names, keep working after a change of language.
QStringList keyCodeNames();

// Every section the scene reads, "main" first and "other" last.
QList<LanguageSection> languageSections();
