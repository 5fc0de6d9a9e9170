#include "linkswindow.h"

#include "eventlabel.h"
#include "picturewindow.h"
#include "platform/messageboxes.h"
#include "platform/urlopener.h"
#include "ui/branding.h"
#include "ui/designfont.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QCloseEvent>
#include <QColor>
#include <QCursor>
#include <QPixmap>
#include <QPushButton>

namespace {

struct Link
{
    const char *name;
    const char *caption;
    const char *toolTip;
    const char *address;
    int top;
};

// The maker's link leads to another of its hosts than the one its caption names.
constexpr Link Links[] = {
    {"Label1", "feldkamp.example.org", "Homepageseiten von ", "https://feldkamp.example.org", 120},
    {"Label2", "kobold.example.com", "Homepage von der Firma Kobold Messtechnik",
     "https://www.kobold.example.net", 720},
    {"Label3", "lindner.example.net", "Homepage von Anke Lindner", "https://lindner.example.net",
     1200},
    {"Label4", "renner.example.org", "Homepage von Tobias Renner", "https://renner.example.org",
     1680},
    {"Label5", "duckduckgo.com", "Eine gute Suchmaschine", "https://duckduckgo.com", 2160},
};
constexpr int LinkCount = int(std::size(Links));
constexpr int LinkLeft = 120;

const QColor PointedAtColour(0x00, 0x00, 0xC0);
const QColor WindowColour(0xF0, 0xF0, 0xF0);
const QColor NormalColour(Qt::black);

// The hand with the raised index finger; its tip is the hot spot.
QCursor handCursor()
{
    return QCursor(QPixmap(QStringLiteral(":/cursors/hand.png")), 6, 0);
}

void setForeColor(QWidget *label, const QColor &colour)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

void setUnderline(QWidget *label, bool on)
{
    QFont font = label->font();
    font.setUnderline(on);
    label->setFont(font);
}

void showPointedAtLook(QWidget *label)
{
    setForeColor(label, PointedAtColour);
    setUnderline(label, true);
}

void showNormalLook(QWidget *label)
{
    setForeColor(label, NormalColour);
    setUnderline(label, false);
}

} // namespace

LinksWindow::LinksWindow(const Platform &platform, MainWindowLink *mainWindow)
    : ProgramWide(this), m_platform(platform), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("URLs"));
    setSecondaryWindowFrame(this);
    setWindowTitle(QStringLiteral("Meine Internet Tipps:"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/links.png")));
    setFixedSize(twips(3840), twips(2805));
    // Moves over the background reset the links; the labels keep their own moves.
    setMouseTracking(true);
    // The links have fixed colours, so the background is fixed too: the same on a dark desktop.
    QPalette background = palette();
    background.setColor(QPalette::Window, WindowColour);
    setPalette(background);
    setAutoFillBackground(true);

    m_okButton = designControl<QPushButton>(this, "Command1", twipsRect(3000, 2400, 735, 375),
                                            QStringLiteral("&O.K."));
    connect(m_okButton, &QPushButton::clicked, this, &LinksWindow::backToPicture);

    const QCursor hand = handCursor();
    QWidget *previous = m_okButton;
    for (int index = 0; index < LinkCount; ++index) {
        EventLabel *label = addLink(index);
        label->setCursor(hand);
        QWidget::setTabOrder(previous, label);
        previous = label;
        m_links[index] = label;
    }
    // The author's tool tip ends in his short name.
    m_links[0]->setToolTip(m_links[0]->toolTip() + QString::fromUtf8(author::ShortName));

    centreOnScreen(this);
}

EventLabel *LinksWindow::addLink(int index)
{
    const Link &link = Links[index];
    auto *label = new EventLabel(this);
    label->setObjectName(QLatin1String(link.name));
    label->setFont(designFont(13.5));
    label->setText(QString::fromUtf8(link.caption));
    label->setToolTip(QString::fromUtf8(link.toolTip));
    // Fixed like the background from the start, not only after the pointer has moved.
    setForeColor(label, NormalColour);
    label->move(twips(LinkLeft), twips(link.top));
    // Sized to the caption, in height as well.
    label->adjustSize();
    connect(label, &EventLabel::mouseMoved, this, [this, index] { highlightLink(index); });
    connect(label, &EventLabel::clicked, this, [this, index] { openLink(index); });
    return label;
}

void LinksWindow::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    for (EventLabel *label : m_links)
        showNormalLook(label);
}

void LinksWindow::closeEvent(QCloseEvent *event)
{
    releaseInstance();
    event->accept();
}

void LinksWindow::highlightLink(int index)
{
    showPointedAtLook(m_links[index]);
}

void LinksWindow::openLink(int index)
{
    if (!m_platform.urlOpener.open(QString::fromUtf8(Links[index].address))) {
        m_platform.messageBoxes.inform(QStringLiteral("Kein Internetbrowser installiert ?!"),
                                       MessageBoxes::Icon::Information, programTitle());
    }
}

void LinksWindow::backToPicture()
{
    PictureWindow::showInstance(m_platform, m_mainWindow);
    hide();
}
