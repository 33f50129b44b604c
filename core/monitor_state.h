// What one received datagram does to what the user sees: the report filter,
// the counter, the nine texts of the message panel and the bounded log of
// tracking rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace standora {

enum class ReportMode {
  Both,     // every message
  Active,   // every message but those in state standby
  Standby,  // every message but those in state active
};

// The nine texts of the main window's message panel, named after its fields.
struct PanelTexts {
  std::string stCycle;
  std::string stSource;
  std::string stState;
  std::string stHello;
  std::string stHold;
  std::string stPrio;
  std::string stGroup;
  std::string stAuth;
  std::string stVIP;

  bool operator==(const PanelTexts& o) const;
  bool operator!=(const PanelTexts& o) const { return !(*this == o); }
};

// One log row: the time stamp and up to eight sub-items (source, state, hello,
// hold, priority, group, authentication, virtual IP). A message in state
// initial gives only source and state.
struct TrackingRow {
  std::string caption;
  std::vector<std::string> subItems;
};

// Rows beyond this number are trimmed, one per datagram, so the log holds at
// most MaxTrackingRows + 1 rows.
constexpr std::size_t MaxTrackingRows = 100;

// "hh:mm:ss,mmm".
std::string TimeStampText(int hours, int minutes, int seconds,
                          int milliseconds);

// What HandleDatagram changed: the oldest row was dropped, and/or the message
// passed the filter (one row appended, counter raised, panel replaced).
struct DatagramEffect {
  bool rowRemoved = false;
  bool reported = false;
};

class MonitorState {
 public:
  // One datagram received without error: the first `length` bytes of
  // `bytes`, the sender's address in network byte order and the time stamp
  // taken when it was read.
  DatagramEffect HandleDatagram(const std::uint8_t* bytes, std::size_t length,
                                std::uint32_t source,
                                std::string_view timeStamp);

  void ClearPanel();
  void ResetCounter();
  void ClearRows();
  // The user's in-place edit of a row's time stamp: its caption becomes
  // `caption`. False, and nothing changes, when there is no such row.
  bool EditCaption(std::size_t row, std::string caption);
  // Called when another report mode is chosen: clears the panel and resets
  // the counter; rows stay.
  void SetMode(ReportMode mode);

  ReportMode mode() const { return mode_; }
  std::int64_t MsgCount() const { return msgCount_; }
  const PanelTexts& panel() const { return panel_; }
  const std::deque<TrackingRow>& rows() const { return rows_; }

 private:
  ReportMode mode_ = ReportMode::Both;
  // Wide enough never to wrap, however long the program runs.
  std::int64_t msgCount_ = 0;
  PanelTexts panel_;
  std::deque<TrackingRow> rows_;
  // Storage of the last trimmed row, reused for the next appended one so the
  // steady state allocates nothing.
  TrackingRow spare_;
};

}  // namespace standora
