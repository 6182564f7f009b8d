#!/usr/bin/env bash
# scripts/install as a user without root and without sudo, on a machine that lacks one
# package: it names exactly that package, calls no apt, and fails. Its tools are shims in
# a PATH of their own: dpkg-query reports every package installed but one, id reports an
# ordinary user, and sudo is not there at all.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

bin="$work/bin"
mkdir -p "$bin"
for tool in bash env grep; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
cat >"$bin/dpkg-query" <<'SHIM'
#!/usr/bin/env bash
for a in "$@"; do [ "$a" = cmake ] && exit 1; done
printf 'install ok installed'
SHIM
printf '#!/usr/bin/env bash\necho 1000\n' >"$bin/id"
printf '#!/usr/bin/env bash\necho called >"%s/apt-called"\n' "$work" >"$bin/apt-get"
chmod +x "$bin/dpkg-query" "$bin/id" "$bin/apt-get"

status=0
PATH="$bin" "$root/scripts/install" >"$work/out" 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "install succeeded without a way to install: $(cat "$work/out")"
[ ! -e "$work/apt-called" ] || fail "install called apt without root"
grep -q 'missing: cmake$' "$work/out" || fail "the missing package is not named: $(cat "$work/out")"
grep -q 'as root, run: apt-get install --no-install-recommends cmake$' "$work/out" \
  || fail "the command to run is not given: $(cat "$work/out")"
echo "PASS"
