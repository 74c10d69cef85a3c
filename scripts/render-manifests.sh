#!/usr/bin/env bash
# Renders the package managers' manifests (scripts/manifests/) for the
# release zips in OUT into OUT/manifests/: the version, the zips' URLs and
# their SHA-256 values filled in.
#   OUT/manifests/scoop/velmora.json
#   OUT/manifests/winget/Velmora.Velmora{,.installer,.locale.en-US}.yaml
#   OUT/manifests/chocolatey/velmora.nuspec, tools/chocolateyInstall.ps1,
#     tools/chocolateyUninstall.ps1, tools/VERIFICATION.txt, tools/LICENSE.txt
#
# Where the zips will be published: VELMORA_RELEASE_URL, with {version}
# standing for the version (default
# https://example.invalid/velmora/releases/download/v{version}, a
# placeholder that no package manager can fetch), and the project's page
# VELMORA_HOMEPAGE (default https://example.invalid/velmora).
#
#   render-manifests.sh OUT VERSION
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 OUT VERSION" >&2; exit 2; }
out=$(cd "$1" && pwd)
version="$2"
root=$(cd "$(dirname "$0")/.." && pwd)
release_url="${VELMORA_RELEASE_URL:-https://example.invalid/velmora/releases/download/v{version\}}"
homepage="${VELMORA_HOMEPAGE:-https://example.invalid/velmora}"

hash_of() {
  local file="$out/velmora-$version-win$1.zip.sha256"
  [ -f "$file" ] || { echo "render-manifests: $file is missing" >&2; exit 1; }
  cut -d' ' -f1 "$file"
}
win32=$(hash_of 32)
win64=$(hash_of 64)
base_url="${release_url//\{version\}/$version}"
base_url_template="${release_url//\{version\}/\$version}"

# Every @NAME@ of a template replaced; one left over is a fault of the template.
render() {
  local from="$root/scripts/manifests/$1" to="$out/manifests/$1"
  mkdir -p "$(dirname "$to")"
  sed -e "s|@VERSION@|$version|g" -e "s|@BASE_URL@|$base_url|g" -e "s|@BASE_URL_TEMPLATE@|$base_url_template|g" \
      -e "s|@HOMEPAGE@|$homepage|g" -e "s|@SHA256_WIN32@|$win32|g" -e "s|@SHA256_WIN64@|$win64|g" \
      -e "s|@SHA256_WIN32_UPPER@|${win32^^}|g" -e "s|@SHA256_WIN64_UPPER@|${win64^^}|g" "$from" >"$to"
  if grep -q '@[A-Z0-9_]*@' "$to"; then
    echo "render-manifests: $1 keeps $(grep -o '@[A-Z0-9_]*@' "$to" | head -1)" >&2
    exit 1
  fi
}

rm -rf "$out/manifests"
render scoop/velmora.json
for file in Velmora.Velmora.yaml Velmora.Velmora.installer.yaml Velmora.Velmora.locale.en-US.yaml; do
  render "winget/$file"
done
for file in velmora.nuspec tools/chocolateyInstall.ps1 tools/chocolateyUninstall.ps1 tools/VERIFICATION.txt; do
  render "chocolatey/$file"
done
cp "$root/LICENSE" "$out/manifests/chocolatey/tools/LICENSE.txt"
echo "dist: manifests for Scoop, winget and Chocolatey in $out/manifests (zips at $base_url)"
