// The texts other programs send, shown one warning box at a time.
#include "CopyDataMessages.h"

#include <QDebug>
#include <QMessageBox>
#include <QWidget>

CopyDataMessages *CopyDataMessages::of(QWidget *window)
{
    if (auto *existing = window->findChild<CopyDataMessages *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new CopyDataMessages(window);
}

CopyDataMessages::CopyDataMessages(QWidget *window) : QObject(window), m_window(window) {}

CopyDataMessages::~CopyDataMessages()
{
    delete m_box;
}

QString CopyDataMessages::clipped(const QString &text)
{
    if (text.size() <= MaxShownChars)
        return text;
    qsizetype end = MaxShownChars;
    if (text.at(end - 1).isHighSurrogate())
        --end; // a character is not split in two
    return text.left(end) + QChar(0x2026);
}

void CopyDataMessages::show(const QString &text)
{
    if (m_waiting.size() >= MaxWaiting) {
        if (!m_dropping) // once, not once per message
            qDebug() << "copy-data messages dropped: too many waiting";
        m_dropping = true;
        return;
    }
    // Kept short at once: a long text costs neither memory while it waits nor time when shown.
    m_waiting << clipped(text);
    if (!m_box)
        showNext();
}

void CopyDataMessages::showNext()
{
    m_dropping = false;
    if (m_waiting.isEmpty())
        return;
    // Opened, not run: a box that runs its own event loop would let the next message open another
    // box inside it, and so on without end.
    m_box = new QMessageBox(QMessageBox::Warning, m_window->windowTitle(), m_waiting.takeFirst(),
                            QMessageBox::Ok);
    m_box->setTextFormat(Qt::PlainText);
    // With the main window hidden in the tray this box is the only window; closing it must not end
    // the program.
    m_box->setAttribute(Qt::WA_QuitOnClose, false);
    connect(m_box, &QDialog::finished, this, [this] {
        m_box->deleteLater();
        m_box = nullptr;
        showNext();
    });
    m_box->open();
}
