#!/bin/sh
# Runs the window manager test on a display of its own, Xvfb with openbox.
# Skipped (77) when either is missing.
test_binary=$1
command -v Xvfb >/dev/null && command -v openbox >/dev/null || {
  echo "SKIP: Xvfb or openbox is not installed"; exit 77; }
fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
read -r display <"$fifo"; rm -f "$fifo"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
openbox >/dev/null 2>&1 &
wm=$!
# Until openbox manages the screen (it sets the root window's check).
i=0
while [ $i -lt 100 ] && ! xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null |
    grep -q "window id"; do
  sleep 0.1; i=$((i + 1))
done
"$test_binary"
status=$?
kill "$wm" "$xvfb" 2>/dev/null
wait 2>/dev/null
exit $status
