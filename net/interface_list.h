// The choice of the local address to receive on: filled once from the
// addresses the machine's own name resolves to.
#pragma once

#include <string>

#include "socket_layer.h"

namespace standora {

// The five operations the list needs of the interface box.
class InterfaceBox {
 public:
  virtual ~InterfaceBox() = default;
  virtual void Clear() = 0;
  virtual void Add(const std::string& text) = 0;
  virtual int Count() const = 0;
  virtual void Select(int index) = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

class InterfaceList {
 public:
  explicit InterfaceList(platform::SocketLayer& sockets) : sockets_(sockets) {}

  // Lists the addresses and selects the first. True when the list was
  // filled to its end. Never shows a message and never throws.
  bool FillInterfaceList(InterfaceBox& box);

  // False only when the list was filled to its end with exactly one address:
  // then the box stays disabled for good.
  bool IfSelectable = true;

 private:
  platform::SocketLayer& sockets_;
};

}  // namespace standora
