#!/usr/bin/env bash
# Builds the release files of the last commit into dist/:
#   tarnwick-VERSION-windows-x64.zip, tarnwick-VERSION-windows-x86.zip,
#   tarnwick_VERSION_amd64.deb, tarnwick-VERSION-linux-x86_64.tar.gz, SHA256SUMS.
# The commit is exported into a fresh folder and built there, so nothing
# uncommitted or left over from earlier builds gets in. Two runs give the
# same bytes: every time stamp is the commit's (SOURCE_DATE_EPOCH), archive
# entries are sorted and owned by root, and the binaries hold no build path
# (-ffile-prefix-map) and no link time (--no-insert-timestamp in the
# toolchain files). Warnings are errors, as in every preset.
#   release.sh [DIST_DIR]   (default: dist/)
# With TARNWICK_RELEASE_WORK=DIR the commit is exported and built in DIR,
# which is kept: its Windows builds (DIR/build-windows-x64 and -x86) hold
# the host stand-ins too, for the test step that runs them under Wine
# (scripts/test.d/50-windows-and-release.sh). The stand-ins are not
# installed: the files made are the same.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/step.sh
root=$PWD
dist=$(realpath -m "${1:-dist}")

export SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export TZ=UTC LC_ALL=C
umask 022
version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n $(git status --porcelain --untracked-files=no) ]] &&
  echo "release: uncommitted changes are left out; building $(git rev-parse --short HEAD)" >&2

standins=OFF
if [[ -n ${TARNWICK_RELEASE_WORK:-} ]]; then
  work=$(realpath -m "$TARNWICK_RELEASE_WORK")
  rm -rf "$work"
  mkdir -p "$work"
  standins=ON
else
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
fi
mkdir "$work/src" "$work/stage"
commit=$(git rev-parse HEAD)
git archive --format=tar "$commit" | tar -x -C "$work/src"

# build NAME [CMAKE_ARGS...]: a Release build without tests, installed
# stripped into $work/stage/NAME.
build() {
  local name=$1
  shift
  cmake -S "$work/src" -B "$work/build-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARNWICK_TESTS=OFF \
    -DTARNWICK_WERROR=ON "-DTARNWICK_WINE_STANDINS=$standins" "-DCMAKE_CXX_FLAGS=-ffile-prefix-map=$work/=" \
    "$@" >/dev/null
  nice -n 5 cmake --build "$work/build-$name" -j2 -- --quiet
  cmake --install "$work/build-$name" --strip --prefix "$work/stage/$name" >/dev/null
}

# Every entry gets the commit's time; the list is sorted by name.
stamp() { find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +; }
pack_zip() {  # FOLDER ZIP: the folder's files at the zip's root
  stamp "$1"
  (cd "$1" && find . -type f | sed 's|^\./||' | sort | zip -q -X -9 -D "$2" -@)
}
pack_tar() {  # PARENT FOLDER TAR_GZ: FOLDER as the archive's one top folder
  stamp "$1/$2"
  tar -C "$1" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner --format=gnu \
    -cf - "$2" | gzip -9n >"$3"
}

# One step per file (or pair of files, for Linux): each says what it makes and how long it took.
windows_zip() {  # ARCH TOOLCHAIN
  build "windows-$1" "-DCMAKE_TOOLCHAIN_FILE=$work/src/cmake/mingw-w64-$2.cmake"
  pack_zip "$work/stage/windows-$1" "$dist/tarnwick-$version-windows-$1.zip"
}
linux=tarnwick-$version-linux-x86_64
linux_files() {
  build linux
  mv "$work/stage/linux" "$work/stage/$linux"
  pack_tar "$work/stage" "$linux" "$dist/$linux.tar.gz"
  # The .deb is CPack's: its entries are sorted and stamped with SOURCE_DATE_EPOCH.
  # What CPack says (a line of its own on standard error, too) shows if it fails.
  (cd "$work/build-linux" && cpack -G DEB -B "$work/deb") >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    return 1
  }
  mv "$work/deb/tarnwick_${version}_amd64.deb" "$dist/"
}

rm -rf "$dist"
mkdir -p "$dist"
step "release: tarnwick-$version-windows-x64.zip" windows_zip x64 x86_64
step "release: tarnwick-$version-windows-x86.zip" windows_zip x86 i686
step "release: $linux.tar.gz and tarnwick_${version}_amd64.deb" linux_files
(cd "$dist" && sha256sum -- tarnwick* >SHA256SUMS)
echo "release $version ($(git rev-parse --short HEAD)) in $dist:"
(cd "$dist" && ls -l --time-style=+ -- * | awk '{print "  " $5 "\t" $NF}')
