#pragma once

class QString;

// Hands a web address to the user's browser.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    // False when no program took the address.
    virtual bool open(const QString &address) = 0;
};

class QtUrlOpener final : public UrlOpener
{
public:
    bool open(const QString &address) override;
};
