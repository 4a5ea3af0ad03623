#include "hotkey/KeyCodeTable.h"
#include "hotkey/SavedShortcut.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

class TestKeyCodeTable : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTripEveryRow()
    {
        QVERIFY(KeyCodeTable::size() > 47);
        for (int i = 0; i < KeyCodeTable::size(); ++i) {
            const quint32 code = KeyCodeTable::keyCodeAt(i);
            const auto keysym = KeyCodeTable::keysymForKeyCode(code);
            QVERIFY2(keysym, qPrintable(QString::number(code)));
            QCOMPARE(KeyCodeTable::keyCodeForKeysym(*keysym), std::optional(code));
        }
    }

    void keysymLookup_data()
    {
        QTest::addColumn<quint32>("keysym");
        QTest::addColumn<int>("keyCode");
        QTest::newRow("v") << 0x76u << 9;
        QTest::newRow("V is the same key") << 0x56u << 9;
        QTest::newRow("A") << 0x41u << 0;
        QTest::newRow("period") << 0x2eu << 47;
        QTest::newRow("Return") << 0xff0du << 36;
        QTest::newRow("F1") << 0xffbeu << 122;
        QTest::newRow("Up") << 0xff52u << 126;
        QTest::newRow("greater is not a key of its own") << 0x3eu << -1;
        QTest::newRow("Cyrillic ve") << 0x6d7u << -1;
    }
    void keysymLookup()
    {
        QFETCH(quint32, keysym);
        QFETCH(int, keyCode);
        const auto found = KeyCodeTable::keyCodeForKeysym(keysym);
        if (keyCode < 0)
            QVERIFY(!found);
        else
            QCOMPARE(found, std::optional(static_cast<quint32>(keyCode)));
    }

    void unknownKeyCodeHasNoKeysym()
    {
        QVERIFY(!KeyCodeTable::keysymForKeyCode(52));
        QVERIFY(!KeyCodeTable::keysymForKeyCode(200));
    }

    void keyName_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        // The US layout's own order, not the keys' labels: the places a table is easy to get wrong.
        QTest::newRow("22 is 6") << 22 << u"6"_s;
        QTest::newRow("23 is 5") << 23 << u"5"_s;
        QTest::newRow("42 backslash") << 42 << u"\\"_s;
        QTest::newRow("gap at 30") << 30 << u"Key30"_s;
        QTest::newRow("50 grave is unnamed") << 50 << u"Key50"_s;
        QTest::newRow("65535") << 65535 << u"Key65535"_s;
    }
    void keyName()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(KeyCodeTable::keyName(static_cast<quint16>(code)), name);
    }

    void jsonRoundTrip()
    {
        const SavedShortcut shortcut{40, 6912, {u"⌘"_s, u"⇧"_s, u"⌥"_s, u"⌃"_s, u"K"_s}};
        QCOMPARE(SavedShortcut::fromJson(shortcut.toJson()), std::optional(shortcut));
        const auto parsed = SavedShortcut::fromJson(
            R"({"keyCode":9,"carbonModifiers":768,"displayKeys":["⌘","⇧","V"]})");
        QCOMPARE(parsed, std::optional(SavedShortcut::defaultClipboard()));
    }

    void badJson_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("not json") << QByteArray("garbage");
        QTest::newRow("array") << QByteArray("[9,768]");
        QTest::newRow("missing keys") << QByteArray(R"({"keyCode":9,"carbonModifiers":768})");
        QTest::newRow("text code")
            << QByteArray(R"({"keyCode":"9","carbonModifiers":768,"displayKeys":[]})");
        QTest::newRow("negative") << QByteArray(
            R"({"keyCode":-1,"carbonModifiers":768,"displayKeys":[]})");
        QTest::newRow("fraction") << QByteArray(
            R"({"keyCode":9.5,"carbonModifiers":768,"displayKeys":[]})");
        QTest::newRow("too big") << QByteArray(
            R"({"keyCode":4294967296,"carbonModifiers":768,"displayKeys":[]})");
        QTest::newRow("number in keys")
            << QByteArray(R"({"keyCode":9,"carbonModifiers":768,"displayKeys":[1]})");
    }
    void badJson()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!SavedShortcut::fromJson(json));
    }
};

QTEST_GUILESS_MAIN(TestKeyCodeTable)
#include "test_key_code_table.moc"
