#!/usr/bin/env bash
# Installs the Debian 12 packages Verbarium needs to build, run and test.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
packages=$(grep -v -E '^\s*(#|$)' "$here/apt-packages.txt" | tr '\n' ' ')
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if [ -z "${missing// /}" ]; then
    echo "== All build and test packages are installed."
    exit 0
fi
echo "== Installing:$missing"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends $missing
