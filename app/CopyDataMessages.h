// The texts other programs send as copy-data messages, shown in a warning box titled like the main
// window: one box at a time, a few more waiting, each text cut to its beginning.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QMessageBox;
class QWidget;

class CopyDataMessages : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxShownChars = 300;
    static constexpr int MaxWaiting = 8;

    // The one belonging to window, made on first use; it goes with the window, and its box with it.
    static CopyDataMessages *of(QWidget *window);

    // Shows text at once, or after the box on screen is closed; dropped when too many wait.
    void show(const QString &text);

    // The first MaxShownChars characters and an ellipsis when there are more.
    static QString clipped(const QString &text);

private:
    explicit CopyDataMessages(QWidget *window);
    ~CopyDataMessages() override;
    void showNext();

    QWidget *m_window;
    QPointer<QMessageBox> m_box;
    QStringList m_waiting;
    bool m_dropping = false;
};
