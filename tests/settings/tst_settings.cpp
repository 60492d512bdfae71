#include "color.h"

#include <QTest>

class SettingsTest final : public QObject {
    Q_OBJECT

private slots:
    void colorValues_data();
    void colorValues();
};

void SettingsTest::colorValues_data()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(0x11, 0x22, 0x33));
    palette.setColor(QPalette::Base, QColor(0x44, 0x55, 0x66));
    palette.setColor(QPalette::Text, QColor(0x77, 0x88, 0x99));
    palette.setColor(QPalette::Highlight, QColor(0xAA, 0xBB, 0xCC));

    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<std::optional<qint32>>("value");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("unset is black") << palette << std::optional<qint32>() << QColor(Qt::black);
    QTest::newRow("red sits in the low byte")
        << palette << std::optional<qint32>(0x0000FF) << QColor(255, 0, 0);
    QTest::newRow("blue in the third")
        << palette << std::optional<qint32>(0xFF0000) << QColor(0, 0, 255);
    QTest::newRow("33023 is orange")
        << palette << std::optional<qint32>(33023) << QColor(255, 128, 0);
    QTest::newRow("elapsed-time yellow")
        << palette << std::optional<qint32>(0x00C0C0) << QColor(0xC0, 0xC0, 0x00);
    QTest::newRow("button face follows the palette")
        << palette << std::optional<qint32>(qint32(0x8000000F)) << QColor(0x11, 0x22, 0x33);
    QTest::newRow("-2147483633 is the button face")
        << palette << std::optional<qint32>(-2147483633) << QColor(0x11, 0x22, 0x33);
    QTest::newRow("window is the base")
        << palette << std::optional<qint32>(qint32(0x80000005)) << QColor(0x44, 0x55, 0x66);
    QTest::newRow("window text") << palette << std::optional<qint32>(qint32(0x80000008))
                                 << QColor(0x77, 0x88, 0x99);
    QTest::newRow("highlight") << palette << std::optional<qint32>(qint32(0x8000000D))
                               << QColor(0xAA, 0xBB, 0xCC);
    QTest::newRow("no role: classic caption blue")
        << palette << std::optional<qint32>(qint32(0x80000002)) << QColor(0x99, 0xB4, 0xD1);
    QTest::newRow("no such system colour")
        << palette << std::optional<qint32>(qint32(0x80000020)) << QColor(Qt::black);
    QTest::newRow("high byte of an RGB value ignored")
        << palette << std::optional<qint32>(0x7F0000FF) << QColor(255, 0, 0);
}

void SettingsTest::colorValues()
{
    QFETCH(QPalette, palette);
    QFETCH(std::optional<qint32>, value);
    QFETCH(QColor, expected);
    QCOMPARE(toQColor(value, palette), expected);
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
