// The daytime protocol client's pure parts: the server, and reading its reply line.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace daytime {

struct Server {
    std::string host;
    std::uint16_t port;
};
// One fixed public server that answers "\n61381 26-12-07 21:45:30 ..." on the daytime port.
inline const Server kPublicServer{"time.nist.gov", 13};
// The server the program asks: the public one, except in the smoke build (a loopback server).
inline Server gServer = kPublicServer;

// Reads the UTC date and time of a reply: two-digit year (from 2000), month, day and hour
// stand before its first ':', minute and second after it. A reply counts only when all six
// fields are two decimal digits that make a real date and time; otherwise nullopt.
std::optional<platform::SystemTime> ParseReply(std::string_view reply);

}  // namespace daytime
