#include "interface_list.h"

#include <cstdint>
#include <cstring>

#include "address.h"
#include "hsrp_listener.h"

namespace standora {

using namespace platform;

bool InterfaceList::FillInterfaceList(InterfaceBox& box) {
  try {
    IfSelectable = true;
    box.Clear();

    WsaData wsaData;
    if (sockets_.WSAStartup(kWinsockVersion, &wsaData) != 0) return false;

    char hostName[80] = {};
    if (sockets_.gethostname(hostName, sizeof hostName) == SOCKET_ERROR) {
      sockets_.WSACleanup();
      return false;
    }
    const HostEnt* host = sockets_.gethostbyname(hostName);
    if (host == nullptr) {
      sockets_.WSACleanup();
      return false;
    }

    for (char** entry = host->addrList; entry != nullptr && *entry != nullptr;
         ++entry) {
      std::uint32_t addr;
      std::memcpy(&addr, *entry, sizeof addr);
      const std::string text = InetNtoa(addr);
      box.Add(text);
      // A machine known only by its loopback address: nothing is chosen,
      // and reception then listens on any interface.
      if (text == "127.0.0.1") {
        sockets_.WSACleanup();
        return false;
      }
    }

    box.Select(0);
    if (box.Count() == 1) {
      box.SetEnabled(false);
      IfSelectable = false;
    }
    sockets_.WSACleanup();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace standora
