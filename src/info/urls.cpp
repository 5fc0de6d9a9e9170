#include "urls.h"

#include "blick.h"
#include "eventlabel.h"
#include "platform/messagebox.h"
#include "platform/urlopener.h"
#include "ui/branding.h"
#include "ui/designfont.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QCloseEvent>
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
constexpr int LinkLeft = 120;

// Colours as the design gives them, in the layout 0x00BBGGRR.
constexpr unsigned PointedAtColour = 0x00C00000;
constexpr unsigned NormalColour = 0x00000000;

QColor fromBgr(unsigned bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// The hand with the raised index finger; its tip is the hot spot.
QCursor handCursor()
{
    return QCursor(QPixmap(QStringLiteral(":/cursors/hand.png")), 6, 0);
}

void setForeColor(QWidget *label, unsigned bgr)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, fromBgr(bgr));
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

URLs::URLs(const Platform &platform, MainWindowLink *mainWindow)
    : ProgramWide(this), m_platform(platform), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("URLs"));
    setSecondaryWindowFrame(this);
    setWindowTitle(QStringLiteral("Meine Internet Tipps:"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/links.png")));
    setFixedSize(twips(3840), twips(2805));
    // Moves over the background reset the links; the labels keep their own moves.
    setMouseTracking(true);

    Command1 = designControl<QPushButton>(this, "Command1", twipsRect(3000, 2400, 735, 375),
                                          QStringLiteral("&O.K."));
    connect(Command1, &QPushButton::clicked, this, &URLs::Command1_Click);

    Label1 = addLink(0, &URLs::Label1_MouseMove, &URLs::Label1_Click);
    // The author's tool tip ends in his short name.
    Label1->setToolTip(Label1->toolTip() + QString::fromUtf8(author::ShortName));
    Label2 = addLink(1, &URLs::Label2_MouseMove, &URLs::Label2_Click);
    Label3 = addLink(2, &URLs::Label3_MouseMove, &URLs::Label3_Click);
    Label4 = addLink(3, &URLs::Label4_MouseMove, &URLs::Label4_Click);
    Label5 = addLink(4, &URLs::Label5_MouseMove, &URLs::Label5_Click);
    const QCursor hand = handCursor();
    for (QWidget *label : {Label1, Label2, Label3, Label4, Label5})
        label->setCursor(hand);

    QWidget::setTabOrder(Command1, Label1);
    QWidget::setTabOrder(Label1, Label2);
    QWidget::setTabOrder(Label2, Label3);
    QWidget::setTabOrder(Label3, Label4);
    QWidget::setTabOrder(Label4, Label5);

    centreOnScreen(this);
}

EventLabel *URLs::addLink(int index, void (URLs::*moveHandler)(), void (URLs::*clickHandler)())
{
    const Link &link = Links[index];
    auto *label = new EventLabel(this);
    label->setObjectName(QLatin1String(link.name));
    label->setFont(designFont(13.5));
    label->setText(QString::fromUtf8(link.caption));
    label->setToolTip(QString::fromUtf8(link.toolTip));
    label->move(twips(LinkLeft), twips(link.top));
    // Sized to the caption, in height as well.
    label->adjustSize();
    connect(label, &EventLabel::mouseMoved, this, moveHandler);
    connect(label, &EventLabel::clicked, this, clickHandler);
    return label;
}

URLs *URLs::showInstance(const Platform &platform, MainWindowLink *mainWindow)
{
    URLs *window = instance() ? instance() : new URLs(platform, mainWindow);
    bringForward(window);
    return window;
}

void URLs::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    Form_MouseMove();
}

void URLs::closeEvent(QCloseEvent *event)
{
    releaseInstance();
    event->accept();
}

void URLs::Form_MouseMove()
{
    for (QWidget *label : {Label1, Label2, Label3, Label4, Label5})
        showNormalLook(label);
}

void URLs::Label1_MouseMove()
{
    showPointedAtLook(Label1);
}

void URLs::Label2_MouseMove()
{
    showPointedAtLook(Label2);
}

void URLs::Label3_MouseMove()
{
    showPointedAtLook(Label3);
}

void URLs::Label4_MouseMove()
{
    showPointedAtLook(Label4);
}

void URLs::Label5_MouseMove()
{
    showPointedAtLook(Label5);
}

void URLs::Label1_Click()
{
    openAddress(Links[0].address);
}

void URLs::Label2_Click()
{
    openAddress(Links[1].address);
}

void URLs::Label3_Click()
{
    openAddress(Links[2].address);
}

void URLs::Label4_Click()
{
    openAddress(Links[3].address);
}

void URLs::Label5_Click()
{
    openAddress(Links[4].address);
}

void URLs::openAddress(const char *address)
{
    // The shell's convention: 32 and below are its error codes.
    constexpr int LastShellError = 32;
    if (m_platform.urlOpener->open(this, QString::fromUtf8(address)) <= LastShellError) {
        m_platform.messageBoxes->show(QStringLiteral("Kein Internetbrowser installiert ?!"),
                                      msgbox::StyleInformation, programTitle());
    }
}

void URLs::Command1_Click()
{
    Blick::showInstance(m_platform, m_mainWindow);
    hide();
}
