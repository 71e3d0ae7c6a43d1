#!/usr/bin/env bash
# The AppStream metadata passes appstreamcli's strict validation offline, launches the desktop entry and lists the
# release being built.
# Usage: metainfo.sh path/to/data VERSION
set -euo pipefail
DATA=${1:?usage: metainfo.sh path/to/data VERSION}
VERSION=${2:?usage: metainfo.sh path/to/data VERSION}
ID=org.example.kelvrast
metainfo="$DATA/$ID.metainfo.xml"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

appstreamcli validate --no-net --strict "$metainfo" || fail "appstreamcli validate refused the metadata"
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $ID.desktop"
grep -q "<release version=\"$VERSION\"" "$metainfo" || fail "the metadata lists no release $VERSION"
echo "PASS"
