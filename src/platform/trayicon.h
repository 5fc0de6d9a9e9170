#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>

#include <chrono>

class QTimer;
class TrayAreaWatch;

// The notification area as the program uses it: one icon, shown and hidden by request, and the
// left and right clicks on it. A show while the icon is shown is refused and leaves the first
// tool tip, a hide without an icon does nothing, and a shown tool tip never changes. While the icon
// is shown, the notification area is looked for every AreaCheck: a panel that crashed or restarts
// takes the icon with it, and the toolkit does not say so. Where the desktop announces the area's
// end, the real icon looks at once.
class TrayIcon : public QObject
{
    Q_OBJECT

public:
    // The tool tip holds 63 characters, as on Windows.
    static constexpr int TipLength = 63;
    static constexpr std::chrono::milliseconds AreaCheck{500};

    enum class Click { Left, Right };
    Q_ENUM(Click)

    // A text as the tool tip can hold it.
    static QString tipText(const QString &text);

    // Whether the desktop has a notification area at all.
    virtual bool isAvailable() const = 0;

    // Each returns whether the request was carried out.
    bool show(const QIcon &icon, const QString &tip);
    bool hide();

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
