#include "dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace quorvela {

MessageBox MessageBox::ok(const QString &text, const QString &title)
{
    return {text, title.isEmpty() ? kAppTitle : title, Buttons::Ok, Icon::None, Answer::Ok};
}

MessageBox MessageBox::yesNo(const QString &text, const QString &title)
{
    return {text, title.isEmpty() ? kAppTitle : title, Buttons::YesNo, Icon::Question, Answer::No};
}

bool useItalianButtons()
{
    static QTranslator translator;
    if (!translator.isEmpty())
        return true;
    // Qt's own folder, else the copy built into the game (the browser has none).
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    if (!translator.load(italian, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        !translator.load(italian, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QStringLiteral(":/translations")))
        return false;
    return QCoreApplication::installTranslator(&translator);
}

Answer QtDialogs::messageBox(const MessageBox &box)
{
    QMessageBox dialog(box.icon == Icon::Question ? QMessageBox::Question : QMessageBox::NoIcon,
                       box.title, box.text, QMessageBox::NoButton, QApplication::activeWindow());
    // Our texts carry meaningful blanks and no markup.
    dialog.setTextFormat(Qt::PlainText);
    fitToTouch(dialog);
    if (box.buttons == Buttons::Ok) {
        dialog.setStandardButtons(QMessageBox::Ok);
        dialog.setDefaultButton(QMessageBox::Ok);
        dialog.exec();
        return Answer::Ok;
    }
    dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    dialog.setDefaultButton(box.defaultButton == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    dialog.setEscapeButton(QMessageBox::No);
    return dialog.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtDialogs::inputBox(const QString &prompt, const QString &title)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title.isEmpty() ? kAppTitle : title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(QString());
    dialog.setInputMode(QInputDialog::TextInput);
    fitToTouch(dialog);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

void QtDialogs::fitToTouch(QWidget &dialog) const
{
    if (touchTargetHeight_ > 0)
        dialog.setStyleSheet(QStringLiteral("QPushButton, QLineEdit { min-height: %1px; }")
                                 .arg(touchTargetHeight_));
}

void QtDialogs::beep()
{
    QApplication::beep();
}

} // namespace quorvela
