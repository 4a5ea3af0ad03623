#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Builds resources/emoji.json, Tessel's emoji catalogue, from Debian's Unicode data.

The languages are the interface languages of translations/LINGUAS (whose codes are CLDR's:
"pt" is Brazilian Portuguese there too); English comes first whatever the order.

It also writes resources/emoji-names.json: each emoji's name in every language (the picker's
tooltips), as {"languages": [codes], "names": {emoji: [a name per language, in that order]}};
a name CLDR lacks is the English one.

Sources (Debian 12 packages unicode-data and unicode-cldr-core):
  - emoji-test.txt (Unicode 15.0): which emoji exist, their order and their groups;
  - CLDR annotations and derived annotations of each language: names and keywords.

Every fully-qualified emoji is kept except the skin-tone variants, in Unicode's order.
The groups "Smileys & Emotion" and "People & Body" are merged into "Smileys & Body", the
"Component" group is left out and the other groups keep their names. Keywords are the CLDR
names and keywords in every language, so that a search in any of them finds the same emoji. Run it again after a Unicode or CLDR update and commit the
result.

Usage: tools/generate_emoji_json.py [--emoji-test PATH] [--cldr DIR] [--output PATH]
"""

import argparse
import json
import pathlib
import sys
import xml.etree.ElementTree as ET

DEFAULT_EMOJI_TEST = "/usr/share/unicode/emoji/emoji-test.txt"
DEFAULT_CLDR = "/usr/share/unicode/cldr/common"
LINGUAS = pathlib.Path(__file__).resolve().parent.parent / "translations" / "LINGUAS"
SKIN_TONES = range(0x1F3FB, 0x1F400)
VARIATION_SELECTOR_16 = "\uFE0F"
MERGED_GROUPS = {"Smileys & Emotion": "Smileys & Body", "People & Body": "Smileys & Body"}
SKIPPED_GROUPS = {"Component"}
# The category names the application knows, in its order.
CATEGORIES = ("Smileys & Body", "Animals & Nature", "Food & Drink", "Travel & Places",
              "Activities", "Objects", "Symbols", "Flags")


def read_emoji_test(path):
    """Yields (characters, group, English name) for every emoji the catalogue keeps."""
    group = None
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("# group:"):
                group = line[len("# group:"):].strip()
                continue
            if not line.strip() or line.startswith("#"):
                continue
            fields, _, comment = line.partition("#")
            code_points, _, status = fields.partition(";")
            if status.strip() != "fully-qualified" or group in SKIPPED_GROUPS:
                continue
            points = [int(cp, 16) for cp in code_points.split()]
            if any(cp in SKIN_TONES for cp in points):
                continue
            # The comment reads "<emoji> E<version> <name>".
            name = comment.strip().split(" ", 2)[2]
            yield "".join(map(chr, points)), MERGED_GROUPS.get(group, group), name


def read_annotations(cldr_dir, language):
    """Maps an emoji (without U+FE0F, as CLDR writes it) to its name and keywords."""
    names, keywords = {}, {}
    for folder in ("annotations", "annotationsDerived"):
        tree = ET.parse(pathlib.Path(cldr_dir) / folder / f"{language}.xml")
        for node in tree.iter("annotation"):
            cp, text = node.get("cp"), (node.text or "").strip()
            if not cp or not text:
                continue
            if node.get("type") == "tts":
                names.setdefault(cp, text)
            else:
                keywords.setdefault(cp, [w.strip() for w in text.split("|") if w.strip()])
    return names, keywords


def interface_languages(linguas):
    """English, then the other codes of a LINGUAS file in its order."""
    codes = []
    for line in pathlib.Path(linguas).read_text(encoding="utf-8").splitlines():
        codes += line.split("#", 1)[0].split()
    return ["en"] + [c for c in dict.fromkeys(codes) if c != "en"]


def build(emoji_test, cldr_dir, languages):
    annotations = {lang: read_annotations(cldr_dir, lang) for lang in languages}
    catalogue, missing, display_names = [], [], {}
    for char, category, english_name in read_emoji_test(emoji_test):
        key = char.replace(VARIATION_SELECTOR_16, "")
        display_names[char] = [english_name] + [annotations[lang][0].get(key, english_name)
                                                 for lang in languages[1:]]
        words = [english_name]
        for lang in languages:
            names, keywords = annotations[lang]
            if key not in names and key not in keywords:
                missing.append(f"{lang} {english_name}")
            words += [names[key]] if key in names else []
            words += keywords.get(key, [])
        seen, unique = set(), []
        for word in words:
            folded = word.lower()
            if folded not in seen:
                seen.add(folded)
                unique.append(word)
        catalogue.append({"char": char, "keywords": unique, "category": category})
    return catalogue, missing, display_names


def write(catalogue, output):
    # One record per line keeps the committed file readable in diffs.
    records = (json.dumps(e, ensure_ascii=False, separators=(",", ":")) for e in catalogue)
    pathlib.Path(output).write_text("[\n" + ",\n".join(records) + "\n]\n", encoding="utf-8")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--emoji-test", default=DEFAULT_EMOJI_TEST)
    parser.add_argument("--cldr", default=DEFAULT_CLDR)
    parser.add_argument("--linguas", default=str(LINGUAS))
    parser.add_argument("--output", default=str(
        pathlib.Path(__file__).resolve().parent.parent / "resources" / "emoji.json"))
    args = parser.parse_args()

    languages = interface_languages(args.linguas)
    catalogue, missing, names = build(args.emoji_test, args.cldr, languages)
    unknown = {e["category"] for e in catalogue} - set(CATEGORIES)
    if unknown:
        sys.exit(f"unexpected categories: {sorted(unknown)}")
    write(catalogue, args.output)
    names_output = pathlib.Path(args.output).with_name("emoji-names.json")
    # One line per emoji keeps the committed file readable in diffs.
    lines = (json.dumps(c, ensure_ascii=False) + ":" +
             json.dumps(n, ensure_ascii=False, separators=(",", ":")) for c, n in names.items())
    names_output.write_text('{"languages":' + json.dumps(languages) + ',"names":{\n' +
                            ",\n".join(lines) + "\n}}\n", encoding="utf-8")
    counts = {c: sum(e["category"] == c for e in catalogue) for c in CATEGORIES}
    print(f"{len(catalogue)} emoji written to {args.output}")
    for category, count in counts.items():
        print(f"  {category}: {count}")
    if missing:
        print(f"{len(missing)} emoji without annotations, e.g. {missing[:5]}", file=sys.stderr)


if __name__ == "__main__":
    main()
