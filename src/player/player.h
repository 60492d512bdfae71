#pragma once

#include "driveopener.h"
#include "playerdevices.h"

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <optional>

class Disc;
class Playback;

// The CD player without its buttons: the disc, its playback and the properties the program
// drives it with. Times are milliseconds on the disc's MSF time line.
//
// Nothing here waits on a drive or on the sound output. An open runs on a thread of its own and
// openAnswered() tells when the drive has answered; until then the player is as it is without a
// disc. Play starts once the sound output is open; PlayCompleted follows then. A playback that
// ends by itself (at the end of the disc's audio, or when the disc or the output is lost) ends as
// the stop button ends one, with StopCompleted. Stopping or closing leaves a read in flight to
// finish on the reader's thread.
class Player : public QObject {
    Q_OBJECT

public:
    Player(QString programFolder, PlayerDevices devices, QObject* parent = nullptr);
    ~Player() override;

    // "open", "close" or "stop", in any letter case; anything else is ignored.
    void setCommand(const QString& command);
    // The drive the next "open" opens, such as "D:"; empty for the lowest CD-ROM drive.
    void setDeviceElement(const QString& drive) { deviceElement_ = drive; }
    int trackCount() const;
    // The disc's own number of its first track; 1 without a disc.
    int firstTrack() const;
    // Ignored for a track the disc does not have.
    void setTrack(int number);
    int track() const { return track_; }
    int trackLength() const { return trackLength(track_); }
    // Of any of the disc's tracks, without choosing it; 0 for one it does not have.
    int trackLength(int number) const;
    int trackStart() const { return trackStart(track_); }
    // Of any of the disc's tracks; 0 for one it does not have.
    int trackStart(int number) const;
    // While playing, the track being heard: a later one than the track held once playback has
    // run on past its end. Otherwise the track held.
    int trackHeard() const;
    int position() const;
    // What the disc's CD-TEXT says of the disc (0) or of a track.
    DiscText text(int track) const;
    // The disc's MusicBrainz disc ID; empty without a disc.
    QString discId() const;
    // Where a disc from files keeps a track; empty for a drive.
    TrackSource source(int track) const;
    void setPlayStart(int ms);

    bool hasDisc() const { return disc_ != nullptr; }
    // From a press of play until playback has stopped, the start of the sound output included.
    bool isPlaying() const { return playback_ != nullptr; }
    void play();
    void stop();
    // How loud the sound output plays, from 0 (silent) to 1 (as the disc has it), from now on.
    void setVolume(double volume);
    double volume() const { return volume_; }

    // The drive letters as the last open found them, the program folder's links and the optical
    // drives, without waiting for any drive or link.
    DriveTable drives() const;
    // Lists the drives afresh; drivesListed() follows. A listing still waiting for its turn serves
    // for this one too.
    void listDrives();

signals:
    void openAnswered();
    void drivesListed();
    void PlayCompleted();
    void StopCompleted();
    // The disc, or whether it plays, has changed.
    void stateChanged();

private:
    void open();
    void close();
    void stopPlayback();
    void opened(std::shared_ptr<Disc> disc);
    void started(std::shared_ptr<AudioSink> sink);
    void checkPlaybackEnd();

    const QString programFolder_;
    const PlayerDevices devices_;
    QString deviceElement_;
    int track_ = 1;
    double volume_ = 1.0;
    std::optional<int> playStartSector_;
    std::int64_t positionFrame_ = 0; // while not playing
    std::int64_t originFrame_ = 0;   // of the playback under way
    // Answers to an open, and sound outputs, that come after a newer open, close or stop are
    // dropped.
    std::uint64_t openRequest_ = 0;
    std::uint64_t openAsked_ = 0; // the open opening_ watches
    std::uint64_t playRequest_ = 0;

    // The sound output asked for by the playback under way until it comes, cancelled when the
    // playback stops first, so a storm of presses opens no device for presses long gone.
    QFuture<std::shared_ptr<AudioSink>> sinkAsked_;
    QTimer endWatch_;
    DriveOpener drives_;
    // The open under way, watched by one watcher however many opens a hung drive holds up.
    QFutureWatcher<std::shared_ptr<Disc>> opening_;
    // Shared with the playbacks, whose readers hold the disc while they read it. Closed on its
    // drive's thread by whoever lets go of it last.
    std::shared_ptr<Disc> disc_;
    std::unique_ptr<Playback> playback_;
};
