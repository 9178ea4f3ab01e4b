#!/usr/bin/env bash
# Checks what a user gets from a finished build, in one of two ways:
#   check_packaging.sh install BUILD_DIR GUI VERSION PROGRAM...
#       cmake --install into a temporary prefix
#   check_packaging.sh package BUILD_DIR GUI VERSION PROGRAM...
#       cpack -G DEB into a temporary folder, then dpkg-deb -c / -f / -x
# GUI is ON or OFF (whether menu entries and icons belong in it). Either way the installed tree
# must hold exactly the expected files, and every installed program must answer --help.
# CMAKE and CPACK name the tools (default: the ones on PATH). Exit status 77: skipped.
set -uo pipefail

mode="$1" build_dir="$2" gui="$3" version="$4"
shift 4
programs=("$@")
CMAKE="${CMAKE:-cmake}"
CPACK="${CPACK:-cpack}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# The files an installation holds, relative to its prefix.
expected_files() {
    local program size
    for program in "${programs[@]}"; do
        echo "bin/$program"
        echo "share/man/man1/$program.1.gz"
    done
    if [[ "$gui" == ON ]]; then
        for program in lumarc texelo; do
            echo "share/applications/$program.desktop"
            for size in 16 32; do
                echo "share/icons/hicolor/${size}x${size}/apps/$program.png"
            done
        done
    fi
}

# compare_files WHAT ACTUAL_LIST: the listed files must be exactly the expected ones.
compare_files() {
    local difference
    difference="$(diff <(expected_files | sort) <(sort <<<"$2"))"
    if [[ -n "$difference" ]]; then
        fail "$1 does not hold exactly the expected files (< missing, > unexpected):"
        echo "$difference"
    fi
}

# check_programs PREFIX: each program starts from where it was installed and prints its usage.
check_programs() {
    local program out err status
    for program in "${programs[@]}"; do
        out="$("$1/bin/$program" --help 2>"$scratch/stderr")"
        status=$?
        err="$(cat "$scratch/stderr")"
        if ((status != 0)); then
            fail "$1/bin/$program --help exited with status $status: $err"
        elif [[ "${out,,}" != "usage: $program"* ]]; then
            fail "$1/bin/$program --help printed no usage on standard output: $out"
        elif [[ -n "$err" ]]; then
            fail "$1/bin/$program --help wrote to standard error: $err"
        fi
    done
}

# check_man_pages PREFIX: compressed pages that name their program and have every value filled in.
check_man_pages() {
    local program page text
    for program in "${programs[@]}"; do
        page="$1/share/man/man1/$program.1.gz"
        if ! text="$(gzip -dc "$page" 2>&1)"; then
            fail "$page is not a gzip file: $text"
            continue
        fi
        if ! grep -q "^\.TH ${program^^} 1 .*$version" <<<"$text"; then
            fail "$page has no title line for $program $version"
        fi
        if grep -q '@[A-Z_]*@' <<<"$text"; then
            fail "$page has an unfilled value: $(grep -o '@[A-Z_]*@' <<<"$text" | head -n 1)"
        fi
        # groff is not on every machine; where it is, it finds roff mistakes.
        if command -v groff >/dev/null 2>&1; then
            local warnings
            warnings="$(groff -man -ww -z <<<"$text" 2>&1)"
            [[ -z "$warnings" ]] || fail "$page: groff warns: $warnings"
        fi
    done
}

# png_size FILE: "WIDTHxHEIGHT" from the PNG header, or nothing when it is not a PNG.
png_size() {
    local header
    header="$(od -An -tx1 -N24 "$1" | tr -d ' \n')"
    [[ "${header:0:16}" == 89504e470d0a1a0a && "${header:24:8}" == 49484452 ]] || return
    echo "$((16#${header:32:8}))x$((16#${header:40:8}))"
}

# check_desktop_files PREFIX: menu entries that start an installed program with its own icon.
check_desktop_files() {
    [[ "$gui" == ON ]] || return
    local program entry size icon
    for program in lumarc texelo; do
        entry="$1/share/applications/$program.desktop"
        [[ -f "$entry" ]] || continue # already reported as missing
        if command -v desktop-file-validate >/dev/null 2>&1; then
            local problems
            problems="$(desktop-file-validate "$entry" 2>&1)" || fail "$entry is not valid: $problems"
        fi
        grep -Eq "^Exec=$program( |$)" "$entry" || fail "$entry does not start $program"
        grep -qx "Icon=$program" "$entry" || fail "$entry does not use the icon $program"
        for size in 16 32; do
            icon="$1/share/icons/hicolor/${size}x${size}/apps/$program.png"
            [[ -f "$icon" ]] || continue
            [[ "$(png_size "$icon")" == "${size}x${size}" ]] ||
                fail "$icon is not a ${size}x${size} PNG (header says '$(png_size "$icon")')"
        done
    done
}

