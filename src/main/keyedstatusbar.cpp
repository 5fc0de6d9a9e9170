#include "keyedstatusbar.h"

#include <QLabel>

KeyedStatusBar::KeyedStatusBar(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
}

void KeyedStatusBar::addPanel(const QString &key, int minimumWidth, int stretch)
{
    auto *panel = new QLabel(this);
    panel->setObjectName(key);
    panel->setMinimumWidth(minimumWidth);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // Permanent, so that a passing status tip never hides the readings.
    addPermanentWidget(panel, stretch);
    m_panels.insert(key, panel);
}

void KeyedStatusBar::setPanelText(const QString &key, const QString &text)
{
    if (QLabel *panel = m_panels.value(key))
        panel->setText(text);
}
