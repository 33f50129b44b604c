#include "address.h"

#include <arpa/inet.h>

#include "hsrp_message.h"

namespace platform {

std::uint32_t InetAddr(const char* text) {
  if (text == nullptr || *text == '\0') return 0;
  in_addr a{};
  if (::inet_pton(AF_INET, text, &a) != 1) return kInAddrNone;
  return a.s_addr;
}

std::string InetNtoa(std::uint32_t addr) { return standora::AddressText(addr); }

std::uint16_t Htons(std::uint16_t host) { return ::htons(host); }

}  // namespace platform
