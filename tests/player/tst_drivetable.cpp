#include "discfixture.h"
#include "drivetable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace Qt::StringLiterals;

class DriveTableTest final : public QObject {
    Q_OBJECT

private slots:
    void mapsLettersToImages();
    void followsAChangedLink();
};

void DriveTableTest::mapsLettersToImages()
{
    DiscFixture fixture;
    const QString first = fixture.makeDisc(u"first"_s, {u"1000"_s});
    const QString second = fixture.makeDisc(u"second"_s, {u"1000"_s});
    QFile notes(fixture.path(u"notes.txt"_s));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.close();
    fixture.mapDrive('f', second);
    fixture.mapDrive('d', first);
    fixture.mapDrive('e', notes.fileName());            // a plain file is no disc
    fixture.mapDrive('g', fixture.path(u"gone.cue"_s)); // nor is nothing
    QVERIFY(QFile::link(first, fixture.path(u"drives/dd:"_s)));
    QVERIFY(QFile::link(first, fixture.path(u"drives/h"_s)));

    const DriveTable table = DriveTable::scan(fixture.programFolder());
    QCOMPARE(table.letters(), (QList<QChar>{u'D', u'F'}));
    QCOMPARE(table.target(u'd'), QFileInfo(first).canonicalFilePath());
    QCOMPARE(table.target(u'F'), QFileInfo(second).canonicalFilePath());
    QVERIFY(!table.target(u'E'));
    QVERIFY(!table.target(u'G'));
    QCOMPARE(table.defaultTarget(), table.target(u'D'));
}

void DriveTableTest::followsAChangedLink()
{
    DiscFixture fixture;
    QVERIFY(!DriveTable::scan(fixture.programFolder()).defaultTarget());
    const QString first = fixture.makeDisc(u"first"_s, {u"1000"_s});
    const QString second = fixture.makeDisc(u"second"_s, {u"1000"_s});
    fixture.mapDrive('e', first);
    QCOMPARE(DriveTable::scan(fixture.programFolder()).target(u'e'),
             QFileInfo(first).canonicalFilePath());
    fixture.mapDrive('e', second);
    QCOMPARE(DriveTable::scan(fixture.programFolder()).target(u'e'),
             QFileInfo(second).canonicalFilePath());
}

int runDriveTableTests(int argc, char* argv[])
{
    DriveTableTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_drivetable.moc"
