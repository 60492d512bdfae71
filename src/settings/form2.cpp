#include "form2.h"

#include "color.h"
#include "colors.h"
#include "colorswatch.h"
#include "dialogs.h"
#include "drivekind.h"
#include "drivetable.h"
#include "emptytitle.h"
#include "mmcontrol.h"
#include "settingsfile.h"
#include "twips.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kCdRom = 5;

void addCaption(const QString& text, const QRect& geometry, QWidget* parent)
{
    auto* caption = new QLabel(text, parent);
    caption->setGeometry(geometry);
}

template <typename Control> Control* placed(Control* control, const QRect& geometry)
{
    control->setGeometry(geometry);
    return control;
}

} // namespace

Form2::Form2(Colors& colors, const QString& programFolder, MMControl& player, Dialogs& dialogs,
             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      colors_(colors), programFolder_(programFolder), player_(player), dialogs_(dialogs),
      Label5(placed(new ColorSwatch(colors.TextColor.value_or(0), this),
                    twipsRect(2640, 240, 1215, 375))),
      Label6(placed(new ColorSwatch(colors.CurrentLineColor.value_or(0), this),
                    twipsRect(2640, 720, 1215, 375))),
      Label7(placed(new ColorSwatch(colors.BackgroundColor.value_or(0), this),
                    twipsRect(2640, 1200, 1215, 375))),
      // "OK" comes before the drive list in keyboard order.
      Command1(
          placed(new QPushButton(QStringLiteral("OK"), this), twipsRect(3600, 2760, 975, 375))),
      Combo1(placed(new QComboBox(this), twipsRect(2640, 1680, 1215, 300)))
{
    setFixedSize(twips(4680), twips(3195));
    addCaption(QStringLiteral("文字の色"), twipsRect(120, 240, 2295, 375), this);
    addCaption(QStringLiteral("選択されている文字の色"), twipsRect(120, 720, 2295, 375), this);
    addCaption(QStringLiteral("背景の色"), twipsRect(120, 1200, 2295, 375), this);
    addCaption(QStringLiteral("ＣＤドライブ"), twipsRect(120, 1680, 2295, 375), this);

    for (ColorSwatch* swatch : {Label5, Label6, Label7})
        connect(swatch, &ColorSwatch::clicked, this, [this, swatch] { chooseColor(swatch); });
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    Form_Load();
}

// The window has no title, and the window manager shows none either.
void Form2::showEvent(QShowEvent* event)
{
    keepTitleBarEmpty(*this);
    QDialog::showEvent(event);
}

// The drives as the player last found them, listed again once it has looked afresh: a drive or a
// link's target may take its time to answer, and the window never waits for it.
void Form2::Form_Load()
{
    listDrives();
    connect(&player_, &MMControl::drivesListed, this, &Form2::listDrives);
    player_.listDrives();
}

// The first drive is chosen whichever the player uses; a drive already chosen stays chosen.
void Form2::listDrives()
{
    const QString chosen = Combo1->currentText();
    Combo1->clear();
    const DriveTable drives = player_.drives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const QString name(QLatin1Char{letter});
        if (GetDriveKind(drives, name) == kCdRom)
            Combo1->addItem(name + u':');
    }
    Combo1->setCurrentIndex(std::max(Combo1->findText(chosen), Combo1->count() > 0 ? 0 : -1));
}

// A cancelled dialog leaves the swatch as it was.
void Form2::chooseColor(ColorSwatch* swatch)
{
    if (const std::optional<QColor> chosen = dialogs_.askColor(this))
        swatch->setValue(toColorValue(*chosen));
}

void Form2::Command1_Click()
{
    colors_.TextColor = Label5->value();
    colors_.CurrentLineColor = Label6->value();
    colors_.BackgroundColor = Label7->value();
    // Without any drive the colours still apply, and the player is left as it is.
    if (Combo1->currentIndex() >= 0) {
        player_.setCommand(QStringLiteral("Close"));
        player_.setDeviceElement(Combo1->currentText());
        player_.setCommand(QStringLiteral("Open"));
        player_.setTimeFormat(0);
    }
    // A settings file that cannot be written keeps the colours in effect all the same.
    SaveSettings(colors_, programFolder_);
    accept();
}
