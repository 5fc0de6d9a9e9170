#include "historywindow.h"

#include "historychart.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "ui/branding.h"
#include "ui/returnpress.h"

#include <QButtonGroup>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <array>

namespace {

const QString Title = QStringLiteral("Verlauf");

struct SpanChoice
{
    const char *name;
    const char *caption;
    qint64 seconds;
};
constexpr std::array<SpanChoice, 4> Spans = {{{"spanHour", "1 Stunde", 3600},
                                              {"spanDay", "1 Tag", 86400},
                                              {"spanWeek", "1 Woche", 7 * 86400},
                                              {"spanAll", "Alles", 0}}};
const QString PointerHint =
    QStringLiteral("Zeigen Sie auf den Verlauf, um Zeit und Wert zu sehen.");

} // namespace

HistoryWindow::HistoryWindow(const ReadingHistory &history, const Platform &platform)
    : m_platform(platform)
{
    setObjectName(QStringLiteral("frmVerlauf"));
    setWindowTitle(Title);
    setWindowIcon(programWindowIcon());
    // Closing it while the main window sits in the notification area must not end the program.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);

    m_chart = new HistoryChart(history, this);
    m_chart->setObjectName(QStringLiteral("chart"));

    auto *buttons = new QHBoxLayout;
    auto *spans = new QButtonGroup(this);
    for (const SpanChoice &choice : Spans) {
        auto *button = new QPushButton(QString::fromUtf8(choice.caption), this);
        button->setObjectName(QLatin1String(choice.name));
        button->setCheckable(true);
        button->setChecked(choice.seconds == m_chart->span());
        spans->addButton(button);
        pressOnReturn(button);
        connect(button, &QPushButton::clicked, this,
                [this, seconds = choice.seconds] { m_chart->setSpan(seconds); });
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("Bild speichern …"), this);
    save->setObjectName(QStringLiteral("saveImage"));
    pressOnReturn(save);
    connect(save, &QPushButton::clicked, this, &HistoryWindow::chooseImageFile);
    buttons->addWidget(save);

    m_pointerText = new QLabel(PointerHint, this);
    m_pointerText->setObjectName(QStringLiteral("pointerText"));
    connect(m_chart, &HistoryChart::pointed, this, [this](const QString &text) {
        m_pointerText->setText(text.isEmpty() ? PointerHint : text);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_pointerText);
    // Within the screen, also at a large scale.
    QSize size(820, 460);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
}

void HistoryWindow::refresh()
{
    m_chart->refresh();
}

bool HistoryWindow::saveImage(const QString &fileName)
{
    QImageWriter writer(fileName, "png");
    if (writer.write(m_chart->image()))
        return true;
    m_platform.messageBoxes.inform(QStringLiteral("Das Bild konnte nicht gespeichert werden:\n") +
                                       QDir::toNativeSeparators(fileName),
                                   MessageBoxes::Icon::Warning, Title);
    return false;
}

void HistoryWindow::chooseImageFile()
{
    QFileDialog dialog(this, QStringLiteral("Bild speichern"), QDir::homePath(),
                       QStringLiteral("PNG-Bild (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The dialog adds the suffix before it asks whether to replace a file.
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(QStringLiteral("Verlauf ") +
                      m_platform.clock.currentDateTime().toString(u"yyyy-MM-dd HH-mm") +
                      QStringLiteral(".png"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveImage(dialog.selectedFiles().constFirst());
}
