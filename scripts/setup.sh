#!/usr/bin/env bash
# Installs every Debian package that building, testing, benchmarking, fuzzing
# and running the program needs, and the locales the tests use.
# Works as root (CI) and through sudo otherwise; installs only what is missing.
set -euo pipefail

PACKAGES=(
  cmake g++ ninja-build ccache pkg-config locales make
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  libcairo2-dev libpango1.0-dev libpixman-1-dev libfontconfig-dev libsdl2-dev
  libjpeg62-turbo-dev libcups2-dev cups cups-client
  xvfb xauth xdotool imagemagick
  fonts-dejavu-core fonts-liberation fonts-wqy-microhei
)

if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${SUDO[@]}" apt-get update -q
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Locales the tests pin: English, a comma-decimal one, and the ones whose
# date and time pictures carry text of their own.
need_locale() { locale -a 2>/dev/null | grep -qi "^$1$"; }
for loc in de_DE en_US zh_CN ja_JP ru_RU; do
  if ! need_locale "$loc.utf8"; then
    "${SUDO[@]}" localedef -i "$loc" -f UTF-8 "$loc.UTF-8"
  fi
done
