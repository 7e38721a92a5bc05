// The real file chooser: the platform's standard modal open and save dialogs.
#include "DialogFileChooser.h"

#include <QFileDialog>

QString DialogFileChooser::openFile(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString DialogFileChooser::saveFile(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}
