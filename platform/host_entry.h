// Storage behind a resolved host entry: the name, the addresses and the
// null-ended list that points at them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "socket_layer.h"

namespace platform {

class HostEntry {
 public:
  // Replaces the entry; the result stays valid until the next Set.
  const HostEnt* Set(const std::string& name,
                     const std::vector<std::uint32_t>& addrs);

 private:
  std::string name_;
  std::vector<std::uint32_t> addrs_;
  std::vector<char*> addrList_;
  char* noAliases_[1] = {nullptr};
  HostEnt host_;
};

}  // namespace platform
