#pragma once

#include "linelist.h"
#include "lyricsync.h"
#include "playerdevices.h"
#include "waylandoffers.h"

#include <QWidget>

struct Colors;
class AlbumOpener;
class Dialogs;
class MMControl;
class MprisPlayer;
class PictureBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

// The main window: the buttons, the elapsed-time label, the player control, the track list and
// the lyric view, and the handlers that tie them together.
class Form1 : public QWidget {
    Q_OBJECT

public:
    Form1(Colors& colors, const QString& programFolder, const PlayerDevices& devices,
          Dialogs& dialogs, QWidget* parent = nullptr);

    // The synchronisation tick, run by Timer1 every 100 ms while a track plays.
    void Timer1_Timer();
    // A disc image or a rip made a drive and opened, as 「設定」 opens a drive; what cannot be
    // opened leaves the drive in use.
    void openAlbum(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool ownTitleBars() const;
    void Form_Load();
    void chooseFirstTrack();
    void Form_Activate();
    void Form_Unload();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Combo1_Click();
    void MMControl1_PlayCompleted();
    void MMControl1_StopCompleted();
    void playerStopped();
    void FillTrackList();
    void openDrive(const QString& drive);
    int chosenTrack() const;
    void rewindToSelectedTrack();
    void setSynchronising(bool on);
    void drawPlainWindow(int centre);
    void connectMediaControls();
    void tellMediaControls();
    int trackHeard() const;
    void chooseNeighbour(int step);
    QColor color(std::optional<qint32> value) const;

    Colors& colors_;
    const QString programFolder_;
    Dialogs& dialogs_;
    bool shownBefore_ = false;
    // The lyric lines as read, and as shown.
    LineList List1;
    LineList List2;
    LyricSync sync_;

    // Created in keyboard order.
    PictureBox* Picture1;
    QComboBox* Combo1;
    MMControl* MMControl1;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QLabel* Label10;
    QTimer* Timer1;
    AlbumOpener* albums_;
    MprisPlayer* mpris_ = nullptr;
    const std::optional<WaylandOffers> wayland_ = askWaylandCompositor();
    QTimer* trackWatch_ = nullptr;
};
