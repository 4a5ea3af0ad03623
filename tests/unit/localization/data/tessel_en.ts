<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<!-- SPDX-License-Identifier: GPL-3.0-or-later -->
<TS version="2.1" language="en_US" sourcelanguage="en">
<context>
    <name></name>
    <message id="greeting">
        <source>Hello</source>
        <translation>Hello</translation>
    </message>
    <message id="farewell">
        <source>Bye</source>
        <translation>Bye</translation>
    </message>
    <message id="files" numerus="yes">
        <source>%n files</source>
        <translation>
            <numerusform>%n file</numerusform>
            <numerusform>%n files</numerusform>
        </translation>
    </message>
</context>
</TS>
