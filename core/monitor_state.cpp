#include "monitor_state.h"

#include <cstdio>
#include <utility>

#include "hsrp_message.h"

namespace standora {
namespace {

constexpr std::uint8_t kInitial = 0;
constexpr std::uint8_t kStandby = 8;
constexpr std::uint8_t kActive = 16;

bool Passes(ReportMode mode, const HsrpMessage& m) {
  switch (mode) {
    case ReportMode::Active:
      return !(m.Covers(kStateOffset) && m.state == kStandby);
    case ReportMode::Standby:
      return !(m.Covers(kStateOffset) && m.state == kActive);
    case ReportMode::Both:
      break;
  }
  return true;
}

// The texts of one message's fields; a field the datagram did not carry is
// empty.
struct FieldTexts {
  std::string state, hello, hold, priority, group, auth, virtualIp;
};

FieldTexts FieldsOf(const HsrpMessage& m) {
  FieldTexts t;
  if (m.Covers(kStateOffset)) t.state = StateName(m.state);
  if (m.Covers(kHelloOffset)) t.hello = TimerText(m.helloTime, false);
  if (m.Covers(kHoldOffset)) t.hold = TimerText(m.holdTime, false);
  if (m.Covers(kPriorityOffset)) t.priority = ByteText(m.priority);
  if (m.Covers(kGroupOffset)) t.group = ByteText(m.group);
  if (m.Covers(kAuthOffset, kAuthSize)) t.auth = AuthText(m.authData);
  if (m.Covers(kVirtualIpOffset, 4)) t.virtualIp = AddressText(m.virtualIp);
  return t;
}

std::string WithUnit(const std::string& bare) {
  return bare.empty() ? bare : bare + " sec.";
}

}  // namespace

bool PanelTexts::operator==(const PanelTexts& o) const {
  return stCycle == o.stCycle && stSource == o.stSource &&
         stState == o.stState && stHello == o.stHello && stHold == o.stHold &&
         stPrio == o.stPrio && stGroup == o.stGroup && stAuth == o.stAuth &&
         stVIP == o.stVIP;
}

std::string TimeStampText(int hours, int minutes, int seconds,
                          int milliseconds) {
  if (hours >= 0 && hours <= 99 && minutes >= 0 && minutes <= 99 &&
      seconds >= 0 && seconds <= 99 && milliseconds >= 0 &&
      milliseconds <= 999) {
    // The common case, written digit by digit: it is made per datagram.
    const char text[12] = {char('0' + hours / 10),
                           char('0' + hours % 10),
                           ':',
                           char('0' + minutes / 10),
                           char('0' + minutes % 10),
                           ':',
                           char('0' + seconds / 10),
                           char('0' + seconds % 10),
                           ',',
                           char('0' + milliseconds / 100),
                           char('0' + milliseconds / 10 % 10),
                           char('0' + milliseconds % 10)};
    return std::string(text, sizeof text);
  }
  // Room for four full ints, so even values out of range never truncate.
  char text[64];
  const int n = std::snprintf(text, sizeof text, "%02i:%02i:%02i,%03i", hours,
                              minutes, seconds, milliseconds);
  return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

DatagramEffect MonitorState::HandleDatagram(const std::uint8_t* bytes,
                                            std::size_t length,
                                            std::uint32_t source,
                                            std::string_view timeStamp) {
  DatagramEffect effect;
  if (rows_.size() > MaxTrackingRows) {
    spare_ = std::move(rows_.front());
    rows_.pop_front();
    effect.rowRemoved = true;
  }

  const HsrpMessage m = DecodeHsrp(bytes, length);
  if (!Passes(mode_, m)) return effect;

  FieldTexts f = FieldsOf(m);
  const std::string sourceText = AddressText(source);

  TrackingRow row = std::move(spare_);
  spare_ = TrackingRow();
  row.caption.assign(timeStamp.data(), timeStamp.size());
  const bool shortRow = m.Covers(kStateOffset) && m.state == kInitial;
  row.subItems.resize(shortRow ? 2 : 8);
  row.subItems[0] = sourceText;
  row.subItems[1] = f.state;
  if (!shortRow) {
    row.subItems[2] = f.hello;
    row.subItems[3] = f.hold;
    row.subItems[4] = f.priority;
    row.subItems[5] = f.group;
    row.subItems[6] = f.auth;
    row.subItems[7] = f.virtualIp;
  }
  rows_.push_back(std::move(row));

  ++msgCount_;
  panel_.stCycle = std::to_string(msgCount_);
  panel_.stSource = sourceText;
  panel_.stState = std::move(f.state);
  panel_.stHello = WithUnit(f.hello);
  panel_.stHold = WithUnit(f.hold);
  panel_.stPrio = std::move(f.priority);
  panel_.stGroup = std::move(f.group);
  panel_.stAuth = std::move(f.auth);
  panel_.stVIP = std::move(f.virtualIp);

  effect.reported = true;
  return effect;
}

void MonitorState::ClearPanel() { panel_ = PanelTexts(); }

void MonitorState::ResetCounter() { msgCount_ = 0; }

void MonitorState::ClearRows() { rows_.clear(); }

bool MonitorState::EditCaption(std::size_t row, std::string caption) {
  if (row >= rows_.size()) return false;
  rows_[row].caption = std::move(caption);
  return true;
}

void MonitorState::SetMode(ReportMode mode) {
  mode_ = mode;
  ClearPanel();
  ResetCounter();
}

}  // namespace standora
