#include "ripoptions.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// The rates a FLAC or WAV file of ours may be written at.
constexpr int minRate = 8000;
constexpr int maxRate = 192000;

// Sets the option's field of rip from its value; false when the value is not one it takes.
bool setOption(const QString& option, const QString& value, RipFormat* rip)
{
    if (option == u"--format"_s) {
        if (value != u"flac"_s && value != u"wav"_s)
            return false;
        rip->container =
            value == u"flac"_s ? RipFormat::Container::Flac : RipFormat::Container::Wav;
        return true;
    }
    bool ok = false;
    const int number = value.toInt(&ok);
    // Only the plain decimal form: no sign, no leading zeros, no spaces.
    if (!ok || value != QString::number(number))
        return false;
    if (option == u"--bits"_s && (number == 16 || number == 24))
        rip->bits = number;
    else if (option == u"--rate"_s && number >= minRate && number <= maxRate)
        rip->rate = number;
    else if (option == u"--channels"_s && (number == 1 || number == 2))
        rip->channels = number;
    else
        return false;
    return true;
}

} // namespace

bool takeRipOptions(QStringList* args, std::optional<RipFormat>* format)
{
    RipFormat rip;
    QSet<QString> seen;
    while (!args->isEmpty() && args->front().startsWith(u"--"_s) && args->front() != u"--demo"_s) {
        const QString option = args->takeFirst();
        if (seen.contains(option))
            return false;
        seen.insert(option);
        if (option == u"--split"_s)
            rip.split = true;
        else if (option == u"--cp932"_s)
            rip.cp932 = true;
        else if (args->isEmpty() || !setOption(option, args->takeFirst(), &rip))
            return false;
    }
    if (seen.isEmpty())
        format->reset();
    else if (seen.contains(u"--format"_s))
        *format = rip;
    else
        return false;
    return true;
}
