#!/usr/bin/env bash
# Installs the built program into a temporary prefix, as `cmake --install` does for a user, and
# checks what a desktop relies on:
#   files    every file in its FHS place; the desktop entry and the metainfo valid
#   starts   the installed program starts from there, answers --version, shows its window
#            (under the X server the test command provides) and keeps its settings in the
#            per-user data folder, never beside the installed executable
# Usage: check_install.sh files|starts BUILD_DIR APP_ID
set -euo pipefail
mode="$1" build="$2" id="$3"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" > "$work/install.log"

fail() { echo "FAIL: $*" >&2; exit 1; }

case "$mode" in
files)
    for file in bin/portiqa \
                "share/applications/$id.desktop" \
                "share/metainfo/$id.metainfo.xml" \
                "share/icons/hicolor/scalable/apps/$id.svg" \
                share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/"$id.png"; do
        [[ -f "$prefix/$file" ]] || fail "not installed: $file"
    done
    [[ -x "$prefix/bin/portiqa" ]] || fail "bin/portiqa is not executable"
    # Nothing else: the help page and sounds are compiled in, the tests are not installed.
    count="$(find "$prefix" -type f | wc -l)"
    [[ "$count" -eq 10 ]] || { find "$prefix" -type f >&2; fail "expected 10 files, found $count"; }
    for size in 16 32 48 64 128 256; do
        head -c 24 "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | od -An -tx1 \
            | tr -d ' \n' | grep -q "^89504e470d0a1a0a0000000d49484452" || fail "$size px icon is not a PNG"
        w="$(od -An -tu1 -j16 -N4 "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" \
             | awk '{print $1*16777216+$2*65536+$3*256+$4}')"
        [[ "$w" -eq "$size" ]] || fail "the ${size}x${size} icon is $w px wide"
    done
    desktop-file-validate "$prefix/share/applications/$id.desktop"
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
    ;;
starts)
    version="$("$prefix/bin/portiqa" --version)"
    [[ "$version" == "Portiqa "* ]] || fail "--version printed '$version'"
    # The desktop entry's Exec line, as a menu runs it (the %f field code left out).
    exec_line="$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop" | sed 's/ %[fFuU]//')"
    [[ "$exec_line" == portiqa ]] || fail "Exec line is '$exec_line'"
    export HOME="$work/home" XDG_DATA_HOME="$work/home/.local/share"
    mkdir -p "$HOME"
    unset QT_QPA_PLATFORM
    run=(env PATH="$prefix/bin:$PATH" "$exec_line" --quit-after-show)
    if [[ -z "${DISPLAY:-}" ]]; then
        # Started alone, not under the test command's X server: a server of its own, at a
        # random number so parallel runs on a shared machine do not pick the same one.
        run=(xvfb-run -a -n "$((200 + RANDOM % 5000))" "${run[@]}")
    fi
    "${run[@]}" || fail "the installed program did not start and end cleanly"
    [[ -d "$XDG_DATA_HOME/Portiqa/头像采集设置" ]] || fail "no settings folder in the user data folder"
    [[ ! -e "$prefix/bin/头像采集设置" ]] || fail "settings were written beside the installed program"
    ;;
*)
    fail "unknown mode $mode"
    ;;
esac
echo "ok: $mode"
