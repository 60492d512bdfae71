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
#include <future>

// Holds a drive's answers to the calls made through it until let go, and ten seconds at most,
// so that a window that waits for them fails.
struct HeldDrive {
    template <typename Call> auto holding(Call call)
    {
        return [call, answer = answer, waiting = waiting, calls = calls](auto&&... arguments) {
            ++*calls;
            ++*waiting;
            answer.wait_for(std::chrono::seconds(10));
            --*waiting;
            return call(arguments...);
        };
    }
    void letGo() { gate.set_value(); }

    std::promise<void> gate;
    std::shared_future<void> answer = gate.get_future().share();
    std::shared_ptr<std::atomic<int>> waiting = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<std::atomic<int>> calls = std::make_shared<std::atomic<int>>(0);
};

// The main window on a program folder of its own, its sound device turned by hand and the
// user's answers given in advance. Green text, a red current line, on black. Made once the disc
// has answered, unless the drive is changed to hold its answers.
struct MainWindow {
    explicit MainWindow(const QStringList& tracks = {},
                        const std::function<void(PlayerDevices&)>& change = {}, int firstTrack = 1)
    {
        writeFile(fixture.path(QStringLiteral("cv.ini")),
                  QByteArrayLiteral(" 65280 \r\n 255 \r\n 0 \r\n"));
        if (!tracks.isEmpty())
            fixture.mapDrive('d', fixture.makeDisc(QStringLiteral("disc"), tracks, firstTrack));
        PlayerDevices devices = output.devices();
        if (change)
            change(devices);
        window = std::make_unique<Form1>(colors, fixture.programFolder(), devices, answers);
        if (!change)
            QTRY_COMPARE(find<QComboBox>()->count(), tracks.size());
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
    // Plays on until the player stops by itself.
    void playToTheEnd() { QTRY_VERIFY(!playing() || (output.sink().play(44100), false)); }

    DiscFixture fixture;
    ManualOutput output;
    Colors colors;
    Answers answers;
    std::unique_ptr<Form1> window;
};
