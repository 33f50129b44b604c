#include "host_entry.h"

namespace platform {

const HostEnt* HostEntry::Set(const std::string& name,
                              const std::vector<std::uint32_t>& addrs) {
  name_ = name;
  addrs_ = addrs;
  addrList_.clear();
  for (std::uint32_t& a : addrs_) {
    addrList_.push_back(reinterpret_cast<char*>(&a));
  }
  addrList_.push_back(nullptr);
  host_.name = name_.c_str();
  host_.aliases = noAliases_;
  host_.addrType = static_cast<std::int16_t>(kAfInet);
  host_.length = 4;
  host_.addrList = addrList_.data();
  return &host_;
}

}  // namespace platform
