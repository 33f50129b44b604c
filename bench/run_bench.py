#!/usr/bin/env python3
"""Measures the program as it runs for a user, beside a plain receive loop,
in three conditions: offscreen; a real X display (Xvfb); X with the
accessibility bus and a screen-reader-like AT-SPI client listening.

For each condition, in one run:
  * the zero-loss ladder: trials of COUNT hellos from two routers in turn
    at each rate, TRIALS trials per step for each receiver, interleaved; a
    step passes when most of its trials lose nothing; the figure is the
    highest step that passes, with the program's ratio to the plain loop;
  * CPU per datagram: the receiving thread's CPU time (it blocks when
    idle) per datagram received, median over the trials at CPU_RATE;
  * paint per frame: the time each window takes to repaint (all changed
    widgets painted and handed to the window system) and the drawing in it
    alone, medians, list full;
  * click latency during a flood at the program's lossless rate;
  * instructions per datagram: valgrind callgrind over a bounded flood at
    CG_RATE, less a run without datagrams, divided by the datagrams read.
Everything is sent on loopback only (multicast interface 127.0.0.1,
TTL 0). Prints a Markdown table; --json writes the raw figures.
"""
import argparse
import json
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

RATES = [5000, 10000, 20000, 50000, 100000, 200000]
SLOW = 50  # how much slower the program runs under valgrind callgrind


def log(*a):
    print(*a, file=sys.stderr, flush=True)


