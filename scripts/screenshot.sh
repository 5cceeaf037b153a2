#!/usr/bin/env bash
# Shows Quorvel in a virtual X screen at 96 dpi with Japanese settings and saves a
# screenshot. With a port, it types 127.0.0.1:PORT into the server field, where a small
# RFC 868 server answers, and clicks "再取得" first.
# Usage: scripts/screenshot.sh [OUT.png] [--reread]
# As root it runs in a network namespace of its own, so the program's first query to a
# preset server cannot leave the machine, and without the right to change the clock.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-/tmp/quorvel.png}
reread=${2:-}
program=${QUORVEL_PROGRAM:-$here/build/app/Quorvel}

if [ "$(id -u)" = 0 ] && [ -z "${QUORVEL_ISOLATED:-}" ]; then
    exec unshare -n env QUORVEL_ISOLATED=1 "$0" "$@"
fi
[ -n "${QUORVEL_ISOLATED:-}" ] && ip link set lo up
for tool in Xvfb import xdotool python3; do
    command -v "$tool" >/dev/null ||
        { echo "missing $tool: apt-get install xvfb imagemagick xdotool python3" >&2; exit 1; }
done

pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
display=:${QUORVEL_DISPLAY:-77}
Xvfb "$display" -screen 0 800x600x24 -dpi 96 -nolisten tcp 2>/dev/null &
pids+=($!)
port=37037
python3 - "$port" <<'PY' &
import socket, struct, sys, time
s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen()
while True:
    c, _ = s.accept(); c.sendall(struct.pack(">I", int(time.time()) + 2208988800)); c.close()
PY
pids+=($!)
sleep 1

export DISPLAY=$display LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 QT_QPA_PLATFORM=xcb
# Without the right to change the clock, so a stray click on "時間設定" cannot set it.
launcher=()
[ "$(id -u)" = 0 ] && launcher=(setpriv --bounding-set=-sys_time --inh-caps=-sys_time --)
"${launcher[@]}" "$program" &
pids+=($!)
win=$(xdotool search --sync --onlyvisible --name '^Quorvel$' | head -1)
sleep 1
if [ "$reread" = --reread ]; then
    # Window-relative centres of the server field and of "再取得".
    xdotool mousemove --window "$win" 184 253 click 1 key ctrl+a
    xdotool type --delay 20 "127.0.0.1:$port"
    xdotool mousemove --window "$win" 180 288 click 1
    sleep 1.5
fi
import -window root -crop 379x452+188+103 +repage "$out"
echo "$out"
