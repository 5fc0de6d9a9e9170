#include "trayicon.h"

#include "trayareawatch.h"

#include <QTimer>

TrayIcon::TrayIcon(QObject *parent) : QObject(parent), m_areaCheck(new QTimer(this))
{
    m_areaCheck->setInterval(AreaCheck);
    connect(m_areaCheck, &QTimer::timeout, this, &TrayIcon::checkArea);
}

QString TrayIcon::tipText(const QString &text)
{
    QString tip = text.left(TipLength);
    // Never leave half a character behind.
    if (!tip.isEmpty() && tip.back().isHighSurrogate())
        tip.chop(1);
    return tip;
}

bool TrayIcon::show(const QIcon &icon, const QString &tip)
{
    if (m_shown)
        return false;
    m_shown = true;
    showIcon(icon, tipText(tip));
    m_areaCheck->start();
    return true;
}

bool TrayIcon::hide()
{
    if (!m_shown)
        return false;
    m_shown = false;
    m_areaCheck->stop();
    hideIcon();
    return true;
}

void TrayIcon::checkArea()
{
    if (m_shown && !isAvailable()) {
        m_areaCheck->stop();
        Q_EMIT areaGone();
    }
}

void TrayIcon::report(QSystemTrayIcon::ActivationReason reason)
{
    // Only a shown icon can be clicked; a late report of a removed one is dropped.
    if (!m_shown)
        return;
    if (reason == QSystemTrayIcon::Trigger)
        Q_EMIT clicked(Click::Left);
    else if (reason == QSystemTrayIcon::Context)
        Q_EMIT clicked(Click::Right);
}

QtTrayIcon::QtTrayIcon(QObject *parent)
    : TrayIcon(parent), m_icon(new QSystemTrayIcon(this)), m_areaWatch(new TrayAreaWatch(this))
{
    connect(m_icon, &QSystemTrayIcon::activated, this, &QtTrayIcon::report);
    connect(m_areaWatch, &TrayAreaWatch::gone, this, &QtTrayIcon::checkArea);
}

bool QtTrayIcon::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayIcon::showIcon(const QIcon &icon, const QString &tip)
{
    m_icon->setIcon(icon);
    m_icon->setToolTip(tip);
    m_icon->show();
    m_areaWatch->start();
}

void QtTrayIcon::hideIcon()
{
    m_areaWatch->stop();
    m_icon->hide();
}
