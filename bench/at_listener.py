#!/usr/bin/python3
"""A screen-reader-like AT-SPI client: listens to the property, text,
state and children changes of every application until it is terminated,
and prints how many events it got. Run with Debian's /usr/bin/python3."""
import signal
import sys

import pyatspi

count = 0


def on_event(event):
    global count
    count += 1
    # A screen reader reads what changed.
    try:
        event.source.name
    except Exception:
        pass


def stop(*_):
    pyatspi.Registry.stop()


signal.signal(signal.SIGTERM, stop)
signal.signal(signal.SIGINT, stop)
pyatspi.Registry.registerEventListener(
    on_event, "object:property-change", "object:children-changed",
    "object:text-changed", "object:state-changed", "object:visible-data-changed")
print("listening", flush=True)
pyatspi.Registry.start()
print(f"events {count}", flush=True)
sys.exit(0)
