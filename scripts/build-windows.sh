#!/usr/bin/env bash
# Cross-builds the Windows program, command line and dialog, into build-windows/: installs the Debian
# packages that are missing, builds libxml2 (from Debian's own source package, Debian's patches
# applied, the same version as the Linux build) and GoogleTest for Windows once, then rulecast.exe,
# its tests and the zip package. Later runs reuse what is there.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-windows"
third="$out/third-party"
prefix="$third/prefix"
toolchain="$root/cmake/MingwW64.cmake"
jobs="$(nproc)"

"$root/scripts/install-missing.sh" cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev \
  libgtest-dev libxml2-dev locales
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

# Wine takes its ANSI code page from the locale, so the locales the tests run under must exist.
for loc in en_US ja_JP; do
  locale -a 2>/dev/null | grep -qix "$loc.utf-\?8" || $sudo localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
done

# The deb-src twin of every deb entry of the machine's own apt sources, in one-line and deb822
# form; the system's configuration stays as it is.
source_entries() {
  local f
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; FS = "\n" }
      {
        types = ""; enabled = 1; body = ""
        for (i = 1; i <= NF; i++) {
          if ($i ~ /^#/) continue
          if ($i ~ /^Types:/) { types = $i; continue }
          if ($i ~ /^Enabled:[[:space:]]*[Nn]o/) enabled = 0
          body = body $i "\n"
        }
        if (enabled && types ~ /[[:space:]]deb([[:space:]]|$)/) printf "Types: deb-src\n%s\n", body
      }' "$f"
  done
}

# Debian's libxml2 source, fetched with an apt configuration of its own inside build-windows/.
fetch_libxml2() {
  local version="$1" dest="$2" apt="$third/apt"
  rm -rf "$apt" "$dest"
  mkdir -p "$apt/parts" "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/download"
  source_entries >"$apt/parts/rulecast-deb-src.sources"
  # The downloads land in folders of this build, which apt's unprivileged user need not reach.
  local options=(-o Dir::Etc::sourcelist=- -o "Dir::Etc::sourceparts=$apt/parts"
    -o "Dir::State::lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o APT::Sandbox::User=root)
  apt-get "${options[@]}" -qq update
  if ! (cd "$apt/download" && apt-get "${options[@]}" -qq source --download-only "libxml2=$version"); then
    echo "Debian's source of libxml2 $version is not in this machine's apt sources;" \
         "upgrading libxml2-dev to the version they offer makes the two builds match again." >&2
    exit 1
  fi
  # apt has checked the files against the signed index; dpkg-source would only warn that it
  # lacks the uploader's key.
  dpkg-source -x "$apt/download"/libxml2_*.dsc "$dest" >/dev/null 2>&1
}

# Static, threads on (2.9.14 does not compile for Windows without them); no iconv, zlib, lzma,
# network or Python; only the library.
build_libxml2() {
  local version stamp src="$third/libxml2-src" bld="$third/libxml2-build"
  version="$(dpkg-query -W -f='${Version}' libxml2-dev)"
  stamp="$prefix/libxml2-$version.built"
  [ -f "$stamp" ] && return
  echo "Building libxml2 $version for Windows"
  local started=$SECONDS
  fetch_libxml2 "$version" "$src"
  rm -rf "$bld"
  cmake -S "$src" -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_LZMA=OFF \
    -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_PYTHON=OFF \
    -DLIBXML2_WITH_THREADS=ON -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_TESTS=OFF >/dev/null
  cmake --build "$bld" -j"$jobs" >/dev/null
  cmake --install "$bld" >/dev/null
  install -m 644 "$src/Copyright" "$prefix/libxml2-Copyright.txt"
  touch "$stamp"
  echo "libxml2 built in $((SECONDS - started)) s"
}

build_googletest() {
  local version stamp bld="$third/googletest-build"
  version="$(dpkg-query -W -f='${Version}' libgtest-dev)"
  stamp="$prefix/googletest-$version.built"
  [ -f "$stamp" ] && return
  echo "Building GoogleTest $version for Windows"
  local started=$SECONDS
  rm -rf "$bld"
  cmake -S /usr/src/googletest -B "$bld" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF >/dev/null
  cmake --build "$bld" -j"$jobs" >/dev/null
  cmake --install "$bld" >/dev/null
  touch "$stamp"
  echo "GoogleTest built in $((SECONDS - started)) s"
}

# The licence notices of what goes into rulecast.exe, as Debian ships them with the very
# libraries linked in.
gather_licenses() {
  local dir="$third/licenses"
  mkdir -p "$dir"
  install -m 644 "$prefix/libxml2-Copyright.txt" "$dir/libxml2.txt"
  install -m 644 /usr/share/doc/mingw-w64-x86-64-dev/copyright "$dir/mingw-w64-runtime-and-winpthreads.txt"
  install -m 644 /usr/share/doc/gcc-mingw-w64-base/copyright "$dir/gcc-runtime-libstdc++-libgcc.txt"
  install -m 644 /usr/share/doc/nlohmann-json3-dev/copyright "$dir/nlohmann-json.txt"
}

build_libxml2
build_googletest
gather_licenses

started=$SECONDS
# Configured every time: cheap once the cache exists, and a changed option always takes.
cmake -S "$root" -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DRULECAST_GUI=ON -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_FIND_PACKAGE_PREFER_CONFIG=ON \
  -DRULECAST_LICENSE_DIR="$third/licenses" >/dev/null
if ! cmake --build "$out" -j"$jobs" >"$out/build.log" 2>&1; then
  cat "$out/build.log" >&2
  exit 1
fi
(cd "$out" && cpack -G ZIP >/dev/null)
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")"
"$root/scripts/make-msi.sh" "$out" "$version"
echo "built $out/rulecast.exe, rulecast-$version-win64.zip and .msi in $((SECONDS - started)) s"
