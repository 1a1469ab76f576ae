#pragma once

#include "model/Frame.h"

// A kind of panel the program can drive. The refresh makes one frame per tick; a panel shows it,
// keeps what it showed and sends what it must: every byte again where the panel's protocol says
// so, only what changed where it may skip.
class Panel {
public:
    virtual ~Panel() = default;
    // Back to the start state, as each panel defines it: when the feed starts or stops, and at
    // the end of the program.
    virtual void reset() = 0;
    virtual void show(const Frame& frame) = 0;
    // What the panel sent back since the last refresh (keys), taken just before the next one
    // draws, so that a page turned by a key shows at once.
    virtual void takeInput() {}
};
