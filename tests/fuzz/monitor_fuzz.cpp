// Fuzzes decoding and report handling: a script of datagrams (any length,
// any bytes, stale bytes past their end), mode changes and resets, with the
// monitoring state's invariants checked after every step.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hsrp_message.h"
#include "monitor_state.h"

using standora::DecodeHsrp;
using standora::HsrpMessage;
using standora::MaxTrackingRows;
using standora::MonitorState;
using standora::PanelTexts;
using standora::ReportMode;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool SameMessage(const HsrpMessage& a, const HsrpMessage& b) {
  return a.state == b.state && a.helloTime == b.helloTime &&
         a.holdTime == b.holdTime && a.priority == b.priority &&
         a.group == b.group && a.authData == b.authData &&
         a.virtualIp == b.virtualIp && a.length == b.length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  FuzzedDataProvider in(data, size);
  MonitorState m;
  std::uint8_t buffer[256];
  std::uint8_t other[256];

  while (in.remaining_bytes() > 0) {
    const std::int64_t countBefore = m.MsgCount();
    const std::size_t rowsBefore = m.rows().size();
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
      case 0:
        m.SetMode(static_cast<ReportMode>(in.ConsumeIntegralInRange(0, 2)));
        Check(m.MsgCount() == 0 && m.panel() == PanelTexts());
        Check(m.rows().size() == rowsBefore);
        break;
      case 1:
        m.ClearPanel();
        Check(m.panel() == PanelTexts() && m.MsgCount() == countBefore);
        break;
      case 2:
        m.ResetCounter();
        Check(m.MsgCount() == 0);
        break;
      case 3:
        m.ClearRows();
        Check(m.rows().empty());
        break;
      default: {
        const std::size_t length = in.ConsumeIntegralInRange<std::size_t>(0, 255);
        const std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(length);
        std::memset(buffer, 0xA5, sizeof buffer);
        std::memset(other, 0x5A, sizeof other);
        if (!bytes.empty()) {
          std::memcpy(buffer, bytes.data(), bytes.size());
          std::memcpy(other, bytes.data(), bytes.size());
        }
        // Nothing past the datagram's end may matter.
        Check(SameMessage(DecodeHsrp(buffer, bytes.size()),
                          DecodeHsrp(other, bytes.size())));

        const auto source = in.ConsumeIntegral<std::uint32_t>();
        const std::string stamp = in.ConsumeRandomLengthString(16);
        const standora::DatagramEffect e =
            m.HandleDatagram(buffer, bytes.size(), source, stamp);

        Check(e.rowRemoved == (rowsBefore > MaxTrackingRows));
        Check(m.rows().size() <= MaxTrackingRows + 1);
        Check(m.rows().size() ==
              rowsBefore - (e.rowRemoved ? 1 : 0) + (e.reported ? 1 : 0));
        if (e.reported) {
          Check(m.MsgCount() == countBefore + 1);
          Check(m.panel().stCycle == std::to_string(m.MsgCount()));
          const auto& row = m.rows().back();
          Check(row.caption == stamp);
          Check(row.subItems.size() == 2 || row.subItems.size() == 8);
          Check(row.subItems[0] == m.panel().stSource);
          Check(row.subItems[1] == m.panel().stState);
          Check(m.panel().stAuth.size() <= 8);
        } else {
          Check(m.MsgCount() == countBefore);
          Check(m.mode() != ReportMode::Both);
        }
        break;
      }
    }
  }
  return 0;
}
