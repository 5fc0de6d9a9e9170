#pragma once

class QString;

// Modal message boxes with German buttons: questions answered yes or no, and messages to confirm.
class MessageBoxes
{
public:
    enum class Answer { Yes, No };
    enum class Icon { Information, Warning, Critical };

    virtual ~MessageBoxes() = default;
    // A question with "Ja" and "Nein"; Esc and the close box do not answer it. The default
    // answer is the one Enter gives.
    virtual Answer ask(const QString &question, Answer defaultAnswer, const QString &title) = 0;
    // A message with "OK", which Enter and Esc both give.
    virtual void inform(const QString &message, Icon icon, const QString &title) = 0;
};

class QtMessageBoxes final : public MessageBoxes
{
public:
    Answer ask(const QString &question, Answer defaultAnswer, const QString &title) override;
    void inform(const QString &message, Icon icon, const QString &title) override;
};
