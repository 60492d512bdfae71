#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>

// What the player shows on the desktop's media controls, told by the window whenever it changes.
struct MprisState {
    bool playing = false;
    bool canPlay = false;
    bool canGoNext = false;
    bool canGoPrevious = false;
    int track = 0; // the disc's own number of the track the player holds; 0 without a disc
    qint64 lengthUs = 0;
    QString title;
    QString artist; // where the disc's CD-TEXT names them
    QString album;
    QString lyrics; // as read, tags included

    bool operator==(const MprisState&) const = default;
};

// What the media controls may do to the window: each acts as the user's own press or choice.
struct MprisControls {
    std::function<void()> raise, quit, play, stop, next, previous;
    std::function<qint64()> positionUs;
};

// The player on the session bus as MPRIS 2 has it (org.mpris.MediaPlayer2 and its Player), for
// the desktop's media keys and sound menu. The player has no pause: a pause stops, as the stop
// button does. The generated adaptors read the properties and call the slots below by their
// D-Bus names.
class MprisPlayer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE ignore)
    Q_PROPERTY(double Volume READ one WRITE ignore)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanSeek READ no)
    Q_PROPERTY(bool CanControl READ yes)

public:
    explicit MprisPlayer(MprisControls controls, QObject* parent = nullptr);
    ~MprisPlayer() override;

    // Takes the player's name on the bus, or that of a second copy; nothing without a bus.
    void publish(QDBusConnection bus);
    void setState(const MprisState& state);
    // While false (a modal window is open) the calls that press or choose do nothing.
    void setAnswering(bool answering) { answering_ = answering; }
    // The position moved other than by playing.
    void positionJumped() { emit Seeked(position()); }

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
    void OpenUri(const QString&) {}

signals:
    void Seeked(qlonglong Position);

private:
    bool yes() const { return true; }
    bool no() const { return false; }
    double one() const { return 1.0; }
    void ignore(double) {}
    QStringList none() const { return {}; }
    QString identity() const;
    QString desktopEntry() const;
    QString playbackStatus() const;
    QVariantMap metadata() const;
    qlonglong position() const { return controls_.positionUs(); }
    bool canGoNext() const { return state_.canGoNext; }
    bool canGoPrevious() const { return state_.canGoPrevious; }
    bool canPlay() const { return state_.canPlay; }
    void press(const std::function<void()>& control);

    const MprisControls controls_;
    MprisState state_;
    bool answering_ = true;
    QDBusConnection bus_{QString()};
    QString name_;
};
