#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QtGlobal>

#include <chrono>

class QTimer;
class TrayAreaWatch;

// What describes the one notification-area icon: image, tool tip and which of them count.
struct NotifyIconData
{
    quint32 uID = 0;
    quint32 uFlags = 0;
    QIcon hIcon;
    QString szTip;
};

// The notification area as the program uses it: one icon, added and deleted by request, and the
// left and right clicks on it. The requests keep the shell's rules, so that both implementations
// behave alike: an add while the icon is shown is refused and leaves the first tool tip, a delete
// without an icon does nothing, and a shown tool tip never changes. While the icon is shown, the
// notification area is looked for every AreaCheck: a panel that crashed or restarts takes the
// icon with it, and the toolkit does not say so. Where the desktop announces the area's end, the
// real icon looks at once.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    static constexpr int NIM_ADD = 0;
    static constexpr int NIM_DELETE = 2;
    static constexpr quint32 NIF_MESSAGE = 1;
    static constexpr quint32 NIF_ICON = 2;
    static constexpr quint32 NIF_TIP = 4;
    // The record holds 64 characters with the closing NUL.
    static constexpr int TipLength = 63;
    static constexpr std::chrono::milliseconds AreaCheck{500};

    enum class Click { Left, Right };
    Q_ENUM(Click)

    // The program-wide record: filled when the window goes to the tray, read to remove the icon.
    NotifyIconData IconData;

    // A text as the record's tool tip can hold it.
    static QString tipText(const QString &text);

    // Whether the desktop has a notification area at all.
    virtual bool isAvailable() const = 0;

    // Returns whether the request was carried out.
    virtual bool Shell_NotifyIcon(int message, const NotifyIconData &data);

    bool isShown() const { return m_shown; }
    QString shownTip() const { return m_shownTip; }

Q_SIGNALS:
    void clicked(TrayIcon::Click click);
    // The notification area went away while the icon was shown; the icon is still counted as
    // shown until it is deleted.
    void areaGone();

protected:
    explicit TrayIcon(QObject *parent = nullptr);

    // Tells areaGone() when the shown icon's area is no longer there.
    void checkArea();

    // Passes on the two clicks the program answers; the others (double and middle clicks) end here.
    void report(QSystemTrayIcon::ActivationReason reason);

    virtual void showIcon(const QIcon &icon, const QString &tip) = 0;
    virtual void hideIcon() = 0;

private:
    QTimer *m_areaCheck = nullptr;
    bool m_shown = false;
    quint32 m_shownId = 0;
    QString m_shownTip;
};

class QtTrayIcon final : public TrayIcon
{
    Q_OBJECT

public:
    explicit QtTrayIcon(QObject *parent = nullptr);

    bool isAvailable() const override;

protected:
    void showIcon(const QIcon &icon, const QString &tip) override;
    void hideIcon() override;

private:
    QSystemTrayIcon *m_icon = nullptr;
    TrayAreaWatch *m_areaWatch = nullptr;
};
