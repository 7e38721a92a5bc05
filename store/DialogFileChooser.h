// The real file chooser: the platform's modal open and save dialogs, readable in the window's dark
// colours, opening where they are told and adding the filter's suffix to a name typed without one.
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
