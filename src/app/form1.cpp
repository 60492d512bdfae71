#include "form1.h"

#include "albumopener.h"
#include "color.h"
#include "colors.h"
#include "dialogs.h"
#include "form2.h"
#include "lyricsfile.h"
#include "lyricsmemory.h"
#include "lyricsoffer.h"
#include "lyricwindow.h"
#include "mmcontrol.h"
#include "mprisplayer.h"
#include "picturebox.h"
#include "settingsfile.h"
#include "titlebar.h"
#include "twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <utility>

namespace {

// Why a lyrics file was not read. Silent unless asked:
// QT_LOGGING_RULES="corvanta.lyrics.info=true".
Q_LOGGING_CATEGORY(lyricsLog, "corvanta.lyrics", QtWarningMsg)

constexpr qint32 kButtonFace = qint32(0x8000000F);
constexpr qint32 kElapsedTimeColor = 0x00C0C0;

QPushButton* makeButton(const QString& caption, const QRect& geometry, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(geometry);
    return button;
}

// "ＭＳ Ｐゴシック" 15.75 pt bold, in the Japanese Gothic faces Linux has.
QFont elapsedTimeFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("sans-serif")});
    font.setPointSizeF(15.75);
    font.setBold(true);
    return font;
}

} // namespace

Form1::Form1(Colors& colors, const QString& programFolder, const PlayerDevices& devices,
             Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      colors_(colors), programFolder_(programFolder), dialogs_(dialogs),
      Picture1(new PictureBox(this)), Combo1(new QComboBox(this)),
      MMControl1(new MMControl(programFolder, devices, this)),
      Command1(makeButton(QStringLiteral("更新"), twipsRect(7920, 120, 735, 375), this)),
      Command2(makeButton(QStringLiteral("開く"), twipsRect(120, 120, 735, 375), this)),
      Command3(makeButton(QStringLiteral("設定"), twipsRect(960, 120, 735, 375), this)),
      Label10(new QLabel(this)), Timer1(new QTimer(this)),
      albums_(new AlbumOpener(programFolder, this))
{
    setWindowTitle(QStringLiteral("Corvanta"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/corvanta.png")));
    setFixedSize(twips(8700), twips(5625));
    QPalette background = palette();
    background.setColor(QPalette::Window, toQColor(kButtonFace, background));
    setPalette(background);
    setAutoFillBackground(true);

    Picture1->setGeometry(twipsRect(0, 600, 8655, 4935));
    Picture1->setFocusPolicy(Qt::StrongFocus);
    Combo1->setGeometry(twipsRect(6120, 120, 1695, 300));
    MMControl1->move(twips(5280), twips(120));
    Label10->setGeometry(twipsRect(3840, 120, 1290, 330));
    Label10->setAlignment(Qt::AlignCenter);
    Label10->setFont(elapsedTimeFont());
    Label10->setAutoFillBackground(true);
    QPalette label = Label10->palette();
    label.setColor(QPalette::Window, Qt::black);
    label.setColor(QPalette::WindowText, toQColor(kElapsedTimeColor, label));
    Label10->setPalette(label);

    Timer1->setInterval(100);
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    // A choice by the user, even of the item already chosen; never a rebuilt list.
    connect(Combo1, &QComboBox::activated, this, &Form1::Combo1_Click);
    connect(MMControl1, &MMControl::PlayCompleted, this, &Form1::MMControl1_PlayCompleted);
    connect(MMControl1, &MMControl::StopCompleted, this, &Form1::MMControl1_StopCompleted);
    connect(MMControl1, &MMControl::stateChanged, this, &Form1::playerStopped);

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(albums_, &AlbumOpener::linked, this, &Form1::openDrive);
    setAcceptDrops(true);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    connectMediaControls();
    if (ownTitleBars())
        TitleBar::addTo(*this);
    Form_Load();
}

// Where the compositor draws no title bars, the program's windows have their own, with no
// minimise or maximise: Qt's own draws both whatever the window's flags.
bool Form1::ownTitleBars() const
{
    return wayland_ && !wayland_->decorations;
}

void Form1::Form_Load()
{
    LoadSettings(colors_, programFolder_);
    MMControl1->setCommand(QStringLiteral("stop"));
    MMControl1->setCommand(QStringLiteral("close"));
    // The window is shown at once, as it is without a disc; start-up goes on when the drive
    // answers, however long it takes.
    connect(MMControl1, &MMControl::openAnswered, this, &Form1::chooseFirstTrack,
            Qt::ConnectionType(Qt::SingleShotConnection | Qt::UniqueConnection));
    MMControl1->setCommand(QStringLiteral("open"));
    MMControl1->setTimeFormat(0);
}

void Form1::chooseFirstTrack()
{
    FillTrackList();
    if (Combo1->count() > 0) {
        Combo1->setCurrentIndex(0);
        Combo1_Click();
    }
}

// The window's activation is the program's own: it comes with the first showing and when the
// settings window hands it back. The window manager's activations are not the program's: a
// window manager activates the window again after every dialog and whenever the user comes back
// from another program, and following those would clear the lyrics just drawn.
void Form1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!std::exchange(shownBefore_, true))
        Form_Activate();
}

// Also runs when the settings window closes, which is how a new background reaches the view.
void Form1::Form_Activate()
{
    Picture1->setBackColor(color(colors_.BackgroundColor));
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Form1::Form_Unload()
{
    MMControl1->setCommand(QStringLiteral("stop"));
    MMControl1->setCommand(QStringLiteral("close"));
}

// The chosen track's lyrics, where they are known, are chosen in the dialog already; a file that
// opens is remembered for the track.
void Form1::Command2_Click()
{
    MMControl1->setLoadingFlag(false);
    LyricsMemory memory = LyricsMemory::load(programFolder_);
    const int track = chosenTrack();
    const QString discId = MMControl1->discId();
    const LyricsOffer offer = offerLyrics(memory, discId, track, MMControl1->source(track));
    mpris_->setAnswering(false);
    const std::optional<QString> path = dialogs_.askLyricsFile(this, offer.folder, offer.file);
    mpris_->setAnswering(true);
    if (path) {
        MMControl1->setCommand(QStringLiteral("stop"));
        // A file that cannot be opened leaves the lists empty and the view as it was.
        if (QString whyNot; LoadLyrics(*path, List1, List2, &whyNot)) {
            drawPlainWindow(FindFirstTaggedLine(List1));
            memory.remember(*path, discId, track);
            memory.save(programFolder_);
        } else {
            qCInfo(lyricsLog) << *path << whyNot;
        }
    }
    MMControl1->setLoadingFlag(true);
    tellMediaControls();
}

// The disc's own number of the track chosen in the list; 0 when none is.
int Form1::chosenTrack() const
{
    return Combo1->currentIndex() < 0 ? 0 : MMControl1->firstTrack() + Combo1->currentIndex();
}

// The window around a line with every row in the text colour.
void Form1::drawPlainWindow(int centre)
{
    const QColor text = color(colors_.TextColor);
    DrawLyricWindow(*Picture1, List2, centre, text, text);
}

QColor Form1::color(std::optional<qint32> value) const
{
    return toQColor(value, palette());
}

void Form1::Command3_Click()
{
    Form2 settings(colors_, programFolder_, *MMControl1, dialogs_, this);
    if (ownTitleBars())
        TitleBar::addTo(settings);
    mpris_->setAnswering(false);
    dialogs_.showModal(settings);
    mpris_->setAnswering(true);
    Form_Activate();
}
