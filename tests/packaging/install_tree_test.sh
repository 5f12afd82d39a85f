#!/bin/sh
# Installs the build into a scratch directory as the package would (prefix /usr) and checks the
# tree: every file in place and nothing outside the prefix, the libraries found by what is
# installed and never in the build tree, the desktop entry valid, the unit verified, and the
# installed program started once: it keeps its files in the user's data directory.
# Usage: install_tree_test.sh BUILD_DIR EXPECTED_FILES
set -u
build=$1
expected=$2
scratch=$(mktemp -d /tmp/voltsentry-install.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
dest=$scratch/dest
prefix=$dest/usr
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

unset LD_LIBRARY_PATH
if ! DESTDIR=$dest cmake --install "$build" --prefix /usr >"$scratch/install.log" 2>&1; then
    cat "$scratch/install.log" >&2
    fail "cmake --install failed"
    exit 1
fi

# Every file in place, and nothing written outside the prefix.
while IFS= read -r file; do
    [ -n "$file" ] || continue
    [ -e "$prefix/$file" ] || fail "missing: /usr/$file"
done <"$expected"
outside=$(find "$dest" -mindepth 1 -maxdepth 1 ! -name usr)
[ -z "$outside" ] || fail "written outside the prefix: $outside"

# The libraries, found by the installed programs and by each other, never in the build tree.
for elf in "$prefix"/bin/* "$prefix"/lib/voltsentry/*.so.*; do
    [ -L "$elf" ] && continue
    found=$(ldd "$elf" 2>&1)
    case $found in *"not found"*) fail "ldd $elf: $(echo "$found" | grep 'not found')" ;; esac
    case $found in *"$build"*) fail "$elf uses a library of the build tree" ;; esac
    if readelf -d "$elf" | grep -q "$build"; then fail "$elf keeps the build tree in its run path"; fi
done
for library in "$prefix"/lib/voltsentry/lib*.so.*.*; do
    name=$(basename "$library")
    soname=$(readelf -d "$library" | sed -n 's/.*Library soname: \[\(.*\)\]/\1/p')
    [ "$soname" = "${name%.*}" ] || fail "$name has SONAME '$soname'"
done
ldd "$prefix/bin/voltsentry" | grep -q "libwynbase.so.1 => $prefix/bin/../lib/voltsentry/" ||
    fail "voltsentry does not find its libwynbase.so.1 where it is installed"

# The desktop entry, the unit and the man pages as their tools see them.
desktop-file-validate "$prefix/share/applications/voltsentry.desktop" ||
    fail "desktop-file-validate refuses voltsentry.desktop"
unit=$prefix/lib/systemd/system/voltsentry.service
grep -q '^ExecStart=/usr/bin/voltsentry --data-dir /var/lib/voltsentry$' "$unit" ||
    fail "the unit does not start /usr/bin/voltsentry"
# The unit names /usr/bin/voltsentry, which only the scratch tree holds: a copy that names the
# scratch program is verified, its manual found in the scratch tree.
mkdir -p "$scratch/unit"
sed "s|^ExecStart=/usr/bin/|ExecStart=$prefix/bin/|" "$unit" >"$scratch/unit/voltsentry.service"
if ! MANPATH=$prefix/share/man systemd-analyze verify "$scratch/unit/voltsentry.service" \
    >"$scratch/verify.log" 2>&1 || grep -q . "$scratch/verify.log"; then
    cat "$scratch/verify.log" >&2
    fail "systemd-analyze verify refuses voltsentry.service"
fi
for page in "$prefix"/share/man/man1/*.1.gz; do
    gzip -cd "$page" | grep -q '^\.TH' || fail "$page is no man page"
done

# The installed programs run, and the program keeps its files in the user's data directory.
"$prefix/bin/upsprobe" --help >/dev/null || fail "installed upsprobe does not run"
"$prefix/bin/upssim" --help >/dev/null 2>&1 || fail "installed upssim does not run"
home=$scratch/home
mkdir -p "$home"
printf 'press 2\nanswer 1\n' >"$scratch/script"
QT_QPA_PLATFORM=offscreen HOME=$home XDG_DATA_HOME= XDG_CONFIG_HOME= VOLTSENTRY_TEST_SCRIPT=$scratch/script \
    VOLTSENTRY_TEST_LOG=$scratch/log "$prefix/bin/voltsentry" /NOPNP >"$scratch/run.out" 2>&1 ||
    fail "the installed program failed: $(cat "$scratch/run.out")"
grep -qx 'exit 0' "$scratch/log" || fail "the installed program did not end cleanly"
[ -f "$home/.local/share/voltsentry/norva.tsh" ] ||
    fail "the installed program did not keep its files in ~/.local/share/voltsentry"
[ -z "$(find "$prefix" -name 'norva.*' ! -name 'norva.hlp' ! -name 'norva.csa' \
    ! -name 'norva.cfg.example')" ] || fail "the installed program wrote files beside itself"
# Configured for a port that does not exist (never a real one), it finds its help file.
if [ -f "$prefix/share/voltsentry/norva.hlp" ]; then
    sed "s|^UPS port:COM1|UPS port:$scratch/no-port|" "$prefix/share/voltsentry/norva.cfg.example" \
        >"$home/.local/share/voltsentry/norva.cfg"
    printf 'command 32462\ncommand 1008\n' >"$scratch/script"
    QT_QPA_PLATFORM=offscreen HOME=$home XDG_DATA_HOME= VOLTSENTRY_TEST_SCRIPT=$scratch/script \
        VOLTSENTRY_TEST_LOG=$scratch/log WYN_HELP_TRACE=$scratch/help "$prefix/bin/voltsentry" \
        /NOPNP >"$scratch/run.out" 2>&1 || fail "the installed program failed: $(cat "$scratch/run.out")"
    grep -qx "contents $prefix/share/voltsentry/norva.hlp" "$scratch/help" ||
        fail "the installed program did not find its help file: $(cat "$scratch/help" 2>&1)"
fi
HOME=$home XDG_CONFIG_HOME= "$prefix/bin/voltsentry" --autostart on >/dev/null ||
    fail "the installed program could not write its autostart entry"
desktop-file-validate "$home/.config/autostart/voltsentry.desktop" ||
    fail "desktop-file-validate refuses the autostart entry"

[ "$failures" -eq 0 ] || exit 1
echo "install tree: $(wc -l <"$expected") files in place, libraries found, entries valid"
