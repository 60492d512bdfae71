#pragma once

#include <QString>
#include <cdio/logging.h>
#include <mutex>

// libcdio keeps state for the whole process: its log handler, which by default prints on
// standard error and ends the process at the first error message, and the toc parser, which
// splits lines with strtok() and so keeps one position for every thread. A LibcdioCall is held
// around every call that opens, lists, parses or closes: the program's own log handler is in place
// before the first such call. Calls that parse an image file take turns; calls on a drive need
// not, and must not: a drive may hang, and a hung drive must hold up only itself. Reads of an open
// disc need neither.
//
// Only the player's own threads and the commands hold one: a call may wait as long as a drive.
// Calls do not nest.
class LibcdioCall {
public:
    enum class Turns { Taken, NotTaken };
    explicit LibcdioCall(Turns turns = Turns::Taken);
    ~LibcdioCall();
    LibcdioCall(const LibcdioCall&) = delete;
    LibcdioCall& operator=(const LibcdioCall&) = delete;

    // The last error libcdio reported on this thread during the call; empty when there was none.
    // Its warnings are left out: an open tries every kind of image in turn and warns of each.
    const QString& lastMessage() const { return lastMessage_; }

private:
    // Never ends the process, never prints: what libcdio says goes to the player's category, and
    // an error is a call that fails.
    static void log(cdio_log_level_t level, const char message[]);

    std::unique_lock<std::mutex> lock_;
    QString lastMessage_;
};
