# Sourced by the fetch scripts: a private apt configuration in a build folder (its own
# deb-src list made from the machine's sources, its own lists and cache, the machine's
# keyrings), so that the machine's apt setup is only read, never changed, and no root is
# needed; and the download of one source package through it.

# private_apt_setup <apt folder> <source package> <caller>: writes the configuration,
# exports APT_CONFIG, updates the lists and leaves the package's records in $showsrc.
# Exits when the sources offer no such package.
private_apt_setup() {
  local apt_dir=$1 package=$2 caller=$3
  local here machine_list machine_parts
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  rm -rf "$apt_dir"
  mkdir -p "$apt_dir/sources.list.d" "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
  : >"$apt_dir/state/status"
  # The machine's sources, wherever its apt configuration keeps them.
  eval "$(env -u APT_CONFIG apt-config shell machine_list Dir::Etc::sourcelist/f machine_parts Dir::Etc::sourceparts/d)"
  local sources=() f
  for f in "${machine_parts:-}"/*.sources "${machine_list:-}" "${machine_parts:-}"/*.list; do
    [ -f "$f" ] && sources+=("$f")
  done
  [ ${#sources[@]} -gt 0 ] || { echo "$caller: this machine's apt names no sources" >&2; exit 1; }
  awk -f "$here/apt-src-list.awk" "${sources[@]}" >"$apt_dir/sources.list.d/deb-src.sources"
  {
    echo "Dir::Etc::sourcelist \"$apt_dir/sources.list\";"
    echo "Dir::Etc::sourceparts \"$apt_dir/sources.list.d\";"
    echo "Dir::State \"$apt_dir/state\";"
    echo "Dir::State::status \"$apt_dir/state/status\";"
    echo "Dir::Cache \"$apt_dir/cache\";"
    echo "Debug::NoLocking \"true\";"
    # As root apt would download as its own user, who may not reach the build folder.
    [ "$(id -u)" -ne 0 ] || echo "APT::Sandbox::User \"root\";"
  } >"$apt_dir/apt.conf"
  export APT_CONFIG="$apt_dir/apt.conf"
  # A source the machine names but this network cannot reach is reported, not fatal: what
  # counts is whether the source package is found.
  apt-get update -qq >"$apt_dir/update.log" 2>&1 || true
  showsrc=$(apt-cache showsrc "$package" 2>/dev/null || true)
  if ! grep -q "^Package: $package\$" <<<"$showsrc"; then
    cat "$apt_dir/update.log" >&2
    echo "$caller: no source package of $package in the sources of this machine" >&2
    exit 1
  fi
}

# private_apt_source <source package> <folder> <caller>: unpacks the newest version that
# downloads (a mirror may lack the newest version's files) into the folder, Debian's
# patches applied by dpkg-source; leaves the version in $fetched. Needs private_apt_setup.
private_apt_source() {
  local package=$1 folder=$2 caller=$3 v
  fetched=""
  for v in $(sed -n 's/^Version: //p' <<<"$showsrc" | sort -rV); do
    if (cd "$folder" && apt-get source -qq "$package=$v" >/dev/null 2>&1); then fetched=$v; return 0; fi
    rm -rf "${folder:?}"/*
  done
  echo "$caller: could not download $package's source package" >&2
  exit 1
}
