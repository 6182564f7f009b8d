#!/usr/bin/env bash
# The deb-src list that scripts/fetch-expat gives its private apt configuration, made from
# sources of the kind that broke apt: a one-line sources.list and a deb822 file naming the
# same archive, one with a keyring and one without. apt must read the made list (reading
# needs no network), with one deb-src entry per archive and suite, and none for a source
# that is switched off. As a control, the two entries written side by side must make apt
# refuse the list, or the case proves nothing.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/machine/sources.list.d" "$work/private/sources.list.d" "$work/state/lists/partial" \
  "$work/cache/archives/partial"
: >"$work/state/status"

cat >"$work/machine/sources.list" <<'LIST'
# the archive once more, without a keyring
deb http://archive.invalid/debian bookworm main
deb [ arch=amd64 signed-by=/usr/share/keyrings/other.gpg ] http://other.invalid/repo stable main
LIST
cat >"$work/machine/sources.list.d/debian.sources" <<'SOURCES'
Types: deb
URIs: http://archive.invalid/debian/
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
Enabled: no
URIs: http://off.invalid/debian
Suites: bookworm
Components: main
SOURCES

# Reads the sources of the private folder through apt; prints each deb-src index target.
apt_targets() {
  cat >"$work/apt.conf" <<CONF
Dir::Etc::sourcelist "$work/private/none.list";
Dir::Etc::sourceparts "$work/private/sources.list.d";
Dir::State "$work/state";
Dir::State::status "$work/state/status";
Dir::Cache "$work/cache";
Debug::NoLocking "true";
CONF
  APT_CONFIG="$work/apt.conf" apt-get indextargets --no-release-info --format '$(CREATED_BY) $(SITE) $(RELEASE)' 2>&1
}

fail() { echo "FAIL: $*" >&2; exit 1; }

# Control: a keyed deb-src entry followed by an unkeyed one for the same archive is refused.
sed 's/^Types: deb$/Types: deb-src/' "$work/machine/sources.list.d/debian.sources" \
  >"$work/private/sources.list.d/a.sources"
printf 'deb-src http://archive.invalid/debian bookworm main\n' >"$work/private/sources.list.d/b.list"
if control=$(apt_targets); then fail "apt read conflicting entries: $control"; fi
grep -q 'Conflicting values set for option Signed-By' <<<"$control" || fail "unexpected refusal: $control"
rm -f "$work/private/sources.list.d/"*

awk -f "$root/scripts/apt-src-list.awk" "$work/machine/sources.list.d/debian.sources" \
  "$work/machine/sources.list" >"$work/private/sources.list.d/deb-src.sources"
targets=$(apt_targets) || fail "apt refused the made list: $targets"
sources=$(grep '^Sources ' <<<"$targets" | sort -u)
expected=$(printf '%s\n' \
  'Sources http://archive.invalid/debian bookworm' \
  'Sources http://archive.invalid/debian bookworm-updates' \
  'Sources http://other.invalid/repo stable' | sort)
[ "$sources" = "$expected" ] || fail "deb-src targets: $sources"
[ "$(grep -c '^Types: deb-src' "$work/private/sources.list.d/deb-src.sources")" -eq 3 ] \
  || fail "not one entry per archive and suite"
grep -q 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' "$work/private/sources.list.d/deb-src.sources" \
  || fail "the archive lost its keyring"
echo "PASS"
