#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing,
# and generates the Chinese locale the tests run Wine under.
# Safe to run again: it does nothing once everything is there.
set -euo pipefail

packages=(
  cmake ninja-build
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  wine wine64 xvfb xauth
  googletest
  fonts-wqy-microhei fonts-wine
  imagemagick xdotool
  fp-utils
  locales
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi

if ((${#missing[@]} > 0)); then
  echo "setup: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
  echo "setup: done"
fi

# Wine takes the code page of file names from the locale: without a real
# zh_CN.UTF-8 it cannot create a file whose name holds Chinese characters
# (the scheduled task's file is one).
if ! locale -a 2>/dev/null | grep -qiE '^zh_CN\.utf-?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  "${sudo[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
