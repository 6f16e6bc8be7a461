#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
if [ -x build/release/app/mivlo ]; then
  exec build/release/app/mivlo
fi
echo "Built everything; the program's window is not part of this build yet (build/release/app/mivlo)."
