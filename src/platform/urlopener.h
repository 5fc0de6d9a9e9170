#pragma once

class QString;
class QWidget;

// Hands a web address to the user's browser. The answer follows the Windows shell's convention,
// which the program's check was written for: above 32 the address was opened, 32 or less it was
// not.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual int open(QWidget *owner, const QString &address) = 0;
};

class QtUrlOpener final : public UrlOpener
{
public:
    int open(QWidget *owner, const QString &address) override;
};
