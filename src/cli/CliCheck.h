#pragma once

#include <QString>

// `zelkora-cli check AREA-CODE`: walks the pages of the provider that serves the area code with the real
// engine, up to its filled message form, and submits no message. One line per step on standard output.
namespace CliCheck {
// 0 when a send would reach the message's submission, 1 when a step failed (the last line names it).
int run(const QString& areaCode, bool json);
} // namespace CliCheck
