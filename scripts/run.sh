#!/usr/bin/env bash
# Sets up, builds tarnwick (tarnwick preset) and runs it on this machine's
# SMBIOS table. A machine that exposes no readable table (containers, build
# machines, a user without root) gets the built-in sample table instead, and
# is told so on standard error. Arguments are passed on to tarnwick.
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/step.sh

# Steps and build output go to standard error: standard output is tarnwick's.
build_tarnwick() {
  cmake --preset tarnwick
  cmake --build --preset tarnwick --target tarnwick --parallel "$(nproc)"
}
step "run: set up" bash scripts/setup.sh >&2
step "run: build tarnwick" build_tarnwick >&2
tarnwick=build/tarnwick/cli/tarnwick

chooses_table=false
for argument in "$@"; do
  case "$argument" in --from-dump | --from-dump=* | --sample) chooses_table=true ;; esac
done

tables=/sys/firmware/dmi/tables
if $chooses_table || { [ -r "$tables/DMI" ] && [ -r "$tables/smbios_entry_point" ]; }; then
  exec "$tarnwick" "$@"
fi
echo "run: this machine exposes no readable SMBIOS table ($tables);" \
  "showing tarnwick's built-in sample table of a fictional machine instead." >&2
exec "$tarnwick" --sample "$@"
