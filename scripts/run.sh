#!/usr/bin/env bash
# Installs what is missing, builds the program and shows it at work with no
# telescope and no planetarium.
#  - On a desktop: starts the simulated mount as COM1 and the simulated
#    Cartes du Ciel, then the program pointed at them; stops the simulators
#    when the program ends.
#  - Without a display: runs mivlo-demo on Qt's offscreen platform, which
#    drives the real windows and writes before/after pictures into out/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
preset=${MIVLO_PRESET:-release}
cmake --preset "$preset" >/dev/null
bin=build/$preset

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: running the headless demo."
  cmake --build --preset "$preset" --target mivlo-demo
  exec "$bin/tools/demo/mivlo-demo" out
fi

cmake --build --preset "$preset" --target mivlo mivlo-chartsim mivlo-mountsim

logs=$(mktemp -d)
pids=()
stop_simulators() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$logs"
}
trap stop_simulators EXIT
trap 'exit 1' INT TERM

# Starts a simulator in the background, its output going to a log.
launch() {
  local name=$1
  shift
  "$@" >"$logs/$name" 2>&1 &
  pids+=($!)
}

# Prints the first line of a simulator's log that matches the pattern (its
# port, its device) once it is there.
first_line() {
  local name=$1 pattern=$2 pid=$3
  for _ in $(seq 100); do
    grep -m1 -E "$pattern" "$logs/$name" && return 0
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "$name did not start:" >&2
  cat "$logs/$name" >&2
  return 1
}

launch chartsim "$bin/tools/chartsim/mivlo-chartsim" --port 0
chartsim=${pids[-1]}
port=$(first_line chartsim '^[0-9]+$' "$chartsim")
export MIVLO_CIEL="127.0.0.1:$port"
echo "Simulated Cartes du Ciel on $MIVLO_CIEL"
tail -n +2 -f --pid="$chartsim" "$logs/chartsim" | sed -u 's/^/Cartes du Ciel (simulated) received: /' &

# A slow steady slew: 20 and 10 counts a second on the two axes.
launch mountsim "$bin/tools/mountsim/mivlo-mountsim" --slew 20,10
export MIVLO_COM1=$(first_line mountsim '^/dev/' "${pids[-1]}")
echo "Simulated mount on $MIVLO_COM1 (COM1)"

cat <<'STEPS'

To see it work:
  1. Configuración → Telescopio… → Conectar: the mount's movement shows in the boxes.
  2. Herramientas → Cartes du Ciel…: tick "Cartes du Ciel sigue a M.I.V.LO." and
     press Aceptar; a MOVE command for the chart shows here at each refresh.

STEPS
"$bin/app/mivlo"
