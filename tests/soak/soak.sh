#!/usr/bin/env bash
# The long night: mivlo-mountsim at the line rate with a random walk as COM1,
# mivlo-chartsim as the planetarium, and the main window connected and
# following the telescope every 2 s. Passes when resident memory stayed flat,
# no box was shown, and the final position equals, to the bit, what the
# simulator's own log of packets gives through the teeth scaling (with the
# sky's turning added where the program's ticks came). Not part of ctest.
# Usage: tests/soak/soak.sh [seconds, default 600]
# MIVLO_MOUNTSIM may name a mivlo-mountsim other than the dev build's.
set -euo pipefail
cd "$(dirname "$0")/../.."

seconds="${1:-600}"
cmake --preset dev >/dev/null
targets=(mivlo-soak mivlo-chartsim)
[ -n "${MIVLO_MOUNTSIM:-}" ] || targets+=(mivlo-mountsim)
cmake --build --preset dev --target "${targets[@]}"
mountsim="${MIVLO_MOUNTSIM:-build/dev/tools/mountsim/mivlo-mountsim}"

work="$(mktemp -d)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

build/dev/tools/chartsim/mivlo-chartsim --port 0 >"$work/chart.out" 2>&1 &
pids+=($!)
# The mount starts moving once the program listens and outlasts it.
"$mountsim" --random-walk 20 --seed 7 --start-after 3 --seconds "$((seconds + 60))" \
  --log "$work/packets.log" --link "$work/com1" >"$work/mount.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  [ -e "$work/com1" ] && [ -s "$work/chart.out" ] && break
  sleep 0.1
done
chart_port="$(grep -oE '[0-9]+' "$work/chart.out" | head -1)"

MIVLO_COM1="$work/com1" MIVLO_CIEL="127.0.0.1:$chart_port" QT_QPA_PLATFORM=offscreen \
  build/dev/tests/soak/mivlo-soak "$seconds" >"$work/soak.out"
# Its log is whole once it has ended.
kill -TERM "${pids[1]}"
wait "${pids[1]}" || true

python3 - "$work/soak.out" "$work/packets.log" "$work/chart.out" <<'PY'
import sys

soak = [line.rstrip("\n").split(maxsplit=1) for line in open(sys.argv[1]) if line.strip()]
packets = [tuple(int(v) for v in line.split()) for line in open(sys.argv[2]) if line.strip()]
value = {k: v for k, v in soak if k in ("bytes", "ar", "dec", "boxes")}
ticks = [tuple(int(v) for v in v.split()) for k, v in soak if k == "tick"]
rss = [tuple(int(v) for v in v.split())[1] for k, v in soak if k == "rss"]

# The program's arithmetic, in its order: per packet (x * k) / e + position,
# with k = 360 / mount teeth (144) and e = encoder teeth (55); per second of
# sky 1000 * 4.166666666666e-6 + right ascension. The first byte is the "M".
k, e = 360.0 / 144.0, 55.0
ar = dec = 0.0
pending = list(ticks)
def sky(upto):
    global ar
    while pending and pending[0][0] < upto:
        for _ in range(pending.pop(0)[1]):
            ar = 1000.0 * 4.166666666666e-6 + ar
handled = int(value["bytes"])
# Only the packets whose three bytes were handled before the port closed.
packets = packets[: (handled - 1) // 3]
for i, (x, y) in enumerate(packets):
    sky(1 + 3 * (i + 1))
    ar = (x * k) / e + ar
    dec = (y * k) / e + dec
sky(float("inf"))

settled = rss[len(rss) // 4:] or rss
report = {
    "packets": len(packets),
    "bytes handled": handled,
    "seconds of sky": sum(n for _, n in ticks),
    "boxes": value["boxes"],
    "pointings sent to the chart": sum("MOVE" in line for line in open(sys.argv[3])),
    "resident KiB (first, min, max, last)": (rss[0], min(rss), max(rss), rss[-1]) if rss else None,
    "declination": f"{float.fromhex(value['dec'])!r} expected {dec!r}",
    "right ascension": f"{float.fromhex(value['ar'])!r} expected {ar!r}",
}
for key, v in report.items():
    print(f"{key}: {v}")
for k_, text in soak:
    if k_ == "box":
        print("box shown:", text)
ok = (len(packets) > 0 and value["boxes"] == "0"
      and float.fromhex(value["dec"]) == dec and float.fromhex(value["ar"]) == ar
      and (not settled or max(settled) - min(settled) <= 2048))
print("soak:", "PASS" if ok else "FAIL")
sys.exit(0 if ok else 1)
PY