class Condition:
    def __init__(self, name, display):
        self.name = name
        self.display = display
        self.procs = []
        self.env = {k: v for k, v in os.environ.items()
                    if not k.startswith(("QT_", "DBUS_", "AT_SPI"))}
        self.env.pop("DISPLAY", None)
        self.env["XDG_RUNTIME_DIR"] = tempfile.mkdtemp(prefix="standora-xdg-")
        os.chmod(self.env["XDG_RUNTIME_DIR"], 0o700)
        self.at_events = None

    def spawn(self, cmd, **kw):
        p = subprocess.Popen(cmd, env=self.env, **kw)
        self.procs.append(p)
        return p

    def __enter__(self):
        if self.name == "offscreen":
            self.env["QT_QPA_PLATFORM"] = "offscreen"
            return self
        self.env["DISPLAY"] = self.display
        self.env["QT_QPA_PLATFORM"] = "xcb"
        self.spawn(["Xvfb", self.display, "-screen", "0", "1280x1024x24",
                    "-nolisten", "tcp"], stderr=subprocess.DEVNULL)
        for _ in range(100):
            if subprocess.run(["xdpyinfo"], env=self.env,
                              capture_output=True).returncode == 0:
                break
            time.sleep(0.1)
        if self.name == "x-atspi":
            out = subprocess.run(
                ["dbus-daemon", "--session", "--fork", "--print-address=1",
                 "--print-pid=1"], env=self.env, capture_output=True,
                text=True, check=True).stdout.split()
            self.env["DBUS_SESSION_BUS_ADDRESS"] = out[0]
            self.dbus_pid = int(out[1])
            self.spawn(["/usr/libexec/at-spi-bus-launcher",
                        "--launch-immediately"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
            time.sleep(1.0)
            self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            here = os.path.dirname(os.path.abspath(__file__))
            self.listener = self.spawn(
                ["/usr/bin/python3", os.path.join(here, "at_listener.py")],
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            line = self.listener.stdout.readline().strip()
            if line != "listening":
                raise RuntimeError("AT-SPI client did not start: " + line)
        return self

    def __exit__(self, *exc):
        if getattr(self, "listener", None):
            self.listener.send_signal(signal.SIGTERM)
            try:
                out = self.listener.communicate(timeout=10)[0]
                m = re.search(r"events (\d+)", out or "")
                self.at_events = int(m.group(1)) if m else None
            except subprocess.TimeoutExpired:
                pass
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    p.kill()
        if getattr(self, "dbus_pid", None):
            try:
                os.kill(self.dbus_pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.env["XDG_RUNTIME_DIR"], ignore_errors=True)


def parse(line):
    words = line.split()
    return {words[i]: float(words[i + 1]) for i in range(0, len(words) - 1, 2)}


def trial(cond, receiver, sender, rate, count, extra=(), prefix=(),
          ready_timeout=60, idle_ms=300):
    cmd = list(prefix) + [receiver[0], receiver[1], "--idle-ms", str(idle_ms)]
    cmd += list(extra)
    p = subprocess.Popen(cmd, env=cond.env, stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True)
    try:
        start = time.monotonic()
        line = p.stdout.readline().strip()
        if line != "ready":
            raise RuntimeError(f"{cmd}: no ready ({line!r})")
        if count:
            subprocess.run([sender, str(rate), str(count)], check=True,
                           capture_output=True)
        out = p.communicate(timeout=120)[0]
    finally:
        if p.poll() is None:
            p.kill()
            p.wait()
    del start
    result = [l for l in out.splitlines() if l.startswith("received")]
    if not result:
        raise RuntimeError(f"{cmd}: no result")
    return parse(result[-1])


def ladder(cond, receivers, sender, count, trials):
    """receivers: {label: (exe, mode)}; returns per label {rate: [trials]}"""
    runs = {label: {} for label in receivers}
    for rate in RATES:
        for t in range(trials):
            for label, rx in receivers.items():
                r = trial(cond, rx, sender, rate, count)
                runs[label].setdefault(rate, []).append(r)
                log(f"  {cond.name} {label} {rate}/s trial {t + 1}: "
                    f"{int(r['received'])} of {count}")
    return runs


def lossless(runs, count):
    best = 0
    for rate, rs in runs.items():
        ok = sum(1 for r in rs if r["received"] >= count)
        if ok * 2 > len(rs):
            best = max(best, rate)
    return best


def instructions(cond, receiver, sender, rate, count):
    """Instructions per datagram from callgrind: a flood less a quiet run."""
    totals = {}
    read = 0
    for n in (count, 0):
        out = tempfile.mktemp(prefix="standora-cg-")
        prefix = ["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out]
        # Valgrind runs the program about SLOW times slower; the flood and
        # the frame are slowed alike, so that a frame holds as many
        # datagrams as it does on the machine itself.
        extra = ["--max-ms", "60000" if n else "8000",
                 "--frame-ms", str(16 * SLOW)]
        r = trial(cond, receiver, sender, rate, n, extra=extra, prefix=prefix,
                  ready_timeout=300, idle_ms=3000)
        total = 0
        with open(out) as f:
            for line in f:
                if line.startswith(("summary:", "totals:")):
                    total = max(total, int(line.split()[1]))
        os.unlink(out)
        totals[n] = total
        if n:
            read = int(r["received"])
    per = (totals[count] - totals[0]) / read if read else float("nan")
    return per, read


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--build", default="build")
    ap.add_argument("--before", help="an earlier build's receiver, measured "
                    "beside this one")
    ap.add_argument("--conditions", default="offscreen,x,x-atspi")
    ap.add_argument("--trials", type=int, default=3)
    ap.add_argument("--count", type=int, default=10000)
    ap.add_argument("--cpu-rate", type=int, default=10000)
    # 200/s under valgrind stands for 10,000/s on the machine itself.
    ap.add_argument("--cg-rate", type=int, default=200)
    ap.add_argument("--cg-count", type=int, default=2000)
    ap.add_argument("--no-callgrind", action="store_true")
    ap.add_argument("--json")
    a = ap.parse_args()

    receiver = os.path.join(a.build, "bench", "receiver")
    sender = os.path.join(a.build, "bench", "sender")
    receivers = {"plain": (receiver, "plain"), "program": (receiver, "program")}
    if a.before:
        receivers["before"] = (a.before, "program")
    programs = [l for l in receivers if l != "plain"]

    figures = {}
    for i, name in enumerate(a.conditions.split(",")):
        with Condition(name, f":{90 + i}") as cond:
            log(f"== {name}")
            runs = ladder(cond, receivers, sender, a.count, a.trials)
            fig = {"lossless": {l: lossless(runs[l], a.count)
                                for l in receivers}}
            fig["cpu_us"] = {
                l: statistics.median(r["cpu"] / r["received"] * 1e6
                                     for r in runs[l][a.cpu_rate]
                                     if r["received"])
                for l in receivers}
            for key in ("paint_main_ms", "paint_list_ms", "draw_main_ms",
                        "draw_list_ms", "frames"):
                fig[key] = {l: statistics.median(r.get(key, 0)
                                                 for r in runs[l][a.cpu_rate])
                            for l in programs}
            fig["clicks"] = {}
            for l in programs:
                rate = max(fig["lossless"][l], RATES[0])
                r = trial(cond, receivers[l], sender, rate, rate * 3,
                          extra=["--clicks"])
                fig["clicks"][l] = (r.get("click_median_ms"),
                                    r.get("click_p99_ms"),
                                    int(r.get("clicks", 0)), rate)
            # Only for this build: an earlier one paces its frames by the
            # clock alone and cannot be slowed alike under valgrind.
            if not a.no_callgrind:
                fig["instructions"] = {
                    "program": instructions(cond, receivers["program"], sender,
                                            a.cg_rate, a.cg_count)}
        fig["at_events"] = cond.at_events
        figures[name] = fig
        log(json.dumps(fig))

    if a.json:
        with open(a.json, "w") as f:
            json.dump(figures, f, indent=1)

    print(f"Trials of {a.count:,} hellos from two routers in turn; "
          f"{a.trials} trials a step; CPU and paint at {a.cpu_rate:,}/s; "
          f"instructions over {a.cg_count:,} hellos at {a.cg_rate}/s with "
          f"frames of {16 * SLOW} ms under valgrind (a {a.cg_rate * SLOW:,}/s "
          f"flood slowed {SLOW} times).\n")
    print("| condition | receiver | lossless/s | ratio to plain | CPU µs/datagram "
          "| instructions/datagram | repaint main + list ms (drawing alone) "
          "| clicks p50 / p99 ms |")
    print("|---|---|---|---|---|---|---|---|")
    for name, fig in figures.items():
        plain = fig["lossless"]["plain"]
        for l in receivers:
            ratio = (f"{fig['lossless'][l] / plain:.2f}" if plain else "-")
            ins = paint = clicks = "-"
            if l in programs:
                if l in fig.get("instructions", {}):
                    per, read = fig["instructions"][l]
                    ins = f"{per:,.0f}"
                paint = (f"{fig['paint_main_ms'][l]:.2f} + "
                         f"{fig['paint_list_ms'][l]:.2f} "
                         f"({fig['draw_main_ms'][l]:.2f} + "
                         f"{fig['draw_list_ms'][l]:.2f})")
                c = fig["clicks"][l]
                clicks = f"{c[0]:.2f} / {c[1]:.2f} ({c[2]} at {c[3]:,}/s)"
            print(f"| {name} | {l} | {fig['lossless'][l]:,} | {ratio} | "
                  f"{fig['cpu_us'][l]:.2f} | {ins} | {paint} | {clicks} |")


if __name__ == "__main__":
    main()
