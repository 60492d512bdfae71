#pragma once

#include "playerdevices.h"

#include <memory>

// Disc reads held at a gate until the test opens it, as a scratched disc holds up a drive. A read
// held for ten seconds is let through all the same, so a player that waits for it fails the
// test instead of hanging it.
class ReadGate {
public:
    ReadGate();
    // Reads of the disc that pass through this gate; they may outlive it.
    SectorRead reads() const;
    // Reads waiting at the gate now.
    int held() const;
    // Lets every read through, now and from now on.
    void open();

private:
    struct State;
    std::shared_ptr<State> state_;
};
