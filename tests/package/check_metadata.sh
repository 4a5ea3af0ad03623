#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the desktop and software centres read about Tessel, as generated in a build tree: the
# desktop entry and the AppStream metainfo validate, both carry every language that has a
# translations/desktop/<code>.po, the screenshots they point at exist in docs/screenshots, the
# licence is the copyright file's and that file covers the source tree, and the manual page
# formats without a warning.
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

# The licence the software centre shows is the one of the copyright file, whose other paragraphs
# name files that exist; each protocol description (written by others) has a paragraph of its own.
copyright="$source_dir/resources/package/copyright"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" ||
    fail "the metainfo does not give GPL-3.0-or-later as the project licence"
python3 - "$source_dir" "$copyright" <<'PY' || fail "$copyright does not match the source tree"
import glob, os, sys
source, path = sys.argv[1], sys.argv[2]
paragraphs, current, field = [], {}, None
for line in open(path, encoding="utf-8").read().splitlines():
    if not line.strip():
        paragraphs.append(current) if current else None
        current, field = {}, None
    elif line[0] in " \t":
        current[field] += "\n" + line.strip()
    else:
        field, _, value = line.partition(":")
        current[field] = value.strip()
paragraphs.append(current) if current else None
files = [p for p in paragraphs if "Files" in p]
ok = files[0]["Files"] == "*" and files[0]["License"] == "GPL-3+"
named = set()
for paragraph in files[1:]:
    for pattern in paragraph["Files"].split():
        matched = glob.glob(os.path.join(source, pattern))
        if not matched:
            print(f"{path}: {pattern} names no file", file=sys.stderr)
            ok = False
        named.update(os.path.relpath(m, source) for m in matched)
for xml in glob.glob(os.path.join(source, "src/platform/wayland/protocols/*.xml")):
    if os.path.relpath(xml, source) not in named:
        print(f"{path}: no paragraph for {os.path.relpath(xml, source)}", file=sys.stderr)
        ok = False
sys.exit(0 if ok else 1)
PY

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$source_dir/resources/tessel.1" 2>&1 >/dev/null)
[[ -z "$warnings" ]] || fail "the manual page formats with warnings: $warnings"

((failures == 0)) && echo "PASSED"
exit $((failures > 0))
