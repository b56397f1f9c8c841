#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need. Idempotent:
# packages already present are left alone, so a warm machine does no network work.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev
  libicu-dev libpugixml-dev libcli11-dev nlohmann-json3-dev
  libpoppler-private-dev libpoppler-dev poppler-utils
  libcairo2-dev libpango1.0-dev fonts-dejavu-core fonts-ipafont-gothic
  libqpdf-dev qpdf
  python3 python3-fitz python3-gi gir1.2-poppler-0.18
  nodejs chromium
  time
  clang libclang-rt-dev llvm
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# npm comes with some builds of nodejs and as a package of its own with Debian's.
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
