#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Helpers for Tessel's Qt Linguist files (translations/tessel_<code>.ts).

  fill-source TS   In the file of the source language (English), gives every text that lupdate
                   marked unfinished its source text, so that English follows the "//%" texts
                   of the code. Texts with plural forms get the source in every empty form and
                   stay unfinished: the singular is a human's to write.
  pseudo TS OUT    Writes a pseudo-language from TS: every text wrapped in "[!! ... !!]",
                   lengthened by about a third and written with accented look-alikes of its
                   letters, placeholders and markup kept. A text that shows no such letters
                   under it comes from somewhere else than the translation files.

fill-source edits the file as text, keeping lupdate's layout, so that running lupdate again
changes nothing.
"""

import re
import sys
import xml.etree.ElementTree as ET

MESSAGE = re.compile(r"(<message id=\"[^\"]*\"(?P<numerus> numerus=\"yes\")?>\s*"
                     r"<source>(?P<source>[^<]*)</source>\s*"
                     r"(?:<oldsource>[^<]*</oldsource>\s*)?)"
                     r"<translation type=\"unfinished\">(?P<translation>.*?)</translation>",
                     re.DOTALL)
EMPTY_FORM = re.compile(r"<numerusform></numerusform>")


def fill_source(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()

    def filled(match):
        head, source = match.group(1), match.group("source")
        if not match.group("numerus"):
            return f"{head}<translation>{source}</translation>"
        forms = EMPTY_FORM.sub(f"<numerusform>{source}</numerusform>",
                               match.group("translation"))
        return f"{head}<translation type=\"unfinished\">{forms}</translation>"

    updated = MESSAGE.sub(filled, text)
    if updated != text:
        with open(path, "w", encoding="utf-8") as f:
            f.write(updated)


LOOK_ALIKES = str.maketrans(
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ",
    "áƀçđéƒğĥíĵķłṁñóƥʠŕšŧúṽŵẋýžÁƁÇĐÉƑĞĤÍĴĶŁṀÑÓƤǪŔŠŦÚṼŴẊÝŽ")
# Placeholders (%1, %n, %L1, %Ln), markup and entities stay as they are.
KEPT = re.compile(r"%L?(?:\d+|n)|<[^>]*>|&[#\w]+;")


def pseudo_text(text):
    if not text:
        return text
    pieces, at = [], 0
    for kept in KEPT.finditer(text):
        pieces.append(text[at:kept.start()].translate(LOOK_ALIKES))
        pieces.append(kept.group(0))
        at = kept.end()
    pieces.append(text[at:].translate(LOOK_ALIKES))
    padding = "·" * max(1, len(text) // 3)
    return f"[!! {''.join(pieces)} {padding} !!]"


def pseudo(path, output):
    tree = ET.parse(path)
    for message in tree.getroot().iter("message"):
        translation = message.find("translation")
        source = message.findtext("source") or ""
        forms = translation.findall("numerusform")
        if forms:
            for form in forms:
                form.text = pseudo_text(form.text or source)
        else:
            translation.text = pseudo_text(translation.text or source)
        translation.attrib.pop("type", None)
    tree.write(output, encoding="utf-8", xml_declaration=True)


def main(argv):
    if len(argv) == 3 and argv[1] == "fill-source":
        fill_source(argv[2])
    elif len(argv) == 4 and argv[1] == "pseudo":
        pseudo(argv[2], argv[3])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
