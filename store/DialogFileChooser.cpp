// The real file chooser: the platform's open and save dialogs, in the window's dark colours where Qt
// draws them itself, or the desktop's own dialog where the platform offers one.
#include "DialogFileChooser.h"

#include "SettingsStore.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QPalette>
#include <QRegularExpression>
#include <QSettings>
#include <QTranslator>
#include <QWindow>

#include <memory>

namespace {

// Light text on dark ground, as the window. A dialog parented to the window would take the window's
// style sheet instead, which makes every background transparent: text and buttons then vanish.
QPalette darkPalette()
{
    QPalette p;
    const QColor window(0x23, 0x23, 0x23), base(0x12, 0x12, 0x12), text(0xff, 0xff, 0xff);
    const QColor button(0x3c, 0x3c, 0x3c), highlight(0xcf, 0x3e, 0x00), dim(0x96, 0x96, 0x96);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, QColor(0x1a, 0x1a, 0x1a));
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::BrightText, text);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, text);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, dim);
    p.setColor(QPalette::Link, QColor(0xff, 0x8a, 0x50));
    p.setColor(QPalette::Light, QColor(0x55, 0x55, 0x55));
    p.setColor(QPalette::Midlight, QColor(0x46, 0x46, 0x46));
    p.setColor(QPalette::Mid, QColor(0x2c, 0x2c, 0x2c));
    p.setColor(QPalette::Dark, QColor(0x16, 0x16, 0x16));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(0x78, 0x78, 0x78));
    return p;
}

// "pf" of "Profile(*.pf)"; empty when the filter names no single suffix.
QString suffixOf(const QString &filter)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

// Qt's own texts of the dialog (buttons, labels, columns) in the window's language, while it is open:
// the language of the global settings, read now, since the person may have changed it meanwhile.
std::unique_ptr<QTranslator> dialogTranslator()
{
    const QString language = QSettings(SettingsStore::globalPath(), QSettings::IniFormat)
                                 .value(QStringLiteral("common/language"))
                                 .toString();
    QString locale;
    if (language == QLatin1String("ChineseSimplified"))
        locale = QStringLiteral("zh_CN");
    if (locale.isEmpty())
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + locale,
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

QString choose(QWidget *parent, QFileDialog::AcceptMode mode, const QString &caption, const QString &dir,
               const QString &filter)
{
    const std::unique_ptr<QTranslator> translator = dialogTranslator();
    // No parent widget (so no style sheet of the window's), but modal and kept above the window.
    QFileDialog dialog(nullptr, caption, dir, filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (mode == QFileDialog::AcceptSave)
        dialog.setDefaultSuffix(suffixOf(filter));
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setPalette(darkPalette());
    if (parent && parent->window()) {
        QWidget *window = parent->window();
        dialog.winId();
        if (dialog.windowHandle() && window->windowHandle())
            dialog.windowHandle()->setTransientParent(window->windowHandle());
        dialog.adjustSize();
        dialog.move(window->geometry().center() - dialog.rect().center());
    }
    const bool accepted = dialog.exec() == QDialog::Accepted;
    const QString chosen = accepted ? dialog.selectedFiles().value(0) : QString();
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    return chosen;
}

} // namespace

QString DialogFileChooser::openFile(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return choose(parent, QFileDialog::AcceptOpen, caption, dir, filter);
}

QString DialogFileChooser::saveFile(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return choose(parent, QFileDialog::AcceptSave, caption, dir, filter);
}
