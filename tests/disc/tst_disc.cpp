#include "cdtime.h"
#include "disc.h"
#include "discfixture.h"
#include "discid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>
#include <QtEndian>
#include <sndfile.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int kSector = cdtime::kBytesPerSector;
constexpr int kFrame = cdtime::kBytesPerFrame;

// A sheet's header as Exact Audio Copy writes it.
const QString kEac = u"REM GENRE Pop\nREM DATE 1999\nREM DISCID 2A0B1C03\n"
                     u"REM COMMENT \"ExactAudioCopy v1.6\"\nCATALOG 0000000000000\n"
                     u"PERFORMER \"Artist\"\nTITLE \"Album\"\n"_s;

// Sectors [from, to) of `disc` as a file of `kind`: raw (bin, motorola) or audio written with
// libsndfile (wav, float, flac, nolength: a FLAC whose header never got its length, opus).
void writeDiscFile(const QString& path, const QString& kind, const QByteArray& disc, int from,
                   int to)
{
    QByteArray pcm = disc.sliced(qsizetype(from) * kSector, qsizetype(to - from) * kSector);
    if (kind == u"bin"_s || kind == u"motorola"_s) {
        for (qsizetype i = 0; kind == u"motorola"_s && i < pcm.size(); i += 2)
            std::swap(pcm[i], pcm[i + 1]);
        return writeFile(path, pcm);
    }
    SF_INFO info{};
    info.samplerate = kind == u"opus"_s ? 48000 : cdtime::kSampleRate;
    info.channels = 2;
    info.format = kind == u"wav"_s     ? SF_FORMAT_WAV | SF_FORMAT_PCM_16
                  : kind == u"float"_s ? SF_FORMAT_WAV | SF_FORMAT_FLOAT
                  : kind == u"opus"_s  ? SF_FORMAT_OGG | SF_FORMAT_OPUS
                                       : SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    QVERIFY(file);
    const auto* samples = reinterpret_cast<const short*>(pcm.constData());
    std::vector<float> floats(samples, samples + pcm.size() / 2); // at full scale ±1.0
    std::transform(floats.begin(), floats.end(), floats.begin(), [](float s) { return s / 32768; });
    if (kind == u"float"_s)
        sf_writef_float(file, floats.data(), pcm.size() / kFrame);
    else
        sf_writef_short(file, samples, pcm.size() / kFrame);
    sf_close(file);
    if (kind == u"nolength"_s) { // STREAMINFO's 36 bits of length
        QFile flac(path);
        QVERIFY(flac.open(QIODevice::ReadWrite) && flac.seek(21));
        const char first = char(flac.peek(1)[0] & 0xf0);
        flac.write(QByteArray(1, first) + QByteArray(4, '\0'));
    }
}

QByteArray encoded(const QString& sheet, const QString& encoding)
{
    if (encoding == u"cp932"_s)
        return QStringEncoder("CP932")(sheet);
    if (encoding == u"utf-16"_s)
        return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)(sheet);
    if (encoding == u"bom, cr"_s)
        return "\xEF\xBB\xBF" + QString(sheet).replace(u'\n', u'\r').toUtf8();
    return sheet.toUtf8();
}

} // namespace

class DiscTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // A disc of 225, 338 and 150 sectors, cut into files as rippers and image writers leave
    // them, each row after the public test data of rippers and cue parsers.
    void sheetsAsRippersWriteThem_data()
    {
        QTest::addColumn<QString>("sheet");     // beside the files as "Artist - Album.cue"
        QTest::addColumn<QString>("encoding");  // utf-8, cp932, utf-16, "bom, cr"
        QTest::addColumn<QStringList>("files"); // NAME=KIND:FROM-TO[+BYTES of data]
        QTest::addColumn<QString>("layout");    // sectors a track, "d" for data; or the refusal
        const QString one = u"  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"_s;
        const QString three = one + u"  TRACK 02 AUDIO\n    INDEX 01 00:03:00\n"
                                    u"  TRACK 03 AUDIO\n    INDEX 01 00:07:38\n"_s;
        const QString two = u"  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n"_s;
        const QString last = u"FILE \"03.wav\" WAVE\n  TRACK 03 AUDIO\n    INDEX 01 00:00:00\n"_s;
        const auto row = [](const char* name, const QString& sheet, const QStringList& files,
                            const QString& layout, const QString& encoding = u"utf-8"_s) {
            QTest::newRow(name) << kEac + sheet << encoding << files << layout;
        };
        row("EAC single file, a renamed sheet", u"FILE \"CDImage.bin\" BINARY\n"_s + three,
            {u"CDImage.bin=bin:0-713"_s}, u"225 338 150"_s);
        row("one big-endian .bin a track",
            u"FILE \"1.bin\" MOTOROLA\n"_s + one + u"FILE \"2.bin\" MOTOROLA\n"_s + two +
                u"FILE \"3.bin\" MOTOROLA\n  TRACK 03 AUDIO\n    INDEX 01 00:00:00\n"_s,
            {u"1.bin=motorola:0-225"_s, u"2.bin=motorola:225-563"_s, u"3.bin=motorola:563-713"_s},
            u"225 338 150"_s);
        row("gaps appended",
            u"FILE \"01.wav\" WAVE\n"_s + one +
                u"  TRACK 02 AUDIO\n    INDEX 00 00:01:00\nFILE \"02.wav\" WAVE\n    INDEX 01 00:00:00\n"_s +
                last,
            {u"01.wav=wav:0-225"_s, u"02.wav=wav:225-563"_s, u"03.wav=wav:563-713"_s},
            u"225 338 150"_s);
        row("gaps prepended",
            u"FILE \"01.wav\" WAVE\n"_s + one +
                u"FILE \"02.wav\" WAVE\n"
                u"  TRACK 02 AUDIO\n    INDEX 00 00:00:00\n    INDEX 01 00:02:00\n"_s +
                last,
            {u"01.wav=wav:0-75"_s, u"02.wav=wav:75-563"_s, u"03.wav=wav:563-713"_s},
            u"225 338 150"_s);
        row("gaps left out",
            u"FILE \"01.wav\" WAVE\n"_s + one +
                u"FILE \"02.wav\" WAVE\n"
                u"  TRACK 02 AUDIO\n    PREGAP 00:02:00\n    INDEX 01 00:00:00\n"_s +
                last,
            {u"01.wav=wav:0-75"_s, u"02.wav=wav:225-563"_s, u"03.wav=wav:563-713"_s},
            u"75 338 150"_s);
        row("hidden track one audio",
            u"FILE \"a.flac\" WAVE\n  TRACK 01 AUDIO\n"
            u"    INDEX 00 00:00:00\n    INDEX 01 00:01:00\n"_s +
                three.sliced(one.size()),
            {u"a.flac=flac:0-713"_s}, u"150 338 150"_s);
        row("an Enhanced CD",
            u"FILE \"a.wav\" WAVE\n"_s + three +
                u"  TRACK 04 MODEx/2xxx\n    TITLE \"Data Track\"\n    INDEX 00 00:09:38\n"_s,
            {u"a.wav=wav:0-713"_s}, u"225 338 150 0d"_s);
        row("a data track of 2048-byte sectors",
            u"FILE \"a.bin\" BINARY\n"_s + three +
                u"  TRACK 04 MODE1/2048\n    INDEX 01 00:09:38\n"_s,
            {u"a.bin=bin:0-713+20480"_s}, u"225 338 150 10d"_s);
        row("code page 932, a Japanese name", u"TITLE \"夜\"\nFILE \"ソナタ.wav\" WAVE\n"_s + three,
            {u"ソナタ.wav=wav:0-713"_s}, u"225 338 150"_s, u"cp932"_s);
        row("UTF-16", u"FILE \"a.wav\" WAVE\n"_s + three, {u"a.wav=wav:0-713"_s}, u"225 338 150"_s,
            u"utf-16"_s);
        row("a byte-order mark, CR alone", u"FILE \"a.wav\" WAVE\n"_s + three,
            {u"a.wav=wav:0-713"_s}, u"225 338 150"_s, u"bom, cr"_s);
        row("album.wav become album.flac", u"FILE \"album.wav\" WAVE\n"_s + three,
            {u"album.flac=flac:0-713"_s, u"album.txt=bin:0-1"_s}, u"225 338 150"_s);
        row("a Windows path", u"FILE \"D:\\Music\\Album\\CDImage.bin\" BINARY\n"_s + three,
            {u"CDImage.bin=bin:0-713"_s}, u"225 338 150"_s);
        row("the case differs", u"FILE \"IMAGE.BIN\" BINARY\n"_s + three,
            {u"image.bin=bin:0-713"_s, u"Artist - Album.bin=bin:225-713"_s}, u"225 338 150"_s);
        row("two files differ only in case", u"FILE \"A.WAV\" WAVE\n"_s + three,
            {u"a.wav=wav:0-713"_s, u"A.wav=wav:0-713"_s}, u"A.wav, a.wav"_s);
        row("a float WAV", u"FILE \"a.wav\" WAVE\n"_s + three, {u"a.wav=float:0-713"_s},
            u"225 338 150"_s);
        row("a FLAC without its length", u"FILE \"a.flac\" WAVE\n"_s + three,
            {u"a.flac=nolength:0-713"_s}, u"a.flac: 長さが分かりません"_s);
        row("Opus", u"FILE \"a.opus\" WAVE\n"_s + three, {u"a.opus=opus:0-713"_s},
            u"a.opus: Opus は 48 kHz"_s);
        row("track numbers that skip",
            u"FILE \"a.wav\" WAVE\n"_s + one + u"  TRACK 03 AUDIO\n    INDEX 01 00:03:00\n"_s,
            {u"a.wav=wav:0-713"_s},
            u"キューシートの 11 行目: トラック番号が正しくありません (03)"_s);
        QTest::newRow("a folder of 1, 2 and 10")
            << QString() << QString()
            << QStringList{u"10.wav=wav:563-713"_s, u"2.wav=wav:225-563"_s, u"1.wav=wav:0-225"_s}
            << u"225 338 150"_s;
    }

    void sheetsAsRippersWriteThem()
    {
        QFETCH(QString, sheet);
        QFETCH(QString, encoding);
        QFETCH(QStringList, files);
        QFETCH(QString, layout);
        DiscFixture fixture;
        const QByteArray disc = fileBytes(
            QFileInfo(fixture.makeDisc(u"cd"_s, {u"3000"_s, u"4500"_s, u"2000"_s})).path() +
            u"/cd.bin"_s);
        QVERIFY(QDir(fixture.programFolder()).mkdir(u"rip"_s));
        static const QRegularExpression spec(u"^(.+)=(\\w+):(\\d+)-(\\d+)\\+?(\\d*)$"_s);
        for (const QString& file : files) {
            const QRegularExpressionMatch part = spec.match(file);
            const QString path = fixture.path(u"rip/"_s + part.captured(1));
            writeDiscFile(path, part.captured(2), disc, part.captured(3).toInt(),
                          part.captured(4).toInt());
            QVERIFY(QFile::resize(path, QFileInfo(path).size() + part.captured(5).toInt()));
        }
        if (!sheet.isEmpty())
            writeFile(fixture.path(u"rip/Artist - Album.cue"_s), encoded(sheet, encoding));
        QString whyNot;
        const std::unique_ptr<Disc> rip = Disc::open(
            fixture.path(sheet.isEmpty() ? u"rip"_s : u"rip/Artist - Album.cue"_s), &whyNot);
        if (!layout.front().isDigit()) {
            QVERIFY(!rip);
            QVERIFY2(whyNot.contains(layout), qPrintable(whyNot));
            return;
        }
        QVERIFY2(rip, qPrintable(whyNot));
        QStringList tracks;
        for (const Track& track : rip->tracks())
            tracks << QString::number(track.sectorCount) + (track.isAudio ? u""_s : u"d"_s);
        QCOMPARE(tracks.join(u' '), layout);
        QByteArray sector(kSector, '\0');
        QVERIFY(rip->readAudio(rip->track(2)->firstSector, 1,
                               reinterpret_cast<std::byte*>(sector.data())));
        QVERIFY(sector == disc.sliced(225 * kSector, kSector));
        QCOMPARE(rip->text(2).performer, sheet.isEmpty() ? QString() : u"Artist"_s);
        QCOMPARE(rip->text(0).title, encoding == u"cp932"_s ? u"夜"_s
                                     : sheet.isEmpty()      ? QString()
                                                            : u"Album"_s);
    }

    void ripsReadAsTheirDisc_data()
    {
        QTest::addColumn<QStringList>("options"); // mkdisc's
        QTest::addColumn<QString>("spoil");       // a file of the rip taken away
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("pregap"); // sectors of a file's own before its track's tones
        const QStringList flac{u"--format"_s, u"flac"_s}, split = flac + QStringList{u"--split"_s};
        QTest::newRow("FLAC, one file") << flac << QString() << QString() << 0;
        QTest::newRow("FLAC a track, with pregaps") << split << QString() << QString() << 0;
        QTest::newRow("a folder of tracks") << split << u"a.cue"_s << QString() << 150;
        QTest::newRow("WAV, 24 bits") << QStringList{u"--format"_s, u"wav"_s, u"--bits"_s, u"24"_s}
                                      << QString() << QString() << 0;
        QTest::newRow("48 kHz") << flac + QStringList{u"--rate"_s, u"48000"_s} << QString()
                                << u"44.1 kHz"_s << 0;
        QTest::newRow("a file missing") << split << u"02.flac"_s << u"02.flac: ありません"_s << 0;
        QTest::newRow("mono") << QStringList{u"--format"_s, u"wav"_s, u"--channels"_s, u"1"_s}
                              << QString() << QString() << 0;
        QTest::newRow("code page 932, Japanese names")
            << split + QStringList{u"--cp932"_s} << QString() << QString() << 0;
    }

    // A rip is the disc it was ripped from: its tracks, their text and their audio.
    void ripsReadAsTheirDisc()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, spoil);
        QFETCH(QString, refusal);
        QFETCH(int, pregap);
        DiscFixture fixture;
        const QStringList lengths{u"3000"_s, u"4500"_s, u"2000"_s};
        const std::unique_ptr<Disc> cd = Disc::open(fixture.makeDisc(u"cd"_s, lengths));
        const QString sheet = fixture.makeDisc(u"rip/a"_s, lengths, 1, options);
        QFile::remove(fixture.path(u"rip/"_s + spoil));
        QString whyNot;
        const std::unique_ptr<Disc> rip =
            Disc::open(spoil == u"a.cue" ? fixture.path(u"rip"_s) : sheet, &whyNot);
        QCOMPARE(rip == nullptr, !refusal.isEmpty());
        QVERIFY2(whyNot.contains(refusal), qPrintable(whyNot));
        if (!rip)
            return;
        QCOMPARE(rip->tracks().size(), 3u);
        QCOMPARE(rip->track(3)->sectorCount, cd->track(3)->sectorCount + pregap);
        QCOMPARE(rip->text(2).title, u"トラック 2"_s); // from the sheet, or a folder's tags
        QByteArray heard(75 * kSector, '\0'), ripped(75 * kSector, '\0');
        QVERIFY(cd->readAudio(cd->track(2)->firstSector, 75,
                              reinterpret_cast<std::byte*>(heard.data())));
        QVERIFY(rip->readAudio(rip->track(2)->firstSector + pregap, 75,
                               reinterpret_cast<std::byte*>(ripped.data())));
        // Mono is the left channel, played on both sides.
        for (qsizetype frame = 0; options.contains(u"--channels"_s) && frame < heard.size();
             frame += kFrame)
            heard.replace(frame + 2, 2, heard.sliced(frame, 2));
        QVERIFY(ripped == heard);
    }

    // The examples of MusicBrainz's own description of the disc ID: an audio CD, and an Enhanced
    // CD whose data track, 11400 sectors after the audio session's lead-out, is left out. The
    // tracks' offsets, then the lead-out's, count from 00:02:00.
    void discIdsAsMusicBrainzGivesThem()
    {
        const auto idOf = [](const QList<int>& offsets, bool endsInData) {
            std::vector<Track> tracks;
            for (int i = 0; i + 1 < offsets.size(); ++i)
                tracks.push_back({i + 1, offsets[i] - 150, offsets[i + 1] - offsets[i],
                                  !endsInData || i + 2 < offsets.size()});
            return musicBrainzDiscId(tracks);
        };
        QCOMPARE(idOf({150, 15363, 32314, 46592, 63414, 80489, 95462}, false),
                 u"49HHV7Eb8UKF3aQiNmu1GR8vKTY-"_s);
        QCOMPARE(idOf({150, 14109, 33586, 53077, 65781, 77892, 99174, 125974, 140000}, true),
                 u"BPnh1KU.hea1C.KMYWLGZkHJr0w-"_s);
    }

    // A file cut short plays to where it ends, as a failing disc does.
    void aRipCutShort()
    {
        DiscFixture fixture;
        const QString sheet =
            fixture.makeDisc(u"a"_s, {u"3000"_s, u"3000"_s}, 1, {u"--format"_s, u"flac"_s});
        QFile(fixture.path(u"a.flac"_s)).resize(QFileInfo(fixture.path(u"a.flac"_s)).size() / 2);
        const std::unique_ptr<Disc> rip = Disc::open(sheet);
        QVERIFY(rip);
        QByteArray sectors(kSector, '\0');
        QVERIFY(rip->readAudio(0, 1, reinterpret_cast<std::byte*>(sectors.data())));
        QVERIFY(!rip->readAudio(rip->track(2)->firstSector, 1,
                                reinterpret_cast<std::byte*>(sectors.data())));
    }
};

QTEST_GUILESS_MAIN(DiscTest)
#include "tst_disc.moc"
