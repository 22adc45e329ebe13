#!/usr/bin/env bash
# The Debian package as a technician gets it: built by the package target, unpacked into a
# scratch folder, its programs run, its desktop entry and manual pages checked, and its files
# compared with the list of what it must hold, so that no build leftover slips in.
#   check-package.sh BUILD_DIR VERSION FILE_LIST DATA_FROM_PROGRAM
set -uo pipefail

build=$(cd "$1" && pwd)
version=$2
list=$3
dataFromProgram=$4
manualName='ARX 软件功能介绍1104.pdf'
export LC_ALL=C.UTF-8

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

if ! cmake --build "$build" --target package >"$scratch/package.log" 2>&1; then
    cat "$scratch/package.log" >&2
    echo "FAIL: the package target failed" >&2
    exit 1
fi
deb="$build/arx_${version}_$(dpkg --print-architecture).deb"
[[ -f "$deb" ]] || { echo "FAIL: no $deb" >&2; exit 1; }
root="$scratch/root"
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb cannot unpack $deb" >&2; exit 1; }

# The control fields.
[[ $(dpkg-deb -f "$deb" Package) == arx ]] || fail "Package is not arx"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "Version is not $version"
depends=$(dpkg-deb -f "$deb" Depends)
# The package names alone, one a line.
dependNames=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for needed in libqt6widgets6 libqt6gui6 libc6 libstdc++6 qt6-qpa-plugins fonts-noto-cjk; do
    grep -qxF "$needed" <<<"$dependNames" || fail "Depends lacks $needed: $depends"
done

# Exactly the listed files: nothing missing, and no tests, benchmarks or objects besides.
(cd "$root" && find . ! -type d | sort) >"$scratch/held"
# The list names the architecture's library folder as @MULTIARCH@.
sed "s/@MULTIARCH@/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/" "$list" | sort >"$scratch/listed"
if ! diff -u "$scratch/listed" "$scratch/held" >"$scratch/difference"; then
    fail "the package's files differ from $list (- missing, + not listed):"
    grep '^[-+]\./' "$scratch/difference" >&2
fi
for program in arx arx-sim; do
    binary="$root/usr/bin/$program"
    [[ -x "$binary" ]] || continue
    readelf -d "$binary" | grep -Eq 'RPATH|RUNPATH' && fail "$program keeps a library path"
    readelf -S "$binary" | grep -q '\.debug_' && fail "$program is not stripped"
done
while IFS= read -r leftover; do
    fail "${leftover#"$root"} names the build folder $build"
done < <(grep -rlF "$build" "$root")

# The programs run from the unpacked tree, without a display.
noDisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
output=$("${noDisplay[@]}" "$root/usr/bin/arx" --version 2>&1)
[[ "$output" == "ARX $version" ]] || fail "arx --version printed \"$output\""
output=$("$root/usr/bin/arx-sim" --version 2>&1)
[[ "$output" == "arx-sim $version" ]] || fail "arx-sim --version printed \"$output\""
simHelp=$("$root/usr/bin/arx-sim" --help 2>&1) || fail "arx-sim --help failed"
[[ "$simHelp" == "Usage: arx-sim "* ]] || fail "arx-sim --help printed \"$simHelp\""
arxHelp=$("${noDisplay[@]}" "$root/usr/bin/arx" --help 2>&1) || fail "arx --help failed"

# The dissector lies where Wireshark loads its global Lua plugins.
luaPlugins=$(tshark -G folders 2>/dev/null | sed -n 's/^Global Lua Plugins:[[:space:]]*//p')
[[ -n "$luaPlugins" && -f "$root$luaPlugins/arx.lua" ]] \
    || fail "arx.lua is not in Wireshark's Lua plugin folder (${luaPlugins:-unknown})"

# HELP's manual is where the installed program looks for it, and the documentation points
# at that copy.
manual="$root/usr/bin/$dataFromProgram/$manualName"
[[ $(head -c 5 "$manual" 2>/dev/null) == %PDF- ]] || fail "no PDF at usr/bin/$dataFromProgram"
[[ "$(readlink -f "$root/usr/share/doc/arx/$manualName")" == "$(readlink -f "$manual")" ]] \
    || fail "usr/share/doc/arx/$manualName does not lead to the manual"

# The desktop entry: valid, starting a program of the package, with an icon of the package.
entry="$root/usr/share/applications/arx.desktop"
output=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $output"
[[ -z "$output" ]] || fail "desktop-file-validate: $output"
exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
[[ -n "$exec" && -x "$root/usr/bin/$exec" ]] || fail "Exec=$exec is not a program of the package"
icon=$(sed -n 's/^Icon=//p' "$entry")
for size in 16 22 24 32 48 64 128 256; do
    png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
    # Width and height: the first two words of the IHDR chunk, big-endian.
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png" 2>/dev/null)
    [[ "${width:-}" == "$size" && "${height:-}" == "$size" ]] \
        || fail "the ${size}x$size icon $icon.png is ${width:-missing} x ${height:-}"
done

# The manual pages: rendered without a warning, and naming every option the programs know.
checkPage() {
    local program=$1 help=$2
    local page="$root/usr/share/man/man1/$program.1.gz"
    local warnings
    warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [[ -z "$warnings" ]] || fail "$program.1 renders with warnings: $warnings"
    local text
    text=$(MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null)
    [[ "$text" == *"ARX $version"* ]] || fail "$program.1 does not carry the version $version"
    # The options of the program's help and the tags of the page's OPTIONS section.
    grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u >"$scratch/$program.help"
    zcat "$page" | sed -n '/^\.TP/{n;p}' | grep -oE '\\fB\\-\\-[a-z]([a-z]|\\-)*' \
        | sed 's/\\fB//; s/\\-/-/g' | sort -u >"$scratch/$program.page"
    local option
    for option in $(comm -23 "$scratch/$program.help" "$scratch/$program.page"); do
        fail "$program.1 does not describe $option"
    done
    for option in $(comm -13 "$scratch/$program.help" "$scratch/$program.page"); do
        fail "$program.1 describes $option, which $program lacks"
    done
}
checkPage arx "$arxHelp"
checkPage arx-sim "$simHelp"

if ((failures > 0)); then
    echo "$failures check(s) of $deb failed" >&2
    exit 1
fi
echo "$deb: every check passed"
