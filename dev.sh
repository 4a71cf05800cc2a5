#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine (as root, or with sudo):
#   ./dev.sh demo [RUN OPTIONS]  install what px-sim needs, build px-sim, run the installer on the
#                                built-in simulated PC (about 13 s; waits for Enter at the end)
#   ./dev.sh test                install everything, build everything, pass every test (CI)
#   ./dev.sh deps                install every package the builds and tests need
#   ./dev.sh build               install what a Linux build needs, build the Linux tree
#   ./dev.sh linux-tests         the Linux tests (build/linux)
#   ./dev.sh sanitizer-tests     the Linux tests under ASan and UBSan (build/sanitize)
#   ./dev.sh windows-tests       the Windows builds and their tests under Wine (build/win32, build/win64)
#   ./dev.sh fuzz [SECONDS] [TARGET...]  the libFuzzer targets (build/fuzz)
# PX_WINE_ROUTE=i686|x86_64 chooses the Windows tests' route instead of probing (docs/contributing.md, "Tests").
set -Eeuo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

# Every failure names its step and its cause in one line before the script ends.
step="start"
die() { echo "dev.sh: $step failed: $*" >&2; exit 1; }
trap 'status=$?; echo "dev.sh: $step failed: \"$BASH_COMMAND\" ended with exit code $status" >&2; exit $status' ERR

as_root() {
  if [ "$(id -u)" = 0 ]; then
    "$@"
  elif command -v sudo >/dev/null; then
    sudo "$@"
  else
    die "installing needs root or sudo, and this user has neither: $*"
  fi
}

# Runs a command with its output in LOG; on failure shows the end of LOG and names it.
logged() {
  local log=$1 status=0
  shift
  mkdir -p "$(dirname "$log")"
  "$@" >"$log" 2>&1 || status=$?
  [ "$status" = 0 ] && return 0
  tail -n 20 "$log" >&2
  die "\"$*\" ended with exit code $status (whole output: $log)"
}

# Debian packages, each for one job (see docs/contributing.md, "Dependencies").
linux_packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  libtomlplusplus-dev libicu-dev libcairo2-dev libpango1.0-dev fonts-wqy-microhei clang-format clang)
windows_packages=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-x86-64 mingw-w64-tools wine wine32:i386 wine64 xvfb xauth imagemagick unzip
  googletest locales osslsigncode openssl)

missing() {
  local p
  for p in "$@"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || echo "$p"; done
}

deps() {  # [all]: the Windows packages too
  step="installing packages"
  local want=("${linux_packages[@]}") need
  [ "${1:-}" = all ] && want+=("${windows_packages[@]}")
  need=$(missing "${want[@]}")
  [ -z "$need" ] && return 0
  if printf '%s\n' $need | grep -q ':i386$'; then
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  fi
  # A mirror caught mid-sync fails one index ("File has unexpected size") and apt keeps the
  # others: go on, and let the install say whether what it needs was there.
  mkdir -p build/logs
  if ! as_root apt-get update >build/logs/apt-update.log 2>&1; then
    grep '^E:' build/logs/apt-update.log >&2 || true
    echo "dev.sh: apt-get update failed (whole output: build/logs/apt-update.log); installing with the indexes it has" >&2
  fi
  # shellcheck disable=SC2086
  logged build/logs/apt-install.log as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends $need
}

# Wine takes its UI language and its file-name encoding from the Unix locale: the Windows tests
# run under zh_CN.UTF-8, which a fresh Debian does not have.
chinese_locale() {
  step="making the zh_CN.UTF-8 locale"
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
  as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  logged build/logs/locale-gen.log as_root locale-gen
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' || die "locale-gen made no zh_CN.UTF-8 locale"
}

configure() {  # dir, cmake args...
  local dir=$1
  shift
  logged "$dir/configure.log" cmake -S . -B "$dir" "$@"
}

build_linux() {  # dir [cmake args...]
  configure "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${@:2}"
  cmake --build "$1" -j"$jobs"
}

linux_tests() {
  step="Linux build"
  build_linux build/linux
  step="Linux tests"
  ctest --test-dir build/linux --output-on-failure -j"$jobs"
}

format_check() {
  step="format check"
  local files
  mapfile -t files < <(git ls-files '*.cpp' '*.h' 2>/dev/null || find src tests -name '*.cpp' -o -name '*.h')
  local report
  report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1) && return 0
  grep -m 10 -E 'error:|warning:' <<<"$report" >&2 || true
  die "some files differ from .clang-format (above; clang-format -i FILE mends one)"
}

