#pragma once

#include "playerdevices.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Disc;
class Playback;
class QToolButton;

// The CD player control: a play and a stop button and the properties the program drives it
// with. It owns the disc and its playback. Times are milliseconds on the disc's MSF time line.
//
// Only the play button starts playback; it runs from the play start set since the last play (or
// else from the current position) to the end of the last audio track, then stops by itself.
// PlayCompleted follows a press of play once playback is under way, StopCompleted a press of
// stop; commands sent from code emit neither. Reads without a disc return 0. A track the disc does
// not have is refused, and the player keeps the track it had.
//
// Nothing here waits on the drive once a disc is open: stopping or closing leaves a read in
// flight to finish on the reader's thread.
class MMControl : public QWidget {
    Q_OBJECT

public:
    MMControl(QString programFolder, PlayerDevices devices, QWidget* parent = nullptr);
    ~MMControl() override;

    // "open", "close" or "stop", in any letter case; anything else is ignored.
    void setCommand(const QString& command);
    // The drive the next "open" opens, such as "D:"; empty for the lowest CD-ROM drive.
    void setDeviceElement(const QString& drive);
    // Only 0, milliseconds, is known; other formats are ignored.
    void setTimeFormat(int format);
    int trackCount() const;
    // Ignored for a track the disc does not have.
    void setTrack(int number);
    int trackLength() const;
    int trackStart() const;
    int position() const;
    void setPlayStart(int ms);
    // While false both buttons are disabled.
    void setLoadingFlag(bool ready);

    // The drive letters as they are now: the program folder's links and the optical drives.
    DriveTable drives() const;

signals:
    void PlayCompleted();
    void StopCompleted();

private:
    void open();
    void close();
    void stopPlayback();
    void playPressed();
    void stopPressed();
    void checkPlaybackEnd();
    void updateButtons();

    const QString programFolder_;
    const PlayerDevices devices_;
    QString deviceElement_;
    bool ready_ = true;
    int track_ = 1;
    std::optional<int> playStartSector_;
    std::int64_t positionFrame_ = 0; // while not playing
    std::int64_t originFrame_ = 0;   // of the playback under way

    QToolButton* playButton_;
    QToolButton* stopButton_;
    QTimer endWatch_;
    // Shared with the playbacks, whose readers hold the disc while they read it.
    std::shared_ptr<Disc> disc_;
    std::unique_ptr<Playback> playback_;
    // Stopped playbacks whose reader may still be inside a read; let go of once it has returned.
    std::vector<std::unique_ptr<Playback>> stopped_;
};
