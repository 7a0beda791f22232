#pragma once

namespace Contacts {

// What the import shows while it runs: the gauge, and the window's messages let run every few milliseconds
// while the address book is read on a thread of its own, so that the windows repaint. Every call comes from
// the thread that runs the import. The progress window implements it; tests record it.
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
