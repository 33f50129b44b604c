"""Real HSRP traffic end to end: two network namespaces made here, "routers"
and "monitor", joined by a veth pair; scapy puts scenarios on the wire from
the routers' side; the real standora binary runs offscreen in the monitor
namespace and is driven as a user drives it (clicks on its controls) through
the test probe plugin, which also reads its windows.
Usage: e2e_test.py STANDORA PLUGIN_PATH. Needs root; exits 77 (skipped)
otherwise."""
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
PY = "/usr/bin/python3"
SENDER = os.path.join(HERE, "hsrp_sender.py")
TAG = str(os.getpid())
ROUTERS, MONITOR = "stdr-r-" + TAG, "stdr-m-" + TAG
FAILURES = []
PASSED = []


def run(*args):
    subprocess.run(args, check=True)


def check(what, actual, expected):
    if actual != expected:
        FAILURES.append(f"{what}: got {actual!r}, expected {expected!r}")
        print("FAIL", FAILURES[-1])
    else:
        PASSED.append(what)
        print("ok  ", what)


class Program:
    """The standora process, driven through the probe's command folder."""

    def __init__(self, binary, plugins):
        self.dir = tempfile.mkdtemp()
        self.seq = 0
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen",
                   QT_PLUGIN_PATH=plugins, QT_QPA_GENERIC_PLUGINS="standoraprobe",
                   STANDORA_PROBE_DIR=self.dir)
        self.proc = subprocess.Popen(["ip", "netns", "exec", MONITOR, binary],
                                     env=env)

    def command(self, line):
        self.seq += 1
        tmp = os.path.join(self.dir, "cmd.tmp")
        with open(tmp, "w") as f:
            f.write(f"{self.seq}\n{line}")
        os.rename(tmp, os.path.join(self.dir, "cmd"))
        out = os.path.join(self.dir, "out.json")
        deadline = time.monotonic() + 30
        while time.monotonic() < deadline:
            try:
                with open(out) as f:
                    answer = json.load(f)
                if answer["seq"] == str(self.seq):
                    return answer["widgets"]
            except (OSError, ValueError):
                pass
            time.sleep(0.05)
        raise RuntimeError(f"no answer to {line!r}")

    def click(self, name):
        return self.command(f"click {name}")

    def wait_rows(self, count):
        """Dumps until the log holds `count` rows (or 20 s have passed)."""
        deadline = time.monotonic() + 20
        while True:
            w = self.command("dump")
            if len(w["lvState"]["rows"]) >= count or time.monotonic() > deadline:
                return w


def send(scenario):
    run("ip", "netns", "exec", ROUTERS, PY, SENDER, "r0", scenario)


def panel(w):
    return [w[n]["text"] for n in ("stCycle", "stSource", "stState", "stHello",
                                  "stHold", "stPrio", "stGroup", "stAuth", "stVIP")]


def main():
    binary, plugins = sys.argv[1], sys.argv[2]
    if os.geteuid() != 0:
        print("SKIPPED: network namespaces need root")
        return 77
    if subprocess.run([PY, "-c", "import scapy.layers.hsrp"]).returncode != 0:
        print("SKIPPED: scapy (python3-scapy) is not installed")
        return 77

    run("ip", "netns", "add", ROUTERS)
    run("ip", "netns", "add", MONITOR)
    program = None
    try:
        run("ip", "link", "add", "r0", "netns", ROUTERS, "type", "veth",
            "peer", "name", "m0", "netns", MONITOR)
        run("ip", "-n", ROUTERS, "addr", "add", "10.198.0.1/24", "dev", "r0")
        run("ip", "-n", MONITOR, "addr", "add", "10.198.0.2/24", "dev", "m0")
        for ns, dev in ((ROUTERS, "r0"), (MONITOR, "m0"), (MONITOR, "lo")):
            run("ip", "-n", ns, "link", "set", dev, "up")

        program = Program(binary, plugins)
        w = program.command("dump")
        check("interface list", w["cbxIf"]["items"], ["10.198.0.2"])
        check("interface box fixed", w["cbxIf"]["enabled"], False)
        program.click("CheckBox1")
        w = program.click("btnStart")
        check("receiving", (w["btnStart"]["enabled"], w["btnStop"]["enabled"]),
              (False, True))
        check("list shown", w["frmTracking"]["visible"], True)
        time.sleep(0.3)  # the membership is joined before anything is sent

        send("election")
        w = program.wait_rows(4)
        check("election states", [r[2] for r in w["lvState"]["rows"]],
              ["speak", "speak", "standby", "active"])
        check("election panel", panel(w),
              ["4", "10.198.0.11", "active", "3 sec.", "10 sec.", "110", "1",
               "cisco", "10.198.0.254"])
        check("election row", w["lvState"]["rows"][1][1:],
              ["10.198.0.12", "speak", "3", "10", "100", "1", "cisco",
               "10.198.0.254"])

        send("coup")
        w = program.wait_rows(5)
        check("coup", panel(w)[1:3] + [panel(w)[5]], ["10.198.0.13", "active", "200"])
        send("resign")
        w = program.wait_rows(6)
        check("resign", panel(w)[:3], ["6", "10.198.0.11", "active"])

        send("short")
        w = program.wait_rows(7)
        check("16-byte message", panel(w),
              ["7", "10.198.0.12", "standby", "3 sec.", "10 sec.", "100", "1",
               "cisco", ""])

        send("groups")
        w = program.wait_rows(9)
        check("groups", [(r[6], r[8]) for r in w["lvState"]["rows"][-2:]],
              [("2", "10.198.2.254"), ("3", "10.198.3.254")])

        send("md5")
        w = program.wait_rows(10)
        check("MD5 extension", panel(w),
              ["10", "10.198.0.11", "active", "3 sec.", "10 sec.", "110", "1",
               "", "10.198.0.254"])

        send("oddauth")
        w = program.wait_rows(11)
        check("authentication shown literally", w["stAuth"]["text"],
              "a&b\u263a\u2302")
        check("authentication in the log", w["lvState"]["rows"][-1][7],
              "a&b\u263a\u2302")

        w = program.click("rbActive")
        check("mode change empties the panel", panel(w), [""] * 9)
        send("standby")
        send("speak")
        w = program.wait_rows(12)
        check("filter Active", [r[2] for r in w["lvState"]["rows"][-1:]], ["speak"])
        check("counter after the mode change", w["stCycle"]["text"], "1")

        w = program.click("btnStop")
        check("stopped", (w["btnStart"]["enabled"], w["btnStop"]["enabled"]),
              (True, False))
        program.click("btnClose")
        check("closed cleanly", program.proc.wait(timeout=20), 0)
        program = None
    finally:
        if program is not None:
            program.proc.kill()
            program.proc.wait()
        subprocess.run(["ip", "netns", "del", ROUTERS])
        subprocess.run(["ip", "netns", "del", MONITOR])

    print(f"e2e: {len(PASSED)} passed, {len(FAILURES)} failed")
    return 1 if FAILURES else 0


if __name__ == "__main__":
    sys.exit(main())
