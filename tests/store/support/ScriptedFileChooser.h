// A file chooser that answers from a script instead of showing a dialog, and records each question.
#pragma once

#include "FileChooser.h"

#include <QList>
#include <QStringList>

class ScriptedFileChooser : public FileChooser
{
public:
    struct Question
    {
        bool save = false;
        QWidget *parent = nullptr;
        QString caption;
        QString dir;
        QString filter;
    };

    // The next answers, in order; an exhausted script answers as a cancelled dialog.
    QStringList answers;
    QList<Question> questions;

    QString openFile(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &caption, const QString &dir,
                     const QString &filter) override;

private:
    QString answer(const Question &question);
};
