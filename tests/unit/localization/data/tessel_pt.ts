<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<!-- Portuguese with texts missing: no "farewell", no "files", no language name. -->
<TS version="2.1" language="pt_BR" sourcelanguage="en">
<context>
    <name></name>
    <message id="greeting">
        <source>Hello</source>
        <translation>Olá</translation>
    </message>
</context>
</TS>
