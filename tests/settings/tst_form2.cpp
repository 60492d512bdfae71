#include "answerdialog.h"
#include "colors.h"
#include "colorswatch.h"
#include "discfixture.h"
#include "form2.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"
#include "readonlyfolder.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A settings window over a player opened on drive D:, the program folder holding D: and F:.
struct SettingsWindow {
    explicit SettingsWindow(bool withDrives = true)
    {
        if (withDrives) {
            fixture.mapDrive('f', fixture.makeDisc(u"two"_s, {u"1000"_s, u"1000"_s}));
            fixture.mapDrive('d', fixture.makeDisc(u"one"_s, {u"1000"_s}));
            fixture.mapDrive('e', fixture.path(u"gone.cue"_s));
        }
        player.setCommand(u"open"_s);
        form = std::make_unique<Form2>(colors, fixture.programFolder(), player, nullptr);
    }
    template <typename Control> Control* control(const char* name)
    {
        return form->findChild<Control*>(QLatin1String(name));
    }
    QStringList drives()
    {
        QStringList items;
        for (int i = 0; i < control<QComboBox>("Combo1")->count(); ++i)
            items << control<QComboBox>("Combo1")->itemText(i);
        return items;
    }
    // Clicks a swatch and answers the colour dialog with a colour, or cancels it.
    void pick(const char* swatch, std::optional<QColor> colour)
    {
        whenShown<QColorDialog>([colour](QColorDialog* dialog) {
            if (colour) {
                dialog->setCurrentColor(*colour);
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        QTest::mouseClick(control<QWidget>(swatch), Qt::LeftButton);
    }
    void ok() { QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton); }
    QByteArray settingsFile() const { return fileBytes(fixture.path(u"cv.ini"_s)); }

    DiscFixture fixture;
    ManualOutput output;
    Colors colors;
    MMControl player{fixture.programFolder(), {output.factory()}};
    std::unique_ptr<Form2> form;
};

} // namespace

class Form2Test final : public QObject {
    Q_OBJECT

private slots:
    void listsTheCdDrivesFirstChosen();
    void okAppliesReopensAndSaves();
    void closeBoxDiscardsEverything();
    void withoutAnyDriveOkSavesTheColoursOnly();
    void okWhereNothingCanBeSavedAppliesTheColours();
};

void Form2Test::listsTheCdDrivesFirstChosen()
{
    SettingsWindow settings;
    QCOMPARE(settings.drives(), (QStringList{u"D:"_s, u"F:"_s}));
    QCOMPARE(settings.control<QComboBox>("Combo1")->currentIndex(), 0);
    QCOMPARE(settings.control<ColorSwatch>("Label5")->value(), 0); // unset shows black
}

void Form2Test::okAppliesReopensAndSaves()
{
    SettingsWindow settings;
    settings.pick("Label5", QColor(Qt::red));
    settings.pick("Label6", std::nullopt); // cancelled: unchanged
    QCOMPARE(settings.control<ColorSwatch>("Label5")->value(), 0x0000FF);
    QCOMPARE(settings.control<ColorSwatch>("Label6")->value(), 0);
    settings.control<QComboBox>("Combo1")->setCurrentIndex(1);
    settings.ok();

    QCOMPARE(settings.form->result(), QDialog::Accepted);
    QCOMPARE(settings.player.trackCount(), 2); // reopened on F:
    QCOMPARE(settings.colors.TextColor, 0x0000FF);
    QCOMPARE(settings.settingsFile(), " 255 \r\n 0 \r\n 0 \r\n"_ba);
}

void Form2Test::closeBoxDiscardsEverything()
{
    SettingsWindow settings;
    settings.colors = {1, 2, 3};
    settings.form = std::make_unique<Form2>(settings.colors, settings.fixture.programFolder(),
                                            settings.player, nullptr);
    QCOMPARE(settings.control<ColorSwatch>("Label7")->value(), 3);
    settings.pick("Label7", QColor(Qt::blue));
    settings.control<QComboBox>("Combo1")->setCurrentIndex(1);
    settings.form->close();

    QCOMPARE(settings.colors.BackgroundColor, 3);
    QCOMPARE(settings.player.trackCount(), 1);
    QVERIFY(settings.settingsFile().isEmpty());
}

void Form2Test::withoutAnyDriveOkSavesTheColoursOnly()
{
    SettingsWindow settings(false);
    QVERIFY(settings.drives().isEmpty());
    settings.pick("Label6", QColor(0, 128, 255));
    settings.ok();
    QCOMPARE(settings.form->result(), QDialog::Accepted);
    QCOMPARE(settings.settingsFile(), " 0 \r\n 16744448 \r\n 0 \r\n"_ba);
}

// A settings file that cannot be written costs only the save: the window closes as after any
// OK, the colours apply, and the old file stays.
void Form2Test::okWhereNothingCanBeSavedAppliesTheColours()
{
    SettingsWindow settings;
    const QByteArray saved = " 1 \r\n 2 \r\n 3 \r\n"_ba;
    writeFile(settings.fixture.path(u"cv.ini"_s), saved);
    const ReadOnlyFolder locked(settings.fixture.programFolder());
    if (!locked.holds())
        QSKIP("this process writes into read-only folders");
    settings.pick("Label5", QColor(Qt::red));
    settings.ok();
    QCOMPARE(settings.form->result(), QDialog::Accepted);
    QCOMPARE(settings.colors.TextColor, 0x0000FF);
    QCOMPARE(settings.settingsFile(), saved);
}

int runForm2Tests(int argc, char* argv[])
{
    Form2Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form2.moc"
