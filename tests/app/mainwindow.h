#pragma once

#include "answers.h"
#include "colors.h"
#include "discfixture.h"
#include "form1.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"
#include "picturebox.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The main window on a program folder of its own, its sound device turned by hand and the
// user's answers given in advance. Green text, a red current line, on black.
struct MainWindow {
    explicit MainWindow(const QStringList& tracks = {}, const SectorRead& reads = &Disc::readAudio)
    {
        writeFile(fixture.path(QStringLiteral("cv.ini")),
                  QByteArrayLiteral(" 65280 \r\n 255 \r\n 0 \r\n"));
        if (!tracks.isEmpty())
            fixture.mapDrive('d', fixture.makeDisc(QStringLiteral("disc"), tracks));
        window = std::make_unique<Form1>(colors, fixture.programFolder(), output.devices(reads),
                                         answers);
    }
    template <typename Control> Control* find() { return window->findChild<Control*>(); }
    MMControl& player() { return *find<MMControl>(); }
    PictureBox& view() { return *find<PictureBox>(); }
    QPushButton* button(const QString& caption)
    {
        const QList<QPushButton*> buttons = window->findChildren<QPushButton*>();
        return *std::ranges::find(buttons, caption, &QPushButton::text);
    }
    void press(const QString& caption) { QTest::mouseClick(button(caption), Qt::LeftButton); }
    QToolButton* playerButton(int i) { return player().findChildren<QToolButton*>()[i]; }
    void play() { QTest::mouseClick(playerButton(0), Qt::LeftButton); }
    void stop() { QTest::mouseClick(playerButton(1), Qt::LeftButton); }
    bool playing() { return playerButton(1)->isEnabled(); }
    bool synchronising()
    {
        return find<QTimer>()->isActive() && !button(QStringLiteral("開く"))->isEnabled();
    }
    void choose(int item)
    {
        find<QComboBox>()->setCurrentIndex(item);
        emit find<QComboBox>()->activated(item);
    }
    void openLyrics(const QByteArray& cp932)
    {
        writeFile(fixture.path(QStringLiteral("lyrics.txt")), cp932);
        answers.lyricsFiles << fixture.path(QStringLiteral("lyrics.txt"));
        press(QStringLiteral("開く"));
    }
    // Plays `ms` more of the disc, then runs one tick.
    void tick(int ms)
    {
        output.sink().play(ms * 441 / 10);
        window->Timer1_Timer();
    }
    QString label() { return find<QLabel>()->text(); }

    DiscFixture fixture;
    ManualOutput output;
    Colors colors;
    Answers answers;
    std::unique_ptr<Form1> window;
};
