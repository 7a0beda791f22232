#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// The program's version as the service sees it.
constexpr double AppVersion = 1.11;

// AppVersion as the initialisation request carries it: two decimals, the user's decimal separator.
QString AppVersionText();

// The path and query of the initialisation request, to be put after the service's base address.
QString InitRequestPath(const QString& localAddress);

// The machine's first IPv4 address in dotted form; the host name itself when it cannot be resolved, and ""
// when even the host name cannot be had.
QString GetLocalAddress();

// The service's query-value encoding, applied to the windows-1255 bytes of `text` up to the first NUL:
// letters, digits and ! $ ' ( ) * - . @ _ stay, a space becomes "+", every other byte becomes "%XX" with
// upper-case digits.
QString PercentEncode(const QString& text);
QByteArray PercentEncodeBytes(const QByteArray& bytes);

namespace ServiceRequestsDetail {
using Ipv4 = std::array<quint8, 4>; // in network order
using Resolver = std::function<std::optional<Ipv4>(const QByteArray& hostName)>;
// GetLocalAddress for a given host name; `resolve` defaults to getaddrinfo.
QString localAddressOf(const QByteArray& hostName, const Resolver& resolve = {});
std::optional<Ipv4> resolveIpv4(const QByteArray& hostName);
} // namespace ServiceRequestsDetail
