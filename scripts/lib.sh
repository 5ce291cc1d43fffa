# Shared by the scripts: paths, and running Windows programs under Xvfb + Wine
# without leaving a wineserver or an X server behind.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export QOR_CACHE=${QOR_CACHE:-/var/cache/qorbrindavel}
# QOR_WINEPREFIX64 lets several work trees test side by side, each with a
# prefix (and so a wineserver) of its own.
export WINEPREFIX64="${QOR_WINEPREFIX64:-$QOR_CACHE/wine64}"

build_config() { # preset
  cmake --preset "$1" >/dev/null && cmake --build --preset "$1"
}

# Runs "$@" with a virtual display and a persistent 64-bit wineserver, then
# stops both. Returns the command's status.
with_wine64_display() {
  WINEPREFIX="$WINEPREFIX64" xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" bash -c '
    WINEPREFIX="$WINEPREFIX64" /usr/lib/wine/wineserver -p
    "$@"; rc=$?
    WINEPREFIX="$WINEPREFIX64" /usr/lib/wine/wineserver -k 2>/dev/null
    WINEPREFIX="$WINEPREFIX64" /usr/lib/wine/wineserver -w 2>/dev/null
    exit $rc' bash "$@"
}
