# Sourced by the scripts that run programs under Wine: a throw-away prefix in
# a work folder of its own (kept when KEEP is set), the wine server ended on
# exit, and a count of failed checks.
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  [[ -n ${KEEP:-} ]] || rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/wine_prefix.sh"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# hang_guard COMMAND...: COMMAND, ended after HANG_GUARD_S seconds when it
# hangs, saying so; its status otherwise. A guard against hangs, not a time
# limit: a busy machine may take minutes.
HANG_GUARD_S=600
exec 9>&2  # the guard's message reaches the log even where COMMAND's errors are discarded
hang_guard() {
  local status=0
  timeout "$HANG_GUARD_S" "$@" || status=$?
  ((status != 124)) || echo "timed out after $HANG_GUARD_S s: $*" >&9
  return "$status"
}

# timed_run OUT ERR COMMAND...: COMMAND under the hang guard, its output in OUT and
# ERR; returns its status. Now and then a Wine start, two at a time on a busy
# machine, ends with a failure before the program runs, printing nothing at
# all or Wine's own "could not be started": such a failure runs again, at
# most three times in all, and is shown. A program at fault
# fails the same way twice.
timed_run() {
  local out=$1 err=$2 status attempt
  shift 2
  for attempt in 1 2 3; do
    status=0
    hang_guard "$@" >"$out" 2>"$err" || status=$?
    ((status != 0 && attempt < 3)) || break
    if [[ ! -s $out && ! -s $err ]]; then
      echo "    $(basename "$out"): ended with status $status and printed nothing: run once more"
    elif grep -q -e '^ShellExecuteEx failed' -e '^Application could not be started' "$out" "$err"; then
      echo "    $(basename "$out"): Wine could not start the program (status $status): run once more"
    else
      break
    fi
  done
  return "$status"
}
