#pragma once

namespace Contacts {

// What the import shows while it runs: the gauge, and the window's messages let run once a contact so that
// the windows repaint. The progress window implements it; tests record it.
class ImportProgress
{
public:
    virtual ~ImportProgress() = default;
    // The gauge stands at `minimum` afterwards.
    virtual void setRange(int minimum, int maximum) = 0;
    // By one.
    virtual void advance() = 0;
    virtual void letMessagesRun() = 0;
    // The end: the percentage goes, the "disconnecting" text shows.
    virtual void disconnecting() = 0;
};

} // namespace Contacts
