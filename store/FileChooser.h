// The file dialogs of import and export, behind a small interface so that tests can answer them.
#pragma once

#include <QString>

class QWidget;

class FileChooser
{
public:
    virtual ~FileChooser() = default;

    // Both return the chosen path, or an empty string when the user cancels.
    virtual QString openFile(QWidget *parent, const QString &caption, const QString &dir,
                             const QString &filter) = 0;
    virtual QString saveFile(QWidget *parent, const QString &caption, const QString &dir,
                             const QString &filter) = 0;
};
