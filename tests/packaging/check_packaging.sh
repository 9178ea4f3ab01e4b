#!/usr/bin/env bash
# What a user gets from a finished build: `cmake --install` into a temporary prefix, and the
# Debian package, listed, its fields read, and unpacked. Both trees must hold exactly the expected
# files; the programs answer --help, the man pages are filled in, menu entries start their program.
# Usage: check_packaging.sh BUILD_DIR GUI(ON|OFF) VERSION PROGRAM...   (CMAKE, CPACK: the tools)
set -uo pipefail
build_dir="$1" gui="$2" version="$3"
shift 3
programs=("$@")
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

# The files of an installation, relative to its prefix.
expected_files() {
    local program
    for program in "${programs[@]}"; do
        printf 'bin/%s\nshare/man/man1/%s.1.gz\n' "$program" "$program"
    done
    echo share/man/man5/texelo-script.5.gz
    printf 'share/bash-completion/completions/%s\n' texelo lumarc tbkinfo rlfinfo
    echo share/doc/psx-pipeline-tools/copyright
    [[ "$gui" == ON ]] || return 0
    printf 'lib/texelo/texelo-window.so\n'
    for program in lumarc texelo; do
        printf 'share/applications/%s.desktop\n' "$program"
        printf 'share/icons/hicolor/%s/apps/%s.png\n' 16x16 "$program" 32x32 "$program"
    done
}

check_tree() { # WHAT ROOT
    local what="$1" root="$2" program page entry size out
    diff <(expected_files | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) ||
        fail "$what does not hold exactly the expected files (< missing, > unexpected)"
    for program in "${programs[@]}"; do
        out="$("$root/bin/$program" --help 2>"$scratch/err")"
        [[ $? -eq 0 && "${out,,}" == "usage: $program"* && ! -s "$scratch/err" ]] ||
            fail "$what: $program --help printed '${out:0:60}' and '$(cat "$scratch/err")'"
        page="$(gzip -dc "$root/share/man/man1/$program.1.gz")" || fail "$what: $program.1.gz is no gzip file"
        grep -q "^\.TH ${program^^} 1 .*$version" <<<"$page" || fail "$what: $program.1 has no title for $version"
        ! grep -q '@[A-Z_]*@' <<<"$page" || fail "$what: $program.1 has a value not filled in"
    done
    # The licence in Debian's machine-readable form.
    grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$root/share/doc/psx-pipeline-tools/copyright" &&
        grep -qx 'License: GPL-3+' "$root/share/doc/psx-pipeline-tools/copyright" || fail "$what: the copyright file is not DEP-5 GPL-3+"
    # The script language's page, made from docs/script-language.md: titled, and with its examples.
    page="$(gzip -dc "$root/share/man/man5/texelo-script.5.gz")" || fail "$what: texelo-script.5.gz is no gzip file"
    grep -q "^\.TH TEXELO-SCRIPT 5 .*$version" <<<"$page" && grep -q '^SEPERATE: ON$' <<<"$page" ||
        fail "$what: texelo-script.5 lacks its title for $version or its examples"
    # Completion offers each argument's files: PNG pictures after --map, layouts first for lumarc.
    out="$(mkdir -p "$scratch/$what" && cd "$scratch/$what" && touch a.png b.mdf c.rlf && bash -c "source '$root/share/bash-completion/completions/lumarc'
        COMP_WORDS=(texelo --map ''); COMP_CWORD=2; _psx_texelo; echo \"\${COMPREPLY[*]}\"
        COMP_WORDS=(lumarc ''); COMP_CWORD=1; _psx_lumarc; echo \"\${COMPREPLY[*]}\"")"
    [[ "$out" == $'a.png\nb.mdf' ]] || fail "$what: bash completion offered '$out'"
    [[ "$gui" == ON ]] || return 0
    for program in lumarc texelo; do
        entry="$root/share/applications/$program.desktop"
        grep -Eq "^Exec=$program( |$)" "$entry" && grep -qx "Icon=$program" "$entry" ||
            fail "$what: $entry does not start $program with its icon"
        for size in 16 32; do
            [[ "$(file -b "$root/share/icons/hicolor/${size}x$size/apps/$program.png")" == \
                "PNG image data, $size x $size,"* ]] || fail "$what: the $program icon is no ${size}x$size PNG"
        done
    done
    # Texelo's entry as a launcher runs it for a script in a folder with a blank: %f is the path,
    # one argument. Without a display the run ends after the script, and the window module, found
    # from the installed program, says why the map is not shown.
    local script="$scratch/my levels/sort job.fit" words word args=()
    mkdir -p "$scratch/my levels" && printf 'MESSAGES: ON\nSORT: OFF\n' >"$script"
    read -ra words <<<"$(sed -n 's/^Exec=//p' "$root/share/applications/texelo.desktop")"
    for word in "${words[@]:1}"; do
        [[ "$word" == %f ]] && args+=("$script") || args+=("$word")
    done
    out="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/${words[0]}" "${args[@]}" 2>"$scratch/err")"
    [[ $? -eq 0 && "$out" == "Sorting OFF" && "$(cat "$scratch/err")" == *"texelo: the VRAM map cannot be shown: there is no display"* ]] ||
        fail "$what: texelo.desktop with '$script' printed '$out' and '$(cat "$scratch/err")'"
}

if "${CMAKE:-cmake}" --install "$build_dir" --prefix "$scratch/prefix" >"$scratch/log" 2>&1; then
    check_tree "the installation" "$scratch/prefix"
else
    cat "$scratch/log"
    fail "cmake --install failed"
fi

deb="$scratch/out/psx-pipeline-tools_${version}_$(dpkg --print-architecture).deb"
if "${CPACK:-cpack}" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" >"$scratch/log" 2>&1 &&
    [[ -f "$deb" ]]; then
    diff <(expected_files | sed 's|^|./usr/|' | sort) <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sort) ||
        fail "the package does not list exactly the expected files under /usr"
    [[ "$(dpkg-deb -f "$deb" Package Version Section)" == \
        $'Package: psx-pipeline-tools\nVersion: '"$version"$'\nSection: devel' ]] || fail "wrong package fields"
    depends="$(dpkg-deb -f "$deb" Depends)"
    [[ "$depends" == *libstdc++6* && ("$gui" != ON || "$depends" == *libqt6widgets6*) ]] ||
        fail "Depends lacks the C++ or the Qt 6 widgets library: $depends"
    dpkg-deb -x "$deb" "$scratch/root" && check_tree "the unpacked package" "$scratch/root/usr"
else
    cat "$scratch/log"
    fail "cpack -G DEB made no $(basename "$deb")"
fi
((failures == 0)) && echo "all checks passed for: ${programs[*]}"
