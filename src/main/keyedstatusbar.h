#pragma once

#include <QHash>
#include <QStatusBar>

class QLabel;

// A status bar of text panels addressed by key, left to right in the order they were added.
class KeyedStatusBar : public QStatusBar
{
public:
    explicit KeyedStatusBar(QWidget *parent = nullptr);

    void addPanel(const QString &key, int minimumWidth, int stretch = 0);
    void setPanelText(const QString &key, const QString &text);
    QString panelText(const QString &key) const;

private:
    QHash<QString, QLabel *> m_panels;
};
