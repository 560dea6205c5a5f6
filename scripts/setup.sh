#!/bin/bash
# Installs what the build, the tests and the demo need on a fresh Debian 12
# machine (as root). Does nothing when everything is already there.
set -euo pipefail

PACKAGES=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xauth x11-utils
          imagemagick fonts-wqy-microhei fonts-wine locales cmake googletest curl
          tinyproxy openssl clang libclang-rt-14-dev python3 g++ make bc
          libz-mingw-w64-dev zlib1g-dev python3-cryptography nginx-light)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# The 32-bit program runs under Wine's 32-bit loader, which comes from the
# i386 architecture.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture"
    dpkg --add-architecture i386
fi
dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed" || missing+=(wine32:i386)
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine needs the zh_CN locale for code page 936 (GBK arguments and file names).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
    sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
