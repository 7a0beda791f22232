#pragma once

#include <QString>

// Whether the machine has a connection to the Internet.
namespace OnlineCheck {
// The desktop's network-information backend (NetworkManager or GLib) when one answers; otherwise
// whether any interface other than the loopback is up and running. A service on this machine (a
// loopback address, as the sandbox network) is always reachable, so with one the answer is yes.
bool isOnline();

// The parts of the answer, for the callers that want them apart.
bool serviceIsLocal(const QString& serviceUrl);
bool anyInterfaceUp();
} // namespace OnlineCheck
