#include "messagebox.h"

#include <QMessageBox>
#include <QPushButton>

int QtMessageBoxes::show(const QString &prompt, int style, const QString &title)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(prompt);
    switch (style & 0x70) {
    case msgbox::StyleCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case msgbox::StyleQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case msgbox::StyleExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case msgbox::StyleInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }

    // The interface is German whatever the user's locale, so the buttons carry their own texts.
    if ((style & 0x0F) == msgbox::StyleYesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton((style & msgbox::StyleDefaultSecond) ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? msgbox::AnswerYes : msgbox::AnswerNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return msgbox::AnswerOk;
}
