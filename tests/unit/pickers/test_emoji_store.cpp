// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "pickers/EmojiStore.h"
#include "support/LogCapture.h"
#include "support/TempHome.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QStringList charactersOf(const QList<Emoji>& emojis)
{
    QStringList characters;
    for (const Emoji& emoji : emojis)
        characters << emoji.character;
    return characters;
}

Emoji emoji(const QString& character, QStringList keywords = {})
{
    return Emoji::make(character, std::move(keywords), u"Symbols"_s);
}

QByteArray storedList(int count)
{
    QJsonArray array;
    for (int i = 0; i < count; ++i)
        array.append(QJsonObject{{"char"_L1, QString(QChar(u'a' + i))}});
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

struct Fixture {
    test::TempHome home;
    SettingsStore settings{SettingsStore::defaultFilePath()};
};
} // namespace

class TestEmojiStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportsOnlyAnUnreadableCatalogueOnOneLine_data()
    {
        QTest::addColumn<bool>("shipped");
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QTest::addColumn<QString>("expectedStart");
        QTest::newRow("shipped") << true << QByteArray() << QString();
        QTest::newRow("missing") << false << QByteArray() << QString();
        QTest::newRow("invalid JSON")
            << false << "[{,]"_ba << u"the emoji catalogue (emoji.json) could not be loaded: "_s;
    }

    void reportsOnlyAnUnreadableCatalogueOnOneLine()
    {
        QFETCH(bool, shipped);
        QFETCH(QByteArray, content);
        QFETCH(QString, expectedStart);
        Fixture f;
        const QString path = f.home.path() + "/emoji.json"_L1;
        if (!content.isEmpty())
            QVERIFY(AppPaths::writePrivateFile(path, content));
        f.settings.set(settings::recentEmojis, storedList(2));
        std::unique_ptr<EmojiStore> store;
        QList<test::LogCapture::Message> log;
        {
            const test::LogCapture capture;
            store = shipped ? std::make_unique<EmojiStore>(f.settings)
                            : std::make_unique<EmojiStore>(f.settings, path);
            log = capture.messages();
        }
        QCOMPARE(store->emojis().isEmpty(), !shipped);
        QCOMPARE(store->recentEmojis().size(), 2); // recents work either way
        if (expectedStart.isEmpty()) {
            QVERIFY(log.isEmpty());
        } else {
            // One warning of its own category, on one line, with the parser's description.
            QCOMPARE(log.size(), 1);
            const test::LogCapture::Message& line = log.constFirst();
            QCOMPARE(line.type, QtWarningMsg);
            QCOMPARE(line.category, u"tessel.app"_s);
            QVERIFY2(line.text.startsWith(expectedStart), qPrintable(line.text));
            QVERIFY(!line.text.contains(u'\n'));
            QVERIFY(line.text.size() > expectedStart.size() + 1);
        }
    }

    void namesComeInEachInterfaceLanguage()
    {
        Fixture f;
        const EmojiStore store(f.settings, QString());
        QCOMPARE(store.name(u"😀"_s, u"pt"_s), u"rosto risonho"_s);
        QCOMPARE(store.name(u"😀"_s, u"es"_s), u"cara sonriendo"_s);
        QCOMPARE(store.name(u"😀"_s, u"en"_s), u"grinning face"_s);
        // A language the names do not have reads them in English.
        QCOMPARE(store.name(u"😀"_s, u"fr"_s), u"grinning face"_s);
        QVERIFY(store.name(u"x"_s, u"en"_s).isEmpty());
    }

    void recentsKeepTheLatestFourteenOnceEach()
    {
        Fixture f;
        f.settings.set(settings::recentEmojis, storedList(20));
        EmojiStore store(f.settings, QString());
        QCOMPARE(store.recentEmojis().size(), 20); // a long stored list is cut only at a push
        int sizeSeenBefore = -1;
        connect(&store, &EmojiStore::recentEmojisAboutToChange, this,
                [&] { sizeSeenBefore = int(store.recentEmojis().size()); });
        store.pushRecent(emoji(u"😀"_s));
        QCOMPARE(sizeSeenBefore, 20); // announced before it changes, for the grid's model
        store.pushRecent(emoji(u"b"_s));
        store.pushRecent(emoji(u"😀"_s));
        const QStringList expected{u"😀"_s, u"b"_s, u"a"_s, u"c"_s, u"d"_s, u"e"_s, u"f"_s,
                                   u"g"_s, u"h"_s, u"i"_s, u"j"_s, u"k"_s, u"l"_s, u"m"_s};
        QCOMPARE(charactersOf(store.recentEmojis()), expected);
        QCOMPARE(charactersOf(EmojiStore(f.settings, QString()).recentEmojis()), expected);

        // Filled one by one: the fourteenth stays, choosing one of them again keeps all
        // fourteen, and a new one pushes out the oldest.
        f.settings.remove(settings::recentEmojis.name);
        EmojiStore growing(f.settings, QString());
        QStringList chosen;
        for (int i = 0; i < 14; ++i) {
            chosen.prepend(QString(QChar(u'A' + i)));
            growing.pushRecent(emoji(chosen.first()));
        }
        QCOMPARE(charactersOf(growing.recentEmojis()), chosen);
        growing.pushRecent(emoji(u"G"_s));
        chosen.move(chosen.indexOf(u"G"_s), 0);
        QCOMPARE(charactersOf(growing.recentEmojis()), chosen);
        growing.pushRecent(emoji(u"😺"_s));
        chosen.prepend(u"😺"_s);
        chosen.removeLast();
        QCOMPARE(charactersOf(growing.recentEmojis()), chosen);
    }

    void storedRecordsDecodeLeniently_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("characters");
        QTest::newRow("record without char is skipped")
            << R"([{"keywords": []}, {"char": "b", "category": "Flags"}])"_ba
            << QStringList{u"b"_s};
        QTest::newRow("not JSON") << "[{"_ba << QStringList{};
        QTest::newRow("an element that is no object")
            << R"([{"char": "a"}, "b"])"_ba << QStringList{};
    }

    void storedRecordsDecodeLeniently()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, characters);
        Fixture f;
        f.settings.set(settings::recentEmojis, stored);
        EmojiStore store(f.settings, QString());
        QCOMPARE(charactersOf(store.recentEmojis()), characters);
        // Whatever was stored, the next push writes a clean list, keywords as they were read.
        store.pushRecent(emoji(u"❤️"_s, {u"Red Heart"_s, u"CORAÇÃO"_s}));
        const Emoji reread = EmojiStore(f.settings, QString()).recentEmojis().first();
        QCOMPARE(reread.character, u"❤️"_s);
        QCOMPARE(reread.keywords, (QStringList{u"Red Heart"_s, u"CORAÇÃO"_s}));
        QCOMPARE(reread.lowercasedKeywords, (QStringList{u"red heart"_s, u"coração"_s}));
    }
};

QTEST_GUILESS_MAIN(TestEmojiStore)
#include "test_emoji_store.moc"
