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
