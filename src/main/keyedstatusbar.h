#pragma once

#include <QHash>
#include <QStatusBar>

class QLabel;

// A status bar of text panels addressed by key, left to right in the order they were added. Each
// panel is a QLabel with its key as object name.
class KeyedStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit KeyedStatusBar(QWidget *parent = nullptr);

    void addPanel(const QString &key, int minimumWidth, int stretch = 0);
    void setPanelText(const QString &key, const QString &text);

private:
    QHash<QString, QLabel *> m_panels;
};
