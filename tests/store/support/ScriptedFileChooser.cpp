// A file chooser that answers from a script instead of showing a dialog, and records each question.
#include "ScriptedFileChooser.h"

QString ScriptedFileChooser::openFile(QWidget *parent, const QString &caption, const QString &dir,
                                      const QString &filter)
{
    return answer({false, parent, caption, dir, filter});
}

QString ScriptedFileChooser::saveFile(QWidget *parent, const QString &caption, const QString &dir,
                                      const QString &filter)
{
    return answer({true, parent, caption, dir, filter});
}

QString ScriptedFileChooser::answer(const Question &question)
{
    questions.append(question);
    return answers.isEmpty() ? QString() : answers.takeFirst();
}
