// The real file chooser: the platform's standard modal open and save dialogs.
#pragma once

#include "FileChooser.h"

class DialogFileChooser : public FileChooser
{
public:
    QString openFile(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter) override;
};
