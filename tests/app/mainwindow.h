#pragma once

#include "answerdialog.h"
#include "colors.h"
#include "discfixture.h"
#include "form1.h"
#include "manualaudiosink.h"
#include "mmcontrol.h"
#include "picturebox.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

// The main window on a program folder of its own, its sound device turned by hand.
struct MainWindow {
    explicit MainWindow(const QStringList& tracks = {}, const QByteArray& settings = {},
                        const SectorRead& reads = &Disc::readAudio)
    {
        if (!settings.isEmpty())
            writeFile(fixture.path(QStringLiteral("cv.ini")), settings);
        if (!tracks.isEmpty())
            fixture.mapDrive('d', fixture.makeDisc(QStringLiteral("disc"), tracks));
        window = std::make_unique<Form1>(colors, fixture.programFolder(),
                                         PlayerDevices{output.factory(), reads});
    }

    template <typename Control> Control* control(const char* name)
    {
        return window->findChild<Control*>(QLatin1String(name));
    }
    MMControl& player() { return *control<MMControl>("MMControl1"); }
    PictureBox& view() { return *control<PictureBox>("Picture1"); }
    QColor viewColor() { return view().image().pixelColor(5, 5); }
    void play() { QTest::mouseClick(player().findChildren<QToolButton*>()[0], Qt::LeftButton); }
    void stop() { QTest::mouseClick(player().findChildren<QToolButton*>()[1], Qt::LeftButton); }
    // Chooses an item of the track list as the user does.
    void choose(int item)
    {
        auto* tracks = control<QComboBox>("Combo1");
        tracks->setCurrentIndex(item);
        emit tracks->activated(item);
    }

    // Opens a lyrics file through "開く", entering its name in the dialog. (Typed keys would
    // race the dialog's completer for the Return key.)
    void openLyrics(const QByteArray& cp932)
    {
        const QString path = fixture.path(QStringLiteral("lyrics.txt"));
        writeFile(path, cp932);
        whenShown<QFileDialog>([this](QFileDialog* dialog) {
            dialog->setDirectory(fixture.programFolder());
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(QStringLiteral("lyrics.txt"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        QTest::mouseClick(control<QWidget>("Command2"), Qt::LeftButton);
    }

    DiscFixture fixture;
    ManualOutput output;
    Colors colors;
    std::unique_ptr<Form1> window;
};
