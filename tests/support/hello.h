// An HSRP hello as routers send it, for tests and demonstrations.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// 20 bytes: hello 3 s, hold 10 s, the given state, priority and group, the
// authentication text (at most 8 bytes) and the virtual IP 10.1.GROUP.254.
inline std::vector<std::uint8_t> MakeHello(std::uint8_t state,
                                           std::uint8_t priority,
                                           std::uint8_t group,
                                           const std::string& auth) {
  std::vector<std::uint8_t> b(20, 0);
  b[2] = state;
  b[3] = 3;
  b[4] = 10;
  b[5] = priority;
  b[6] = group;
  for (std::size_t i = 0; i < auth.size() && i < 8; ++i) {
    b[8 + i] = static_cast<std::uint8_t>(auth[i]);
  }
  b[16] = 10;
  b[17] = 1;
  b[18] = group;
  b[19] = 254;
  return b;
}

}  // namespace testing_support
