#!/usr/bin/env bash
# completion_in_bash.sh COMPLETION_FILE: in an interactive bash in tmux, a line
# typed and Tab pressed, as a user does; the line read back from the screen.
set -euo pipefail
work=$(mktemp -d)
socket=$work/tmux
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
touch "$work/table.dump"
printf '%s\n' "PS1='$ '" "cd '$work'" "source '$(realpath "$1")'" >"$work/bashrc"
tmux -S "$socket" new-session -d -x 150 -y 20 "bash --noprofile --rcfile '$work/bashrc' -i"

screen_line() { tmux -S "$socket" capture-pane -p | grep -v '^$' | tail -1; }
# A guard against a hang only: a busy machine may take long to draw the line.
HANG_GUARD_S=60
shows() {  # LINE: waits until the screen's last line is "$ LINE" (trailing blanks dropped); false if never
  local deadline=$((SECONDS + HANG_GUARD_S)) want="\$ $1"
  want=${want%"${want##*[! ]}"}
  until [[ $(screen_line) == "$want" ]]; do
    if ((SECONDS >= deadline)); then
      echo "timed out after $HANG_GUARD_S s waiting for '$want'"
      return 1
    fi
    sleep 0.05
  done
}
failures=0
shows "" || { echo "FAIL: no prompt: $(screen_line)"; exit 1; }
while IFS='|' read -r typed expected; do
  tmux -S "$socket" send-keys -l "$typed"
  tmux -S "$socket" send-keys Tab
  shows "$expected" || { echo "FAIL: '$typed' and Tab gave '$(screen_line)', not '\$ $expected'"; failures=1; }
  tmux -S "$socket" send-keys C-u
  shows "" || true
done <<'LINES'
tarnwick @smbwo|tarnwick @smbword
tarnwick --help-name @smbst|tarnwick --help-name @smbstr
tarnwick --help-name _smbuu|tarnwick --help-name _smbuuid
tarnwick --from-dump=tab|tarnwick --from-dump=table.dump
tarnwick --na|tarnwick --names
tarnwick --dec|tarnwick --decode
tarnwick --list _smbmem|tarnwick --list _smbmemory
LINES
# The candidates themselves, where Tab alone would show none on the line.
while IFS='|' read -r typed expected; do
  offered=$(bash -c 'source "$1"; COMP_LINE=$2 COMP_POINT=${#2}; _tarnwick; echo "${COMPREPLY[*]}"' _ "$1" "$typed")
  [[ $offered == "$expected" ]] || { echo "FAIL: '$typed' offered '$offered', not '$expected'"; failures=1; }
done <<'LINES'
tarnwick --list 12|12 126 127
tarnwick --decode 12|12 126 127
tarnwick --sample --list 17,4|17,4 17,40 17,41 17,42 17,43 17,44 17,45 17,46
LINES
exit $failures