# check_texelo_entry PREFIX: Texelo's menu entry run as a launcher runs it for a script in a
# folder with a blank: the installed program, with %f replaced by the path as one argument. No
# display is named, so the run ends after the script with status 0.
check_texelo_entry() {
    local entry="$1/share/applications/texelo.desktop" words word out status
    [[ "$gui" == ON && -f "$entry" ]] || return
    local script="$scratch/my levels/sort job.fit" args=()
    mkdir -p "$scratch/my levels"
    printf 'MESSAGES: ON\nSORT: OFF\n' >"$script"
    read -ra words <<<"$(sed -n 's/^Exec=//p' "$entry")"
    for word in "${words[@]:1}"; do
        [[ "$word" == %f ]] && args+=("$script") || args+=("$word")
    done
    out="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1/bin/${words[0]}" "${args[@]}" 2>/dev/null)"
    status=$?
    [[ $status -eq 0 && "$out" == "Sorting OFF" ]] ||
        fail "$entry with a script in a folder with a blank: status $status, output '$out'"
}

check_tree() { # WHAT PREFIX
    compare_files "$1" "$(cd "$2" && find . -type f -printf '%P\n')"
    check_programs "$2"
    check_man_pages "$2"
    check_desktop_files "$2"
    check_texelo_entry "$2"
}

case "$mode" in
install)
    if ! "$CMAKE" --install "$build_dir" --prefix "$scratch/prefix" >"$scratch/install.log" 2>&1; then
        cat "$scratch/install.log"
        fail "cmake --install failed"
    else
        check_tree "the installation" "$scratch/prefix"
    fi
    ;;
package)
    # cpack finds the programs among the package's files with the file utility before it asks
    # dpkg-shlibdeps for their dependencies; without it no package can be made at all.
    if ! command -v file >/dev/null 2>&1; then
        echo "SKIPPED: cpack -G DEB needs the file utility (Debian package file), which is not installed"
        exit 77
    fi
    if ! "$CPACK" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
        cat "$scratch/cpack.log"
        fail "cpack -G DEB failed"
    else
        mapfile -t packages < <(find "$scratch/out" -maxdepth 1 -name '*.deb')
        if ((${#packages[@]} != 1)); then
            fail "cpack made ${#packages[@]} packages instead of one: ${packages[*]}"
        else
            deb="${packages[0]}"
            [[ "$(basename "$deb")" == "psx-pipeline-tools_${version}_$(dpkg --print-architecture).deb" ]] ||
                fail "unexpected package file name $(basename "$deb")"
            # Files only, without the leading "./usr/": the same list an installation holds.
            listed="$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }')"
            if grep -qv '^\./usr/' <<<"$listed"; then
                fail "the package installs outside /usr: $(grep -v '^\./usr/' <<<"$listed" | head -n 3)"
            fi
            compare_files "the package" "$(sed 's|^\./usr/||' <<<"$listed")"
            [[ "$(dpkg-deb -f "$deb" Package)" == psx-pipeline-tools ]] || fail "wrong package name"
            [[ "$(dpkg-deb -f "$deb" Version)" == "$version" ]] || fail "the package version is not $version"
            [[ "$(dpkg-deb -f "$deb" Section)" == devel ]] || fail "the package section is not devel"
            depends="$(dpkg-deb -f "$deb" Depends)"
            [[ "$depends" == *libstdc++6* ]] || fail "Depends does not name libstdc++6: '$depends'"
            if [[ "$gui" == ON && "$depends" != *libqt6widgets6* ]]; then
                fail "Depends does not name the Qt 6 widgets library: '$depends'"
            fi
            if dpkg-deb -x "$deb" "$scratch/root"; then
                check_tree "the unpacked package" "$scratch/root/usr"
            else
                fail "dpkg-deb -x failed"
            fi
        fi
    fi
    ;;
*)
    echo "usage: check_packaging.sh install|package BUILD_DIR ON|OFF VERSION PROGRAM..." >&2
    exit 2
    ;;
esac

if ((failures > 0)); then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed for: ${programs[*]}"
