#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./dev.sh demo   install what is missing, build, run the installer on the built-in simulated PC
#   ./dev.sh test   install what is missing, build everything, pass every test
# Also: ./dev.sh deps | build | linux-tests | sanitizer-tests | windows-tests | fuzz [SECONDS]
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Debian packages, each for one job (see README, "Dependencies").
linux_packages=(build-essential cmake pkg-config libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  libtomlplusplus-dev libcairo2-dev libpango1.0-dev fonts-wqy-microhei clang-format clang)
windows_packages=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 mingw-w64-tools wine wine32:i386
  wine64 xvfb xauth imagemagick unzip googletest locales osslsigncode openssl)

missing() {
  local p
  for p in "$@"; do dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || echo "$p"; done
}

deps() {
  local want=("${linux_packages[@]}")
  [ "${1:-}" = all ] && want+=("${windows_packages[@]}")
  local need
  need=$(missing "${want[@]}")
  [ -z "$need" ] && return 0
  if printf '%s\n' $need | grep -q ':i386$'; then
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  fi
  as_root apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends $need
}

# Wine takes its UI language and its file-name encoding from the Unix locale: the Windows tests
# run under zh_CN.UTF-8, which a fresh Debian does not have.
chinese_locale() {
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' && return 0
  as_root sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
  as_root locale-gen >/dev/null
}

build_linux() {  # dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

linux_tests() {
  # ON said again: a demo build leaves OFF in the same cache.
  build_linux build/linux -DPX_BENCHMARKS=ON
  ctest --test-dir build/linux --output-on-failure -j"$jobs"
}

sanitizer_tests() {
  build_linux build/sanitize -DCMAKE_BUILD_TYPE=Debug -DPX_SANITIZE=ON -DPX_BENCHMARKS=OFF
  ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=print_suppressions=0 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j"$jobs"
}

windows_tests() {
  chinese_locale
  cmake -S . -B build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build build/win32 -j"$jobs"
  # The package step signs with a throwaway CA's code-signing certificate, made in a temporary
  # folder; the package test verifies the zipped program against that CA and runs it. No
  # time stamp: CI has no network.
  signing=$(mktemp -d)
  trap 'rm -rf "$signing"' EXIT
  scripts/sign.sh test-certificate "$signing" throwaway
  PX_SIGN_PFX="$signing/signer.pfx" PX_SIGN_PASSWORD=throwaway PX_SIGN_TIMESTAMP_URL= \
    cmake --build build/win32 --target package  # px-installer-<version>-win32.zip
  # Wine needs its own prefix and a display; the script sets both up and runs CTest.
  # The capture round trip compares with the Linux px-sim, built by linux_tests.
  PX_SIM="$PWD/build/linux/px-sim" PX_SIGN_CA="$signing/ca.pem" scripts/wine-ctest.sh build/win32
}

case "${1:-}" in
  deps) deps all ;;
  demo)
    deps
    build_linux build/linux -DPX_BENCHMARKS=OFF
    build/linux/px-sim run "${@:2}"
    ;;
  build) deps all; build_linux build/linux ;;
  linux-tests) deps; linux_tests ;;
  sanitizer-tests) deps; sanitizer_tests ;;
  windows-tests) deps all; windows_tests ;;
  fuzz) deps; scripts/fuzz.sh "${@:2}" ;;
  test)
    deps all
    linux_tests
    sanitizer_tests
    scripts/fuzz.sh 8  # about a minute for the seven targets
    windows_tests
    ;;
  *) sed -n '2,6p' "$0"; exit 2 ;;
esac
