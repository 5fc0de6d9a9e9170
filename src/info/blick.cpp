#include "blick.h"

#include "eventlabel.h"
#include "ui/branding.h"
#include "ui/mainwindowlink.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"
#include "urls.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace {

const QString PictureFile = QStringLiteral(":/pictures/spion.bmp");

} // namespace

Blick::Blick(const Platform &platform, MainWindowLink *mainWindow)
    : ProgramWide(this), m_platform(platform), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Blick"));
    setSecondaryWindowFrame(this);
    setWindowIcon(programWindowIcon());
    setFixedSize(twips(4830), twips(3150));

    Picture1 = designControl<QFrame>(this, "Picture1", twipsRect(0, 0, 4815, 3135));
    Picture1->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    Picture1->setToolTip(QStringLiteral("So sieht der Spion von innen aus ..."));

    // The inside of the border: it draws the picture unscaled at its top left and clips it, and
    // the hot spot and the line count from its corner.
    auto *inside = new QLabel(Picture1);
    inside->setObjectName(QStringLiteral("Picture1Inside"));
    inside->setGeometry(Picture1->contentsRect());
    inside->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    inside->setPixmap(QPixmap(PictureFile));

    Line1 = designControl<QWidget>(inside, "Line1",
                                   QRect(twips(240), twips(360), twips(1920 - 240), 1));
    Line1->setAutoFillBackground(true);
    QPalette linePalette = Line1->palette();
    linePalette.setColor(QPalette::Window, Qt::black);
    Line1->setPalette(linePalette);

    Label1 = designControl<EventLabel>(inside, "Label1", twipsRect(3600, 720, 255, 255));
    connect(Label1, &EventLabel::clicked, this, &Blick::Label1_Click);

    centreOnScreen(this);
    Form_Load();
}

Blick *Blick::showInstance(const Platform &platform, MainWindowLink *mainWindow)
{
    Blick *window = instance() ? instance() : new Blick(platform, mainWindow);
    bringForward(window);
    return window;
}

void Blick::Form_Load()
{
    setWindowTitle(programTitle());
}

void Blick::Form_Unload()
{
    if (m_mainWindow)
        Q_EMIT m_mainWindow->showRequested();
}

void Blick::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    // From here on a show request makes a new window; this one is deleted shortly.
    releaseInstance();
    event->accept();
}

void Blick::Label1_Click()
{
    URLs::showInstance(m_platform, m_mainWindow);
}
