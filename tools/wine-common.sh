# Shared by the Wine scripts: the loaders, quiet output, and whether this
# machine can run 32-bit Windows programs at all.
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko installer dialogs in a test prefix.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

wine32_loader=/usr/lib/wine/wine
wine64_loader=/usr/lib/wine/wine64
wineserver_bin=/usr/lib/wine/wineserver

# 32-bit Wine needs a kernel that runs 32-bit Linux programs; some virtual
# machines are built without that.
wine32_usable() {
    "$wine32_loader" --version >/dev/null 2>&1
}

# The loader for a prefix of 32 or 64 bits.
wine_loader() {
    if [ "$1" = 32 ]; then echo "$wine32_loader"; else echo "$wine64_loader"; fi
}
