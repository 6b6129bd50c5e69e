# Sourced by the scripts that take long: `step NAME COMMAND [ARGUMENTS...]`
# runs the command (a function or a program) and says on standard error
# which step starts and, when it ends, how long it took: the time on the
# clock, the processor time of the programs it ran (on a busy machine the
# first grows, the second hardly), and the load average at its end. A step
# within a step (a script that a step runs, which sources this file again)
# is indented under it. A failing command ends the script, as `set -e` has
# it; its own output says why.
step() {
  local name=$1 mark=${TARNWICK_STEP_MARK:-===} started=$SECONDS shell=$BASHPID cpu_before
  shift
  cpu_before=$(step_cpu_seconds "$shell")
  printf '\n%s %s\n' "$mark" "$name" >&2
  TARNWICK_STEP_MARK="  $mark" "$@"
  printf '%s %s: done in %d s (processor %d s, load %s)\n' "$mark" "$name" "$((SECONDS - started))" \
    "$(($(step_cpu_seconds "$shell") - cpu_before))" "$(cut -d' ' -f1 /proc/loadavg)" >&2
}

# User and system time of a shell's finished children (fields 16 and 17 of
# /proc/PID/stat), in whole seconds.
step_cpu_seconds() {
  awk -v tick="$(getconf CLK_TCK)" '{ sub(/^.*\) /, ""); printf "%d", ($14 + $15) / tick }' "/proc/$1/stat"
}

# `step_beside NAME COMMAND [ARGUMENTS...]`: the step, started in the
# background with its output held in a file, for work that keeps one core
# busy while another step runs. `steps_awaited` waits for every such step,
# shows each one's output in the order they started, and fails if any failed.
step_beside_pids=()
step_beside_logs=()
step_beside() {
  local log
  log=$(mktemp)
  step "$@" >"$log" 2>&1 &
  step_beside_pids+=("$!")
  step_beside_logs+=("$log")
}
steps_awaited() {
  local i status failed=0
  for i in "${!step_beside_pids[@]}"; do
    status=0
    wait "${step_beside_pids[$i]}" || status=$?
    cat "${step_beside_logs[$i]}"
    rm -f "${step_beside_logs[$i]}"
    if ((status)); then
      echo "the step above failed (status $status)" >&2
      failed=1
    fi
  done
  step_beside_pids=()
  step_beside_logs=()
  return "$failed"
}
