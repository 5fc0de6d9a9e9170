#include "messageboxes.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace {

// A question offers only its two answers: neither Esc nor the title bar's close box answers it.
class QuestionBox final : public QMessageBox
{
    Q_OBJECT

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel))
            return;
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { event->ignore(); }
};

QMessageBox::Icon boxIcon(MessageBoxes::Icon icon)
{
    switch (icon) {
    case MessageBoxes::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBoxes::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBoxes::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

// The interface is German whatever the user's locale, so the buttons carry their own texts.
MessageBoxes::Answer QtMessageBoxes::ask(const QString &question, Answer defaultAnswer,
                                         const QString &title)
{
    QuestionBox box;
    box.setWindowTitle(title);
    box.setText(question);
    box.setIcon(QMessageBox::Question);
    QPushButton *yes = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
    box.setDefaultButton(defaultAnswer == Answer::Yes ? yes : no);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

void QtMessageBoxes::inform(const QString &message, Icon icon, const QString &title)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(message);
    box.setIcon(boxIcon(icon));
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

#include "messageboxes.moc"
