#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the desktop and software centres read about Tessel, as generated in a build tree: the
# desktop entry and the AppStream metainfo validate, both carry every language that has a
# translations/desktop/<code>.po,
# the screenshots they point at exist in docs/screenshots, and the manual page formats without
# a warning.
#   check_metadata.sh <source dir> <build dir of resources/> <application id>
set -euo pipefail
source_dir="$1" generated="$2" app_id="$3"
desktop="$generated/$app_id.desktop"
metainfo="$generated/$app_id.metainfo.xml"
failures=0
fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
# --no-net: the screenshots are published with the website, not fetched from here.
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects $metainfo"

locales=$(sed -n 's/^"Language: \([A-Za-z_@]*\).*/\1/p' "$source_dir"/translations/desktop/*.po)
[[ $(wc -w <<<"$locales") -ge 2 ]] || fail "fewer than two languages in translations/desktop"
for lang in $locales; do
    for key in Name GenericName Comment Keywords; do
        grep -q "^$key\[$lang\]=" "$desktop" || fail "$desktop has no $key[$lang]"
    done
    for element in summary p li keyword caption; do
        grep -q "<$element xml:lang=\"$lang\">" "$metainfo" || fail "$metainfo has no $lang $element"
    done
done
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"

# Each screenshot URL names a file of docs/screenshots, which the website publishes.
shots=$(grep -o '<image[^>]*>[^<]*</image>' "$metainfo" | sed 's/<[^>]*>//g; s/.*\///')
[[ -n "$shots" ]] || fail "the metainfo lists no screenshot"
for shot in $shots; do
    [[ -f "$source_dir/docs/screenshots/$shot" ]] || fail "no docs/screenshots/$shot"
done

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$source_dir/resources/tessel.1" 2>&1 >/dev/null)
[[ -z "$warnings" ]] || fail "the manual page formats with warnings: $warnings"

((failures == 0)) && echo "PASSED"
exit $((failures > 0))
