#pragma once

#include "player.h"

#include <QWidget>

class QToolButton;

// The CD player control: a play and a stop button over the player, and the properties the
// program drives it with. Only the play button starts playback, only the stop button and a
// playback that ends by itself notify; commands sent from code say nothing. Reads without a
// disc return 0.
class MMControl : public QWidget {
    Q_OBJECT

public:
    MMControl(QString programFolder, PlayerDevices devices, QWidget* parent = nullptr);

    void setCommand(const QString& command) { player_.setCommand(command); }
    void setDeviceElement(const QString& drive) { player_.setDeviceElement(drive); }
    // Only 0, milliseconds, is known, and the only format kept.
    void setTimeFormat(int) {}
    int trackCount() const { return player_.trackCount(); }
    int firstTrack() const { return player_.firstTrack(); }
    void setTrack(int number) { player_.setTrack(number); }
    int track() const { return player_.track(); }
    int trackLength() const { return player_.trackLength(); }
    int trackLength(int number) const { return player_.trackLength(number); }
    int trackStart() const { return player_.trackStart(); }
    int trackStart(int number) const { return player_.trackStart(number); }
    int trackHeard() const { return player_.trackHeard(); }
    int position() const { return player_.position(); }
    DiscText text(int track) const { return player_.text(track); }
    QString discId() const { return player_.discId(); }
    TrackSource source(int track) const { return player_.source(track); }
    void setVolume(double volume) { player_.setVolume(volume); }
    double volume() const { return player_.volume(); }
    void setPlayStart(int ms) { player_.setPlayStart(ms); }
    // While false both buttons are disabled.
    void setLoadingFlag(bool ready);
    DriveTable drives() const { return player_.drives(); }
    void listDrives() { player_.listDrives(); }

    // The buttons as the user sees and presses them.
    bool canPlay() const;
    bool isPlaying() const { return player_.isPlaying(); }
    void pressPlay();
    void pressStop();

signals:
    void openAnswered();
    void drivesListed();
    // The disc, whether it plays, or whether the buttons can be pressed has changed.
    void stateChanged();
    void PlayCompleted();
    void StopCompleted();

private:
    void updateButtons();

    Player player_;
    bool ready_ = true;
    QToolButton* playButton_;
    QToolButton* stopButton_;
};
