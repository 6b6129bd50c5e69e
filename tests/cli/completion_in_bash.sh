#!/usr/bin/env bash
# tarnwick's bash completion as a user meets it: an interactive bash in tmux,
# a line typed and Tab pressed, the line read back from the screen.
#   completion_in_bash.sh COMPLETION_FILE
set -euo pipefail
completion=$(realpath "$1")
work=$(mktemp -d)
socket=$work/tmux
trap 'tmux -S "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
touch "$work/table.dump"
printf '%s\n' "PS1='$ '" "cd '$work'" "source '$completion'" >"$work/bashrc"
tmux -S "$socket" new-session -d -x 150 -y 20 "bash --noprofile --rcfile '$work/bashrc' -i"

failures=0
screen_line() { tmux -S "$socket" capture-pane -p | grep -v '^$' | tail -1; }
# Waits until the screen's last line is "$ LINE"; false if it never is.
shows() {
  local tries=0 want="\$ $1"
  want=${want%"${want##*[! ]}"}  # the screen keeps no trailing blanks
  until [[ $(screen_line) == "$want" ]]; do
    ((++tries > 200)) && return 1
    sleep 0.05
  done
}
# TYPED EXPECTED: the line after TYPED and a Tab, trailing blanks dropped.
tab() {
  tmux -S "$socket" send-keys -l "$1"
  tmux -S "$socket" send-keys Tab
  if ! shows "$2"; then
    echo "FAIL: '$1' and Tab gave '$(screen_line)', not '\$ $2'"
    failures=$((failures + 1))
  fi
  tmux -S "$socket" send-keys C-u
  shows "" || true
}

shows "" || { echo "FAIL: no prompt: $(screen_line)"; exit 1; }
tab "tarnwick @smbwo" "tarnwick @smbword"
tab "tarnwick --help-name @smbst" "tarnwick --help-name @smbstr"
tab "tarnwick --help-name _smbuu" "tarnwick --help-name _smbuuid"
tab "tarnwick --from-dump=tab" "tarnwick --from-dump=table.dump"
tab "tarnwick --na" "tarnwick --names"
((failures == 0)) && echo "completion: every line completed as a user types it"
exit $((failures != 0))
