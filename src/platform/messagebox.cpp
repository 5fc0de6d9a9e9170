#include "messagebox.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace {

// A question offers only its two answers: neither Esc nor the title bar's close box answers it.
class QuestionBox final : public QMessageBox
{
protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

} // namespace

int QtMessageBoxes::show(const QString &prompt, int style, const QString &title)
{
    const bool asks = (style & 0x0F) == msgbox::StyleYesNo;
    const std::unique_ptr<QMessageBox> shown =
        asks ? std::make_unique<QuestionBox>() : std::make_unique<QMessageBox>();
    QMessageBox &box = *shown;
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
    if (asks) {
        QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        box.setDefaultButton((style & msgbox::StyleDefaultSecond) ? no : yes);
        box.exec();
        return box.clickedButton() == yes ? msgbox::AnswerYes : msgbox::AnswerNo;
    }
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return msgbox::AnswerOk;
}
