"""Puts HSRP scenarios on the wire with scapy, out of one interface of a
network namespace the end-to-end test made: `hsrp_sender.py IFACE SCENARIO`.
Every datagram goes to 224.0.0.2:1985 with a time-to-live of 1; a scenario
sends at most a dozen."""
import sys
import time

from scapy.all import Ether, IP, UDP, Raw, sendp
from scapy.layers.hsrp import HSRP, HSRPmd5

ROUTER_A, ROUTER_B, ROUTER_C = "10.198.0.11", "10.198.0.12", "10.198.0.13"


def hello(src, state, priority, group=1, opcode=0, auth=b"cisco\0\0\0",
          vip="10.198.0.254"):
    return HSRP(opcode=opcode, state=state, hellotime=3, holdtime=10,
                priority=priority, group=group, auth=auth, virtualIP=vip), src


SCENARIOS = {
    # speak, then standby and active
    "election": [hello(ROUTER_A, 4, 110), hello(ROUTER_B, 4, 100),
                 hello(ROUTER_B, 8, 100), hello(ROUTER_A, 16, 110)],
    "coup": [hello(ROUTER_C, 16, 200, opcode=1)],
    "resign": [hello(ROUTER_A, 16, 110, opcode=2)],
    # what real routers send: the first 16 bytes only
    "short": [(Raw(bytes(hello(ROUTER_B, 8, 100)[0])[:16]), ROUTER_B)],
    "groups": [hello(ROUTER_A, 16, 110, group=2, vip="10.198.2.254"),
               hello(ROUTER_B, 8, 90, group=3, vip="10.198.3.254")],
    "md5": [(hello(ROUTER_A, 16, 110, auth=b"\0" * 8)[0]
             / HSRPmd5(type=4, len=28, algo=1, sourceip=ROUTER_A, keyid=1,
                       authdigest=b"\x11" * 16), ROUTER_A)],
    "oddauth": [hello(ROUTER_B, 16, 100, auth=b"a&b\x01\x7f\0\0\0")],
    "standby": [hello(ROUTER_B, 8, 100)],
    "speak": [hello(ROUTER_C, 4, 50)],
}


def main():
    iface, name = sys.argv[1], sys.argv[2]
    for payload, src in SCENARIOS[name]:
        frame = (Ether(dst="01:00:5e:00:00:02") / IP(src=src, dst="224.0.0.2", ttl=1)
                 / UDP(sport=1985, dport=1985) / payload)
        sendp(frame, iface=iface, verbose=False)
        time.sleep(0.02)


if __name__ == "__main__":
    main()
