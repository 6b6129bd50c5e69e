#!/usr/bin/env bash
# The Windows plug-in end to end, and the release files as a user meets
# them. scripts/release.sh builds the release files twice, byte for byte the
# same. The first run keeps its builds, with the host stand-ins beside them
# (TARNWICK_RELEASE_WORK), and its Windows builds are the ones checked here,
# so nothing is built a third time: the export and import tables of
# Tarnwick.dll (x64, x86) and of the programs; both DLLs and tarnwick.exe
# under headless Wine through stand-ins for the host (tests/wine), x86 on
# Debian's wine32 (i386 architecture, which scripts/setup.sh installs), and
# tarnwick.exe under cmd.exe. Then the release files: their file lists are
# the expected ones (tests/release/); the .deb passes lintian without errors
# or warnings, installs, and its tarnwick, manual page and bash completion
# work until it is purged without a trace; each Windows zip, unpacked into a
# fresh Wine prefix, carries its version resources, its DLL loads in the
# stand-in host and its tarnwick.exe runs from there. The second run builds
# beside all of these checks, most of which keep one core busy at a time.
# What is built is the last commit (release.sh says when changes are left
# out).
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/step.sh
root=$PWD
expected=$root/tests/release

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

tools=(lintian zip unzip man dpkg-deb wine wineserver cmake ninja g++ x86_64-w64-mingw32-g++-win32
  i686-w64-mingw32-g++-win32 x86_64-w64-mingw32-objdump i686-w64-mingw32-objdump x86_64-w64-mingw32-nm)
# 32-bit Wine has no command of its own: its loader is a file of wine32.
wine32_loader=/usr/lib/wine/wine
missing_tools() {
  local tool
  for tool in "${tools[@]}"; do command -v "$tool" >/dev/null || echo "$tool"; done
  [[ -x $wine32_loader ]] || echo wine32
}
if [[ -n $(missing_tools) ]]; then
  echo "installing what is missing: $(missing_tools | paste -sd' ')"
  bash scripts/setup.sh --tests
  if [[ -n $(missing_tools) ]]; then
    echo "FAIL: still missing after setup: $(missing_tools | paste -sd' ')"
    exit 1
  fi
fi

