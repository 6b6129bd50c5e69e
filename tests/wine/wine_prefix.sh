# Sourced where a Wine prefix is made: new_wine_prefix creates $WINEPREFIX
# with wineboot. On a busy machine wineboot now and then fails before the
# prefix is whole (seen once in CI, for the x86 prefix after the x64 one had
# passed); it runs again in a clean folder, three times at most, and says why
# it failed each time. A prefix that cannot be made fails all three.
new_wine_prefix() {
  local attempt status log=$WINEPREFIX.wineboot.log
  for attempt in 1 2 3; do
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineserver -p
    status=0
    timeout 600 wine wineboot -i >"$log" 2>&1 || status=$?
    ((status != 124)) || echo "    timed out after 600 s: wine wineboot -i"
    if ((status == 0)); then
      rm -f "$log"
      return 0
    fi
    echo "    wineboot ended with status $status (try $attempt of 3): $(tail -c 600 "$log" | tr '\n' ' ')"
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  done
  return 1
}
