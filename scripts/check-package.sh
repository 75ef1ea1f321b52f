#!/usr/bin/env bash
# Checks the Debian package as a distribution would: lintian reports no error and no warning,
# and the desktop entry and the AppStream metadata pass their validators.
#   scripts/check-package.sh              packages a Release build (scripts/package.sh)
#   scripts/check-package.sh BUILD-DIR    packages that existing build instead
# Installs lintian, appstream and desktop-file-utils when they are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package-checks
dir=${1:-build-package}
scripts/package.sh "$@" >/dev/null
deb=$(ls "$dir"/*.deb)
echo "Checking $deb"

# The installed files as the package holds them.
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
lintian --fail-on error,warning "$deb"
echo "Package checks passed"