version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
first=$root/build/release-1
second=$root/build/release-2
kept=$root/build/release-work
deb=$first/tarnwick_${version}_amd64.deb
work=$(mktemp -d)
cleanup() {
  if [[ -n ${WINEPREFIX:-} ]]; then wineserver -k 2>/dev/null || true; fi
  dpkg --purge tarnwick >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# The native preset's Linux tarnwick answers from the same tables as the DLL.
cmake --preset native >/dev/null
step "windows: the native tarnwick" cmake --build --preset native --target tarnwick -- --quiet
step "release: first run, its builds kept for the Windows checks" env TARNWICK_RELEASE_WORK="$kept" \
  bash scripts/release.sh "$first"
windows_x64=$kept/build-windows-x64
windows_x86=$kept/build-windows-x86

pe_checks() {
  local exports host_library dll symbols arch program
  # The exports: the lifecycle and help, then every name of the one list, as
  # the build wrote them out from host/names.h.
  # The host's library, by the name the build gives it.
  exports=$windows_x64/plugin/exports.txt
  host_library=$(<"$windows_x64/host_library.txt")
  bash tests/wine/pe_tables.sh x86_64-w64-mingw32-objdump "$windows_x64/Tarnwick.dll" "$host_library" "$exports"
  bash tests/wine/pe_tables.sh i686-w64-mingw32-objdump "$windows_x86/Tarnwick.dll" "$host_library" "$exports"
  # What ships holds no test hook (a firmware stand-in, an allocation-failure
  # switch, another sysfs folder): no such symbol in either DLL.
  for dll in "$windows_x64/Tarnwick.dll" "$windows_x86/Tarnwick.dll"; do
    symbols=$(x86_64-w64-mingw32-nm "$dll")
    if [[ -z $symbols ]] || grep -E "(Install|Remove)[A-Za-z]*Firmware|FailTable|SetDmiTables" <<<"$symbols"; then
      echo "FAIL: $dll has no symbol table to check, or holds a test hook"
      exit 1
    fi
  done
  # The programs, too, must run without the compiler's runtime DLLs.
  for arch in x64:x86_64 x86:i686; do
    for program in cli/tarnwick.exe standins/standin_host.exe; do
      bash tests/wine/pe_tables.sh "${arch#*:}-w64-mingw32-objdump" "$kept/build-windows-${arch%:*}/$program" \
        "$host_library"
    done
  done
}
step "windows: export and import tables" pe_checks

# Each Wine session, in a prefix of its own, keeps about one core busy; the
# second release run takes what they leave.
step_beside "release: second run, to compare" bash scripts/release.sh "$second"
step_beside "windows: x64 under Wine" bash tests/wine/wine_checks.sh "$windows_x64" build/native/cli/tarnwick
step_beside "windows: x86 under Wine" bash tests/wine/wine_checks.sh "$windows_x86" build/native/cli/tarnwick
step_beside "windows: cmd.exe checks" bash tests/wine/cmd_checks.sh "$windows_x64"

# File lists: mode and path of every entry, against the committed lists.
same_list() {  # LABEL EXPECTED ACTUAL
  if ! diff -u "$2" "$3" >"$work/list.diff"; then
    fail "$1: file list differs (- expected, + actual)"
    tail -n +3 "$work/list.diff"
  fi
}
zip_list() { zipinfo "$1" | awk '$1 ~ /^[-d]/ {print $1, $NF}'; }
file_lists() {
  for arch in x64 x86; do
    zip_list "$first/tarnwick-$version-windows-$arch.zip" >"$work/windows-$arch.list"
    same_list "windows-$arch zip" "$expected/windows-zip.txt" "$work/windows-$arch.list"
    # README.txt: CR LF on every line, the hash of its own zip, WMIC's property names.
    unzip -p "$first/tarnwick-$version-windows-$arch.zip" README.txt >"$work/README-$arch.txt"
    grep -n -v $'\r$' "$work/README-$arch.txt" | head -3 | sed "s/^/    windows-$arch README.txt, no CR: /" | grep . &&
      fail "windows-$arch README.txt has lines without CR LF"
    grep -q "certutil -hashfile tarnwick-$version-windows-$arch.zip SHA256" "$work/README-$arch.txt" ||
      fail "windows-$arch README.txt does not tell to hash tarnwick-$version-windows-$arch.zip"
    grep -q -x $'    wmic cpu get extclock  *_smbcpuclock\r' "$work/README-$arch.txt" ||
      fail "windows-$arch README.txt does not map wmic cpu get extclock to _smbcpuclock"
  done
  tar -tvzf "$first/tarnwick-$version-linux-x86_64.tar.gz" | awk '{print $1, $NF}' |
    sed "s|tarnwick-$version-linux-x86_64|tarnwick-VERSION-linux-x86_64|" >"$work/tar.list"
  same_list "linux tar.gz" "$expected/linux-tar.txt" "$work/tar.list"
  dpkg-deb -c "$deb" | awk '{print $1, $NF}' >"$work/deb.list"
  same_list "deb" "$expected/deb.txt" "$work/deb.list"
  # The completion works where bash-completion loads it.
  [[ $(dpkg-deb -f "$deb" Recommends) == bash-completion ]] ||
    fail "the .deb recommends '$(dpkg-deb -f "$deb" Recommends)', not bash-completion"
}
step "release: file lists" file_lists

tarball_and_lintian() {
  # The tarball's tarnwick runs where it is unpacked; the manual page's
  # source renders without a warning.
  tar -xzf "$first/tarnwick-$version-linux-x86_64.tar.gz" -C "$work"
  [[ $("$work/tarnwick-$version-linux-x86_64/bin/tarnwick" --sample _smbproduct) == "Quillon Q7 Workstation" ]] ||
    fail "tarnwick from the tar.gz gives the wrong answer"
  MANWIDTH=80 man --warnings -l cli/tarnwick.1 2>&1 >/dev/null | grep . && fail "cli/tarnwick.1 renders with warnings"

  # lintian: errors and warnings fail.
  nice lintian "$deb" 2>/dev/null >"$work/lintian.txt" || true
  sed 's/^/    lintian: /' "$work/lintian.txt"
  grep -q '^[EW]:' "$work/lintian.txt" && fail "lintian reports errors or warnings on the .deb"
  echo "lintian: $(grep -c '^E:' "$work/lintian.txt" || true) errors, $(grep -c '^W:' "$work/lintian.txt" || true) warnings"
}
step "release: the tarball's tarnwick, the manual page, lintian" tarball_and_lintian

deb_installed() {
  # The .deb installed on this machine, used, and purged.
  dpkg --purge tarnwick >/dev/null 2>&1 || true
  if dpkg -i "$deb" >"$work/dpkg.log" 2>&1; then
    installed=$(dpkg -L tarnwick | sort)
    [[ $(tarnwick --sample _smbmfg "@smbword[4,0x16]") == $'Brackenfold Computing\n3600' ]] ||
      fail "the installed tarnwick --sample gives the wrong answers"
    tarnwick --sample >"$work/report.txt" || fail "the installed tarnwick --sample: exit status $?"
    # One line per variable of the list of names.
    variables=$(tarnwick --names | grep -c '^_')
    [[ $(wc -l <"$work/report.txt") == "$variables" ]] ||
      fail "the installed tarnwick --sample reports $(wc -l <"$work/report.txt") lines, not $variables"
    MANWIDTH=80 man --warnings tarnwick >"$work/man.txt" 2>"$work/man.err" || fail "man tarnwick: exit status $?"
    [[ -s $work/man.err ]] && fail "man tarnwick warns: $(head -5 "$work/man.err")"
    grep -q -e '--from-dump FILE' "$work/man.txt" || fail "man tarnwick does not show the options"
    # The installed completion, sourced as bash-completion would.
    complete_words() {  # WORDS...: what the completion offers at the end of the line they make
      bash -c 'source /usr/share/bash-completion/completions/tarnwick
        COMP_LINE=$1; COMP_POINT=${#1}; _tarnwick; printf "%s\n" "${COMPREPLY[@]}"' complete "$*"
    }
    complete_words tarnwick _smb | grep -q -x _smbmfg || fail "completion of 'tarnwick _smb' lacks _smbmfg"
    complete_words tarnwick @smb | grep -q -x @smbword || fail "completion of 'tarnwick @smb' lacks @smbword"
    # Without a start, every name the plug-in reports that it implements.
    diff <(complete_words tarnwick '') <(tarnwick --names | sed 's/[[ ].*//') \
      >/dev/null || fail "the completion does not offer exactly the plug-in's names"
    [[ $(complete_words tarnwick --from-d) == --from-dump ]] || fail "completion of 'tarnwick --from-d'"
    [[ $(complete_words tarnwick --from-dump /usr/share/doc/tarnwick/LIC) == /usr/share/doc/tarnwick/LICENSE ]] ||
      fail "completion of a file name after --from-dump"
    dpkg -r tarnwick >>"$work/dpkg.log" 2>&1 || fail "dpkg -r tarnwick failed"
    dpkg --purge tarnwick >>"$work/dpkg.log" 2>&1 || fail "dpkg --purge tarnwick failed"
    for path in $installed; do
      [[ -f $path ]] && fail "$path is left after dpkg --purge"
    done
    if dpkg-query -W tarnwick >/dev/null 2>&1; then fail "dpkg still knows tarnwick after --purge"; fi
  else
    fail "dpkg -i: $(cat "$work/dpkg.log")"
  fi
}
step "release: the .deb installed, used and purged" deb_installed

# Each zip in a fresh Wine prefix: unpacked into C:\Tarnwick, its DLL
# loaded by the stand-in host from C:\Host, its tarnwick.exe run.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
source tests/wine/wine_prefix.sh
unset DISPLAY WAYLAND_DISPLAY
zip_under_wine() {  # ARCH
  local arch=$1
  standins=$kept/build-windows-$arch
  export WINEPREFIX=$work/prefix-$arch
  new_wine_prefix || fail "$arch: wineboot could not create the prefix"
  unzip -q "$first/tarnwick-$version-windows-$arch.zip" -d "$WINEPREFIX/drive_c/Tarnwick"
  mkdir "$WINEPREFIX/drive_c/Host"
  cp "$standins/standins/$(<"$standins/host_library.txt")" "$standins"/standins/{standin_host.exe,version_reader.exe} \
    "$WINEPREFIX/drive_c/Host/"
  for module in Tarnwick.dll:dll tarnwick.exe:exe; do
    wine 'C:\Host\version_reader.exe' "C:\\Tarnwick\\${module%:*}" >"$work/version.txt" 2>&1 ||
      fail "$arch: no version resource in ${module%:*}"
    diff -q "$work/version.txt" "tests/wine/cases/version_resource_${module#*:}.txt" >/dev/null ||
      fail "$arch: the version resource of ${module%:*} differs: $(head -c 300 "$work/version.txt")"
  done
  wine 'C:\Host\standin_host.exe' --var _transient=1 'C:\Tarnwick\Tarnwick.dll' _smbver '@randx[4]' \
    >"$work/host.txt" 2>&1 || fail "$arch: the stand-in host ended with status $?"
  # Wine's own table is of SMBIOS 2.4.
  grep -q -x $'call\t_smbver\t0\t2.4' "$work/host.txt" && grep -q -E $'^call\t@randx\\[4\\]\t0\t[0-9A-F]{4}$' "$work/host.txt" ||
    fail "$arch: Tarnwick.dll from the zip: $(head -c 500 "$work/host.txt")"
  (cd "$WINEPREFIX/drive_c/Tarnwick" && wine tarnwick.exe _smbver --sample _smbmfg) >"$work/exe.txt" 2>&1 ||
    fail "$arch: tarnwick.exe from the zip: exit status $?"
  [[ $(tr -d '\r' <"$work/exe.txt") == $'3.1\nBrackenfold Computing' ]] ||
    fail "$arch: tarnwick.exe from the zip: $(head -c 300 "$work/exe.txt")"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
for arch in x64 x86; do
  step "release: the $arch zip under Wine: version resources, DLL and tarnwick.exe" zip_under_wine "$arch"
done
unset WINEPREFIX

steps_awaited
for file in "$first"/*; do
  cmp -s "$file" "$second/$(basename "$file")" || fail "$(basename "$file") differs between two release runs"
done
[[ $(ls "$first") == $(ls "$second") ]] || fail "the two release runs made different files"
(cd "$first" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match the files"
echo "two release runs, $(ls "$first" | wc -l) files each, compared byte for byte"

if ((failures)); then
  echo "$failures release check(s) failed"
  exit 1
fi
echo "release checks passed"
