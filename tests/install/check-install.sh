#!/bin/sh
# Installs the build into a scratch DESTDIR, as `cmake --install` or the Debian package would put
# it under /usr, and checks what a Linux desktop and its user expect there: every file, a valid
# desktop entry and AppStream metainfo, manual pages that render without warnings and name every
# option that --help names, a bash completion that completes award names and the same options,
# --version from the project's version, and the example log run from where it was installed.
# Usage: check-install.sh BUILD_DIR VERSION
. "$(dirname "$0")/scratch.sh"

DESTDIR=$scratch cmake --install "$build" --prefix /usr >/dev/null
usr=$scratch/usr
for file in bin/corvale bin/corvale-cli \
    share/applications/org.corvale.Corvale.desktop \
    share/icons/hicolor/scalable/apps/corvale.svg \
    share/metainfo/org.corvale.Corvale.metainfo.xml \
    share/man/man1/corvale.1.gz share/man/man1/corvale-cli.1.gz \
    share/bash-completion/completions/corvale-cli \
    share/doc/corvale/examples/demo-log.mdb \
    share/doc/corvale/copyright share/doc/corvale/changelog.gz; do
    [ -f "$usr/$file" ] || fail "not installed: $file"
done

# The launcher starts the installed program with the installed icon; the metainfo names it.
desktop=$usr/share/applications/org.corvale.Corvale.desktop
desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
grep -qx 'Exec=corvale' "$desktop" || fail "the desktop entry does not start bin/corvale"
grep -qx 'Icon=corvale' "$desktop" || fail "the desktop entry's icon is not the installed one"
grep -qx 'Categories=HamRadio;Utility;' "$desktop" || fail "categories"
metainfo=$usr/share/metainfo/org.corvale.Corvale.metainfo.xml
appstreamcli validate --no-net "$metainfo" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$metainfo")"
grep -q '<launchable type="desktop-id">org.corvale.Corvale.desktop</launchable>' "$metainfo" ||
    fail "the metainfo does not name the installed desktop entry"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"

# Both programs answer --version from the project's version, the desktop one without a display.
[ "$("$usr/bin/corvale-cli" --version)" = "corvale-cli $version" ] || fail "corvale-cli --version"
[ "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$usr/bin/corvale" --version)" = \
    "corvale $version" ] || fail "corvale --version"

# The options that a program's --help names, one a line.
options_of() {
    "$@" --help | grep -o -- '--[a-z][a-z-]*' | sort -u
}

# Each page renders without a warning, has the usual sections and names every option.
for program in corvale corvale-cli; do
    page=$usr/share/man/man1/$program.1.gz
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $program: $warnings"
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES "EXIT STATUS" EXAMPLES; do
        printf '%s\n' "$text" | grep -q "^$section" || fail "man $program has no $section"
    done
    printf '%s\n' "$text" | grep -q "Corvale $version" || fail "man $program is not of $version"
    for option in $(options_of env QT_QPA_PLATFORM=offscreen "$usr/bin/$program"); do
        printf '%s\n' "$text" | grep -q -- "$option" || fail "man $program does not name $option"
    done
done

# The completion, as bash calls it: COMP_WORDS and COMP_CWORD set, COMPREPLY read back.
complete_words() {
    bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _corvale_cli
             printf "%s\n" "${COMPREPLY[@]}"' sh "$usr/share/bash-completion/completions/corvale-cli" "$@"
}
[ "$(complete_words corvale-cli dx)" = dxcc ] || fail "completion of 'dx': $(complete_words corvale-cli dx)"
[ "$(complete_words corvale-cli --squares f)" = ffma ] || fail "completion of an award after an option"
[ "$(complete_words corvale-cli --band 4)" = 432 ] || fail "completion of the band"
[ "$(complete_words corvale-cli -- | sort -u)" = "$(options_of "$usr/bin/corvale-cli")" ] ||
    fail "the completion's options differ from --help's: $(complete_words corvale-cli --)"

# The example log, run from where the package puts it.
mkdir "$scratch/out"
"$usr/bin/corvale-cli" all --squares --source-mdb "$usr/share/doc/corvale/examples/demo-log.mdb" \
    --lst-dir "$scratch/out" --squares-dir "$scratch/out" >"$scratch/run.log" 2>&1 ||
    fail "the example log's run: $(cat "$scratch/run.log")"
for file in WASpins.lst DXCCpins.lst IOTApins.lst VUCCpins.lst FFMApins.lst FFMAsquares.wkd; do
    [ -s "$scratch/out/$file" ] || fail "the example log's run wrote no $file"
done
echo "installed files checked"
