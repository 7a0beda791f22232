#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>

// The program's version as the service sees it.
constexpr double AppVersion = 1.11;

// AppVersion as the initialisation request carries it: two decimals, the user's decimal separator.
QString AppVersionText();

// The path and query of the initialisation request, to be put after the service's base address.
QString InitRequestPath(const QString& localAddress);

// The machine's first IPv4 address in dotted form: that of the first network interface that is up and not
// the loopback, so that a new connection shows as a new address. Without one, the host name; "" when even
// that cannot be had. It asks the kernel only, never a name service, so it never blocks.
QString GetLocalAddress();

// The service's query-value encoding, applied to the windows-1255 bytes of `text` up to the first NUL:
// letters, digits and ! $ ' ( ) * - . @ _ stay, a space becomes "+", every other byte becomes "%XX" with
// upper-case digits.
QString PercentEncode(const QString& text);
QByteArray PercentEncodeBytes(const QByteArray& bytes);

namespace ServiceRequestsDetail {
using Ipv4 = std::array<quint8, 4>; // in network order

// One address of a network interface, as the kernel lists them.
struct InterfaceAddress
{
    QByteArray name;
    bool up = false;
    bool loopback = false;
    std::optional<Ipv4> ipv4; // empty for an address of another family
};

// GetLocalAddress over the interfaces' addresses in the kernel's order and the host name.
QString localAddressOf(const QList<InterfaceAddress>& addresses, const QByteArray& hostName);
// The machine's interface addresses (getifaddrs); empty when they cannot be read.
QList<InterfaceAddress> interfaceAddresses();
} // namespace ServiceRequestsDetail
