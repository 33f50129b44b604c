// Cost of one datagram through the monitoring core in the steady state of a
// long run: the log is full (101 rows), so every datagram trims one.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>

#include "monitor_state.h"

namespace {

using standora::MonitorState;
using standora::ReportMode;

// Alternating active and standby hellos, as two routers of one group send.
std::array<std::array<std::uint8_t, 256>, 2> Hellos() {
  std::array<std::array<std::uint8_t, 256>, 2> hellos{};
  for (std::size_t i = 0; i < hellos.size(); ++i) {
    const std::uint8_t state = i == 0 ? 16 : 8;
    const std::uint8_t head[20] = {0, 0,   state, 3,   10,  110, 42,
                                   0, 'c', 'i',   's', 'c', 'o', 0,
                                   0, 0,   192,   168, 10,  1};
    std::memcpy(hellos[i].data(), head, sizeof head);
  }
  return hellos;
}

void BM_HandleDatagram(benchmark::State& state) {
  const auto mode = static_cast<ReportMode>(state.range(0));
  const auto hellos = Hellos();
  const std::uint32_t source = 0x0A0AA8C0;  // 192.168.10.10
  MonitorState monitor;
  monitor.SetMode(mode);
  for (int i = 0; i < 200; ++i) {
    monitor.HandleDatagram(hellos[0].data(), 20, source, "10:11:12,123");
  }
  std::size_t n = 0;
  for (auto _ : state) {
    const auto effect = monitor.HandleDatagram(hellos[n++ & 1].data(), 20,
                                               source, "10:11:12,123");
    benchmark::DoNotOptimize(effect);
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(mode == ReportMode::Both ? "Both" : "Active");
}

BENCHMARK(BM_HandleDatagram)
    ->Arg(static_cast<int>(ReportMode::Both))
    ->Arg(static_cast<int>(ReportMode::Active));

}  // namespace

BENCHMARK_MAIN();
