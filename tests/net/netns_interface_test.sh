#!/usr/bin/env bash
# Two interfaces between two network namespaces this test makes: datagrams
# to the HSRP group that arrive on the chosen interface are read, those on
# the other one are not. Needs root; nothing leaves the namespaces.
# Usage: netns_interface_test.sh PROBE SENDER
set -euo pipefail
probe=$1 sender=$2

if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: creating network namespaces needs root"
  exit 77
fi
if ! command -v ip >/dev/null; then
  echo "SKIPPED: iproute2 (ip) is not installed"
  exit 77
fi

routers=stdr-routers-$$ monitor=stdr-monitor-$$
out=$(mktemp)
cleanup() {
  ip netns del "$routers" 2>/dev/null || true
  ip netns del "$monitor" 2>/dev/null || true
  rm -f "$out" "$out.0" "$out.1"
}
trap cleanup EXIT

ip netns add "$routers"
ip netns add "$monitor"
for i in 0 1; do
  ip link add "r$i" netns "$routers" type veth peer name "m$i" netns "$monitor"
  ip -n "$routers" addr add "10.198.$i.1/24" dev "r$i"
  ip -n "$monitor" addr add "10.198.$i.2/24" dev "m$i"
  ip -n "$routers" link set "r$i" up
  ip -n "$monitor" link set "m$i" up
done
ip -n "$monitor" link set lo up

# Two monitors side by side, one on each interface. Each joins the group on
# its own interface only, so the kernel accepts the group on both, and each
# monitor must still read just its own interface's datagrams.
ip netns exec "$monitor" "$probe" 10.198.0.2 3 >"$out.0" &
pid0=$!
ip netns exec "$monitor" "$probe" 10.198.1.2 5 >"$out.1" &
pid1=$!
for f in "$out.0" "$out.1"; do
  for _ in $(seq 100); do
    grep -q ready "$f" && break
    sleep 0.05
  done
  grep -q ready "$f" || { echo "probe did not start"; cat "$f"; exit 1; }
done

ip netns exec "$routers" "$sender" 10.198.1.1 5   # arrives on m1
ip netns exec "$routers" "$sender" 10.198.0.1 3   # arrives on m0
wait "$pid0"
wait "$pid1"

check() {  # FILE EXPECTED_SOURCE COUNT OTHER_SOURCE
  local got wrong
  cat "$1"
  got=$(grep -c "^from $2 20\$" "$1" || true)
  wrong=$(grep -c "^from $4 " "$1" || true)
  if [ "$got" -ne "$3" ] || [ "$wrong" -ne 0 ]; then
    echo "FAILED: $got of $3 from $2, $wrong from $4"
    return 1
  fi
}
check "$out.0" 10.198.0.1 3 10.198.1.1
check "$out.1" 10.198.1.1 5 10.198.0.1
echo "PASSED: each monitor read its own interface's datagrams and no other"
