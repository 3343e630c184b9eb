#!/usr/bin/env bash
# Builds the Debian package from the build in build/ (BUILD_DIR names
# another) and checks it as a rider's machine would meet it:
#   - its files lie only under the package's own paths, and it has no
#     maintainer scripts (removing it cannot touch a rider's data);
#   - the menu entry, the metainfo and the package pass their validators
#     (desktop-file-validate, appstreamcli, lintian without errors);
#   - the manual pages name every command and option the programs offer;
#   - unpacked into a temporary folder, both programs report the package's
#     version and kolvio starts (offscreen), keeping its settings and DATA in
#     the user's data folder and writing nothing beside itself;
#   - installed and purged by dpkg in a root of its own, it leaves that
#     rider's folder untouched and none of its files behind.
set -euo pipefail
cd "$(dirname "$0")/.."
app_id=cz.ostrelab.kolvio

fail() {
    echo "package check FAILED: $*" >&2
    exit 1
}

deb=$(tools/package.sh | tail -n 1)
version=$(dpkg-deb --field "$deb" Version)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
root=$tmp/root
dpkg-deb --extract "$deb" "$root"
dpkg-deb --control "$deb" "$tmp/control"

# Own paths only. An empty folder would be a path of its own, so none may be.
own="^usr/(bin/kolvio(-db)?|share/kolvio/help/[a-z_]+\.html"
own+="|share/applications/$app_id\.desktop|share/metainfo/$app_id\.metainfo\.xml"
own+="|share/icons/hicolor/(scalable/apps/$app_id\.svg|[0-9]+x[0-9]+/apps/$app_id\.png)"
own+="|share/man/(cs/)?man1/kolvio(-db)?\.1\.gz|share/doc/kolvio/(copyright|changelog\.gz))$"
stray=$(cd "$root" && find . -mindepth 1 \( -type d -empty -o ! -type d \) -printf '%P\n' |
    grep -Ev "$own" || true)
[ -z "$stray" ] || fail "files outside the package's own paths:"$'\n'"$stray"
scripts=$(find "$tmp/control" -mindepth 1 ! -name control ! -name md5sums -printf '%P ')
[ -z "$scripts" ] || fail "maintainer scripts in the package: $scripts"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"
# Warnings and notes are printed for the record; errors fail.
lintian_ok=true
lintian --fail-on error --display-info "$deb" >"$tmp/lintian" 2>&1 || lintian_ok=false
grep -v '^running with root' "$tmp/lintian" || true
$lintian_ok || fail "lintian reported errors"

bin=$root/usr/bin
# Where the installed program looks for its help (see tst_app_paths).
[ -f "$root/usr/share/kolvio/help/index.html" ] || fail "no help in usr/share/kolvio/help"
[ "$("$bin/kolvio-db" --version)" = "kolvio-db $version" ] || fail "kolvio-db --version"
[ "$("$bin/kolvio" --version)" = "kolvio $version" ] || fail "kolvio --version"

# Every command of the usage has its synopsis line and its entry (a tagged
# paragraph named by it) in the manual pages of both languages, and every
# option of the usage is named there.
commands=$("$bin/kolvio-db" --help | sed -n 's/^  kolvio-db \([a-z]\+\)\( .*\)\?$/\1/p')
[ -n "$commands" ] || fail "kolvio-db --help lists no command"
words=$("$bin/kolvio-db" --help | grep -oE -- '[[ |]-[-a-z]+' | cut -c2- | sed 's/-/\\-/g')
# The first word of the paragraph after each .TP, without font escapes.
entries() {
    awk 'prev == ".TP" { line = $0; gsub(/\\f[BIR]/, "", line); sub(/^\.[BIR]+ /, "", line)
                         split(line, w, " "); print w[1] } { prev = $0 }'
}
app_words=$("$bin/kolvio" --help | grep -oE -- '^  -[-a-z]+' | cut -c3- | sed 's/-/\\-/g')
app_words+=$'\n\\-\\-screenshot\n\\-\\-quit\\-when\\-shown\nKOLVIO_HOME'
for lang in "" cs/; do
    page=$(zcat "$root/usr/share/man/${lang}man1/kolvio-db.1.gz")
    for command in $commands; do
        grep -qx ".B kolvio\\\\-db $command" <<<"$page" ||
            fail "man ${lang}kolvio-db has no synopsis of \"$command\""
        entries <<<"$page" | grep -qx "$command" ||
            fail "man ${lang}kolvio-db has no entry for \"$command\""
    done
    while read -r word; do
        grep -qF -- "$word" <<<"$page" || fail "man ${lang}kolvio-db lacks \"$word\""
    done <<<"$words"
    page=$(zcat "$root/usr/share/man/${lang}man1/kolvio.1.gz")
    while read -r word; do
        grep -qF -- "$word" <<<"$page" || fail "man ${lang}kolvio lacks \"$word\""
    done <<<"$app_words"
done

# The installed program: a first start in an empty home folder. The tree is
# writable here (as /usr/bin is for root), which must not matter.
home=$tmp/home
mkdir "$home" "$tmp/runtime"
chmod 700 "$tmp/runtime"
before=$(cd "$root" && find . | sort)
shown=$(env -u KOLVIO_HOME -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$home" \
    XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=offscreen \
    timeout 60 "$bin/kolvio" --quit-when-shown) ||
    fail "kolvio did not start from the unpacked package"
[ "$shown" = "shown" ] || fail "kolvio printed \"$shown\" instead of \"shown\""
[ -f "$home/.local/share/kolvio/DATA/jizdy.dbf" ] ||
    fail "no database in the user's data folder after the first start"
[ "$(cd "$root" && find . | sort)" = "$before" ] ||
    fail "kolvio wrote into its installed tree"

# Installing and purging the package with dpkg (into a root of its own, so
# the machine's own packages are not involved) leaves the rider's folder of
# that start exactly as it was, and nothing of the package behind.
inst=$tmp/installed
mkdir -p "$inst/var/lib/dpkg/info" "$inst/var/lib/dpkg/updates" "$inst/home"
touch "$inst/var/lib/dpkg/status"
dpkg_root() { dpkg --root="$inst" --force-depends --force-not-root "$@" >/dev/null 2>&1; }
dpkg_root --install "$deb" || fail "dpkg could not install the package"
[ -x "$inst/usr/bin/kolvio" ] || fail "dpkg installed no usr/bin/kolvio"
mv "$home" "$inst/home/jezdec"
rider_files() { (cd "$inst/home" && find . -printf '%P %s %T@\n' | sort); }
rider_before=$(rider_files)
dpkg_root --purge kolvio || fail "dpkg could not purge the package"
[ "$(rider_files)" = "$rider_before" ] || fail "purging the package changed the rider's folder"
left=$(find "$inst/usr" -mindepth 1 -printf '%P\n' 2>/dev/null || true)
[ -z "$left" ] || fail "purging the package left:"$'\n'"$left"

echo "package check: $(basename "$deb") passed"
