#include "colors.h"
#include "discfixture.h"
#include "form1.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"
#include "picturebox.h"
#include "programfolder.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

class AppTest final : public QObject {
    Q_OBJECT

private slots:
    void programFolderIsTheExecutablesOnlyWhenPortable_data();
    void programFolderIsTheExecutablesOnlyWhenPortable();
    void startsWithoutADisc();
    void startsOnTheLowestDrive();
    void activationPaintsTheBackground();
    void keyboardOrder();
    void closingWhilePlayingStopsAndClosesThePlayer();
};

namespace {

// The main window on a program folder of its own, its sound device turned by hand.
struct MainWindow {
    explicit MainWindow(const QStringList& tracks = {})
    {
        if (!tracks.isEmpty())
            fixture.mapDrive('d', fixture.makeDisc(u"disc"_s, tracks));
        window = std::make_unique<Form1>(colors, fixture.programFolder(), output.factory());
    }
    template <typename Control> Control* control(const char* name)
    {
        return window->findChild<Control*>(QLatin1String(name));
    }
    MMControl& player() { return *control<MMControl>("MMControl1"); }
    QColor viewColor() { return control<PictureBox>("Picture1")->image().pixelColor(5, 5); }

    DiscFixture fixture;
    ManualOutput output;
    Colors colors;
    std::unique_ptr<Form1> window;
};

} // namespace

void AppTest::programFolderIsTheExecutablesOnlyWhenPortable_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<bool>("portable");
    QTest::newRow("settings file") << u"cv.ini"_s << true;
    QTest::newRow("drives folder") << u"drives/"_s << true;
    QTest::newRow("nothing") << QString() << false;
    QTest::newRow("a file named drives") << u"drives"_s << false;
    QTest::newRow("other files only") << u"corvanta.log"_s << false;
}

void AppTest::programFolderIsTheExecutablesOnlyWhenPortable()
{
    QFETCH(QString, content);
    QFETCH(bool, portable);
    QTemporaryDir executableFolder;
    if (content.endsWith(u'/')) {
        QVERIFY(QDir(executableFolder.path()).mkdir(content.chopped(1)));
    } else if (!content.isEmpty()) {
        QFile file(executableFolder.filePath(content));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString userFolder = u"/home/someone/.config/corvanta"_s;
    QCOMPARE(programFolder(executableFolder.path(), userFolder),
             portable ? executableFolder.path() : userFolder);
}

void AppTest::startsWithoutADisc()
{
    MainWindow main;
    QCOMPARE(main.window->windowTitle(), u"Corvanta"_s);
    QCOMPARE(main.window->size(), QSize(580, 375));
    QCOMPARE(main.window->minimumSize(), main.window->maximumSize());
    QCOMPARE(main.control<QComboBox>("Combo1")->count(), 0);
    QCOMPARE(main.control<QComboBox>("Combo1")->currentIndex(), -1);
    QVERIFY(!main.control<QTimer>("Timer1")->isActive());
    QCOMPARE(main.player().trackCount(), 0);
}

void AppTest::startsOnTheLowestDrive()
{
    MainWindow main({u"3000"_s, u"2000"_s});
    QCOMPARE(main.player().trackCount(), 2);
    QCOMPARE(main.player().position(), 2000); // and in milliseconds
    QVERIFY(!main.control<QTimer>("Timer1")->isActive());
}

void AppTest::activationPaintsTheBackground()
{
    MainWindow main;
    main.colors.BackgroundColor = 0x0000FF;
    main.window->show();
    main.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.window.get()));
    QCOMPARE(main.viewColor(), QColor(Qt::red));

    // A colour chosen in the settings window shows once it closes and the main window is active
    // again.
    main.colors.BackgroundColor = 0xFF0000;
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QTest::mouseClick(main.control<QPushButton>("Command3"), Qt::LeftButton);
    QTRY_COMPARE(main.viewColor(), QColor(Qt::blue));
}

void AppTest::keyboardOrder()
{
    MainWindow main({u"3000"_s});
    main.window->show();
    main.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.window.get()));
    QCOMPARE(QApplication::focusWidget()->objectName(), u"Picture1"_s);

    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget* focus = QApplication::focusWidget();
        order << (focus->objectName().isEmpty()
                      ? focus->parentWidget()->objectName() + u'.' + focus->accessibleName()
                      : focus->objectName());
    }
    // The stop button is skipped while it is disabled.
    QCOMPARE(order, (QStringList{u"Combo1"_s, u"MMControl1.再生"_s, u"Command1"_s, u"Command2"_s,
                                 u"Command3"_s, u"Picture1"_s}));
}

void AppTest::closingWhilePlayingStopsAndClosesThePlayer()
{
    MainWindow main({u"3000"_s});
    main.window->show();
    QTest::mouseClick(main.player().findChild<QToolButton*>(), Qt::LeftButton);
    QVERIFY(main.player().isPlaying());
    QVERIFY(main.window->close());
    QVERIFY(!main.player().isPlaying());
    QCOMPARE(main.player().trackCount(), 0);
}

QTEST_MAIN(AppTest)
#include "tst_app.moc"
