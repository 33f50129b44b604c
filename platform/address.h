// Address helpers of the sockets service (inet_addr, inet_ntoa, htons).
#pragma once

#include <cstdint>
#include <string>

namespace platform {

inline constexpr std::uint32_t kInAddrNone = 0xFFFFFFFFu;

// Dotted decimal to a network-order address. An empty text gives 0 (any
// address); a text that is no address gives kInAddrNone (all ones).
std::uint32_t InetAddr(const char* text);
// Network-order address to dotted decimal.
std::string InetNtoa(std::uint32_t addr);
std::uint16_t Htons(std::uint16_t host);

}  // namespace platform
