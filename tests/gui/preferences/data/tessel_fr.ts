<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<!-- A fourth language as a translator would start it: a few texts, the rest still English. -->
<TS version="2.1" language="fr_FR" sourcelanguage="en">
<context>
    <name></name>
    <message id="language_name">
        <source>🇺🇸 English (US)</source>
        <translation>🇫🇷 Français</translation>
    </message>
    <message id="lang_system">
        <source>🌐 Automatic (System)</source>
        <translation>🌐 Automatique (système)</translation>
    </message>
    <message id="tab_general">
        <source>General</source>
        <translation>Général</translation>
    </message>
    <message id="header_title">
        <source>Tessel Clipboard</source>
        <translation>Presse-papiers Tessel</translation>
    </message>
    <message id="items_count_format" numerus="yes">
        <source>%n items</source>
        <translation>
            <numerusform>%n élément</numerusform>
            <numerusform>%n éléments</numerusform>
        </translation>
    </message>
</context>
</TS>
