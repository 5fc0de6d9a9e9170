#pragma once

class QString;
class QWidget;

// Modal message boxes with the Windows styles and answers the program's texts were written for.
namespace msgbox {
constexpr int StyleOk = 0;
constexpr int StyleYesNo = 4;
constexpr int StyleCritical = 16;
constexpr int StyleQuestion = 32;
constexpr int StyleExclamation = 48;
constexpr int StyleInformation = 64;
constexpr int StyleDefaultSecond = 256;

constexpr int AnswerOk = 1;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;
} // namespace msgbox

class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and returns the answer (msgbox::Answer...).
    virtual int show(const QString &prompt, int style, const QString &title) = 0;
};

class QtMessageBoxes final : public MessageBoxes
{
public:
    int show(const QString &prompt, int style, const QString &title) override;
};