sanitizer_tests() {
  step="sanitizer build"
  build_linux build/sanitize -DCMAKE_BUILD_TYPE=Debug -DPX_SANITIZE=ON -DPX_BENCHMARKS=OFF
  step="sanitizer tests"
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j"$jobs"
}

# Which build the Windows tests run on. The product is a 32-bit program, but some machines run
# no 32-bit program at all (a kernel without IA-32 emulation: "Exec format error", Wine's 32-bit
# loader included). There the same sources, built for x86_64, run under Wine's 64-bit loader.
wine_route() {
  step="choosing the Windows tests' route"
  local answer
  case "${PX_WINE_ROUTE:-auto}" in
    i686 | x86_64) route=$PX_WINE_ROUTE reason="PX_WINE_ROUTE=$PX_WINE_ROUTE" ;;
    auto)
      if answer=$(/usr/lib/wine/wine --version 2>&1); then
        route=i686 reason="this machine runs 32-bit programs: Wine's 32-bit loader answered \"$answer\""
      else
        route=x86_64 reason="this machine runs no 32-bit program: Wine's 32-bit loader answered \"${answer##*: }\""
      fi
      ;;
    *) die "PX_WINE_ROUTE is \"$PX_WINE_ROUTE\"; it takes i686, x86_64 or auto" ;;
  esac
  echo "dev.sh: the Windows tests take the $route route ($reason)"
}

cross_build() {  # dir, toolchain, [targets...]
  local dir=$1 toolchain=$2 targets=()
  shift 2
  [ $# -gt 0 ] && targets=(--target "$@")
  # The package target builds only the programs it zips (built here first), not the tests.
  configure "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON
  cmake --build "$dir" -j"$jobs" "${targets[@]}"
}

package() {  # dir: the release zip, signed with the throwaway certificate
  PX_SIGN_PFX="$signing/signer.pfx" PX_SIGN_PASSWORD=throwaway PX_SIGN_TIMESTAMP_URL= \
    logged "$1/package.log" cmake --build "$1" --target package
  grep -h 'signed\|NOT SIGNED' "$1/package.log" || true
}

windows_tests() {
  chinese_locale
  wine_route
  # The package step signs with a throwaway CA's code-signing certificate, made in a temporary
  # folder; the checks verify the zipped programs against that CA. No time stamp: CI has no
  # network.
  step="making a throwaway signing certificate"
  signing=$(mktemp -d)
  trap 'rm -rf "$signing"' EXIT
  logged build/logs/certificate.log scripts/sign.sh test-certificate "$signing" throwaway

  # The product, on both routes: built, signed, packaged and checked without running it.
  step="i686 build (the product)"
  if [ "$route" = i686 ]; then cross_build build/win32 mingw-i686; else
    cross_build build/win32 mingw-i686 px-installer px-capture; fi
  step="i686 release package"
  package build/win32
  scripts/check-release.sh build/win32/px-installer-*-win32.zip "$signing/ca.pem"

  # The same sources for x86_64, warnings fatal, on both routes: a cast that holds only for
  # 32-bit pointers fails the build wherever it runs.
  step="x86_64 build"
  cross_build build/win64 mingw-x86_64
  if [ "$route" = x86_64 ]; then
    step="x86_64 test package"
    package build/win64
  fi

  # The capture round trip compares with the Linux px-sim.
  if [ ! -x build/linux/px-sim ]; then
    step="px-sim for the capture round trip"
    configure build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build/linux -j"$jobs" --target px-sim
  fi
  step="Windows tests under Wine ($route route)"
  local dir=build/win32
  [ "$route" = x86_64 ] && dir=build/win64
  PX_SIM="$PWD/build/linux/px-sim" PX_SIGN_CA="$signing/ca.pem" scripts/wine-ctest.sh "$dir"
}

case "${1:-}" in
  deps) deps all ;;
  demo)
    deps
    # px-sim and what it links, nothing else: no tests, no benchmarks.
    step="px-sim build"
    configure build/linux -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build/linux -j"$jobs" --target px-sim
    step="the demo run"
    build/linux/px-sim run "${@:2}"
    ;;
  build) deps; build_linux build/linux ;;
  linux-tests) deps; linux_tests ;;
  sanitizer-tests) deps; sanitizer_tests ;;
  windows-tests) deps all; windows_tests ;;
  fuzz) deps; step="fuzzing"; scripts/fuzz.sh "${@:2}" ;;
  test)
    deps all
    format_check
    linux_tests
    sanitizer_tests
    step="fuzzing"
    scripts/fuzz.sh 7  # about a minute for the nine targets
    windows_tests
    echo "dev.sh: every test passed"
    ;;
  *) sed -n '2,12p' "$0"; exit 2 ;;
esac
