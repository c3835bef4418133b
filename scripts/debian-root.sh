# Sourced by the scripts that try the project on a clean Debian 12
# (test-deb.sh, test-fresh.sh); run as root. It gives:
#   debian_root_make      a fresh copy of the minimal Debian base in $root,
#                         with this machine's apt sources and /proc, /sys,
#                         /dev/pts and /dev/shm mounted
#   debian_root_cleanup   unmounts and removes it (trap it on EXIT)
#   in_root CMD...        runs CMD in it as root, with a clean environment
# The base (debootstrap --variant=minbase: no make, no sudo, no compiler) is
# made once and kept in $FSB_DEB_BASE (default /var/tmp/fsb-bookworm-base);
# every run works in a copy, so one run cannot spoil the next.

fsb_base=${FSB_DEB_BASE:-/var/tmp/fsb-bookworm-base}

debian_root_need_tools() {
  local missing=()
  command -v debootstrap >/dev/null || missing+=(debootstrap)
  command -v flock >/dev/null || missing+=(util-linux)
  if [ ${#missing[@]} -ne 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

debian_base_make() {
  # The same mirror as this machine's apt, so packages come from where the
  # build's own libraries came from.
  local mirror
  mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Codename: bookworm' 2>/dev/null | head -n 1 || true)
  [ -n "$mirror" ] || mirror=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -n 1)
  [ -n "$mirror" ] || { echo "no Debian mirror found in this machine's apt sources" >&2; return 1; }
  # Two scripts run at once wait for one debootstrap instead of racing.
  (
    flock 9
    if [ ! -f "$fsb_base/.complete" ]; then
      rm -rf "$fsb_base"
      echo "making a minimal Debian 12 in $fsb_base from $mirror"
      debootstrap --variant=minbase bookworm "$fsb_base" "$mirror" >/tmp/fsb-debootstrap.log 2>&1 ||
        { tail -n 30 /tmp/fsb-debootstrap.log; exit 1; }
      touch "$fsb_base/.complete"
    fi
  ) 9>"$fsb_base.lock"
}

debian_root_cleanup() {
  [ -n "${root:-}" ] || return 0
  local m
  for m in dev/shm dev/pts sys proc; do umount "$root/$m" 2>/dev/null || true; done
  rm -rf --one-file-system "$root"
}

debian_root_make() {
  debian_root_need_tools
  debian_base_make
  root=$(mktemp -d /var/tmp/fsb-debian-root.XXXXXX)
  cp -a "$fsb_base/." "$root/"
  # This machine's sources (updates and security included) and its apt
  # settings that matter for reaching them.
  rm -f "$root/etc/apt/sources.list"
  cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
  [ ! -f /etc/apt/sources.list ] || cp /etc/apt/sources.list "$root/etc/apt/"
  apt-config dump | grep -E '^Acquire::(Check-Valid-Until|Check-Date|https?::Proxy) ' \
    >"$root/etc/apt/apt.conf.d/90fsb-host" || true
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  mount -t proc proc "$root/proc"
  mount -t sysfs sys "$root/sys"
  mkdir -p "$root/dev/pts" "$root/dev/shm"
  mount -t devpts devpts "$root/dev/pts"
  mount -t tmpfs shm "$root/dev/shm"
}

# As a root login on such a machine: no locale is set up there either.
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb "$@"; }
