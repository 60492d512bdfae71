#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>

// What the player shows on the desktop's media controls, told by the window whenever it changes.
struct MprisState {
    bool playing = false;
    bool canGoNext = false;
    bool canGoPrevious = false;
    // The disc's own number of the track being heard, or played next; 0 without a disc.
    int track = 0;
    qint64 lengthUs = 0;
    QString title;
    QString artist; // where the disc's CD-TEXT names them
    QString album;
    QString lyrics; // as read, tags included
    double volume = 1.0;

    bool operator==(const MprisState&) const = default;
};

// What the media controls may do to the window: each acts as the user's own press or choice.
struct MprisControls {
    std::function<void()> raise, quit, play, stop, next, previous;
    // Into a track, within its length: 0 while stopped.
    std::function<qint64(int track)> positionUs;
    // Between 0 and 1.
    std::function<void(double)> setVolume;
    // A disc image or a rip, by its local path.
    std::function<void(const QString&)> open;
};

// The player on the session bus as MPRIS 2 has it (org.mpris.MediaPlayer2 and its Player), for
// the desktop's media keys and sound menu. The player has no pause: a pause stops, as the stop
// button does. The generated adaptors read the properties and call the slots below by their
// D-Bus names. Each call sends at most one PropertiesChanged, holding all it changed.
class MprisPlayer : public QObject, public QDBusContext {
    Q_OBJECT
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE setRate)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ hasTrack)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ no)
    Q_PROPERTY(bool CanControl READ yes)

public:
    explicit MprisPlayer(MprisControls controls, QObject* parent = nullptr);
    ~MprisPlayer() override;

    // Takes the player's name on the bus, or that of a second copy; nothing without a bus.
    void publish(QDBusConnection bus);
    // Asks the player that has the name on the bus to open a local file, as OpenUri; false when
    // there is none, or it does not answer within a few seconds.
    static bool handOver(QDBusConnection bus, const QString& path);
    void setState(const MprisState& state);
    // While false (a modal window is open) the calls that press or choose do nothing.
    void setAnswering(bool answering) { answering_ = answering; }
    // The position moved other than by playing.
    void positionJumped();

public slots:
    void Raise();
    void Quit();
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    void Next();
    void Previous();
    void Seek(qlonglong) {}
    void SetPosition(const QDBusObjectPath&, qlonglong) {}
    void OpenUri(const QString& uri);

signals:
    void Seeked(qlonglong Position);

private:
    bool yes() const { return true; }
    bool no() const { return false; }
    double one() const { return 1.0; }
    // Playing at no speed is a pause; other speeds are not offered.
    void setRate(double rate);
    double volume() const { return state_.volume; }
    void setVolume(double volume);
    QStringList uriSchemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const;
    QString identity() const;
    QString desktopEntry() const;
    QString playbackStatus() const;
    QVariantMap metadata() const;
    // Of the track Metadata names, even where playback has just run on past its end.
    qlonglong position() const { return controls_.positionUs(state_.track); }
    bool canGoNext() const { return state_.canGoNext; }
    bool canGoPrevious() const { return state_.canGoPrevious; }
    bool hasTrack() const { return state_.track != 0; }
    void press(const std::function<void()>& control);
    void tellChangesSince(const MprisState& before);
    void send(const QVariantMap& changed);

    const MprisControls controls_;
    MprisState state_;
    bool answering_ = true;
    // Inside a call's press: changes and jumps are told once it is over.
    bool pressing_ = false;
    bool jumped_ = false;
    QDBusConnection bus_{QString()};
    QString name_;
};
