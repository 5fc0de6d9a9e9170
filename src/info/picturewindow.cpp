#include "picturewindow.h"

#include "eventlabel.h"
#include "linkswindow.h"
#include "ui/branding.h"
#include "ui/mainwindowlink.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace {

const QString PictureFile = QStringLiteral(":/pictures/spion.bmp");

} // namespace

PictureWindow::PictureWindow(const Platform &platform, MainWindowLink *mainWindow)
    : ProgramWide(this), m_platform(platform), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Blick"));
    setSecondaryWindowFrame(this);
    setWindowIcon(programWindowIcon());
    setFixedSize(twips(4830), twips(3150));

    m_picture = designControl<QFrame>(this, "Picture1", twipsRect(0, 0, 4815, 3135));
    m_picture->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    m_picture->setToolTip(QStringLiteral("So sieht der Spion von innen aus ..."));

    // The inside of the border: it draws the picture unscaled at its top left and clips it, and
    // the hot spot and the line count from its corner.
    auto *inside = new QLabel(m_picture);
    inside->setObjectName(QStringLiteral("Picture1Inside"));
    inside->setGeometry(m_picture->contentsRect());
    inside->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    inside->setPixmap(QPixmap(PictureFile));

    m_line = designControl<QWidget>(inside, "Line1",
                                    QRect(twips(240), twips(360), twips(1920 - 240), 1));
    m_line->setAutoFillBackground(true);
    QPalette linePalette = m_line->palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    m_line->setPalette(linePalette);

    m_hotSpot = designControl<EventLabel>(inside, "Label1", twipsRect(3600, 720, 255, 255));
    connect(m_hotSpot, &EventLabel::clicked, this, &PictureWindow::showLinksWindow);

    centreOnScreen(this);
    showTitle();
}

void PictureWindow::showTitle()
{
    setWindowTitle(programTitle());
}

void PictureWindow::showMainWindow()
{
    if (m_mainWindow)
        m_mainWindow->requestShow();
}

void PictureWindow::closeEvent(QCloseEvent *event)
{
    showMainWindow();
    // From here on a show request makes a new window; this one is deleted shortly.
    releaseInstance();
    event->accept();
}

void PictureWindow::showLinksWindow()
{
    LinksWindow::showInstance(m_platform, m_mainWindow);
}
