#include "core/AppPaths.h"
#include "core/SettingsStore.h"
#include "pickers/EmojiStore.h"
#include "support/TempHome.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>
#include <cstdio>
#include <memory>
#include <unistd.h>

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
        array.append(QJsonObject{{"char"_L1, QString(QChar(u'a' + i))},
                                 {"keywords"_L1, QJsonArray{}},
                                 {"category"_L1, u"Symbols"_s}});
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

// Everything written to standard output while `work` runs.
template <typename Work> QByteArray capturedStdout(Work work)
{
    QTemporaryFile capture;
    if (!capture.open())
        return "<no capture file>";
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(capture.handle(), STDOUT_FILENO);
    work();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    capture.seek(0);
    return capture.readAll();
}

struct Fixture {
    test::TempHome home;
    SettingsStore settings{SettingsStore::defaultFilePath()};
};

} // namespace

class TestEmojiStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void loadsTheShippedCatalogueQuietly()
    {
        Fixture f;
        std::unique_ptr<EmojiStore> store;
        const QByteArray out =
            capturedStdout([&] { store = std::make_unique<EmojiStore>(f.settings); });
        QCOMPARE(out, QByteArray());
        QVERIFY(!store->emojis().isEmpty());
        QVERIFY(store->recentEmojis().isEmpty());
    }

    void reportsAnUnreadableCatalogueOnOneLine_data()
    {
        QTest::addColumn<QByteArray>("content"); // null: no file at all
        QTest::addColumn<QByteArray>("expectedStart");
        QTest::newRow("missing") << QByteArray() << QByteArray();
        QTest::newRow("invalid JSON") << "[{,]"_ba
                                      << "Tessel: erro ao carregar emoji.json: "_ba;
    }

    void reportsAnUnreadableCatalogueOnOneLine()
    {
        QFETCH(QByteArray, content);
        QFETCH(QByteArray, expectedStart);
        Fixture f;
        const QString path = f.home.path() + "/emoji.json"_L1;
        if (!content.isNull())
            QVERIFY(AppPaths::writePrivateFile(path, content));
        f.settings.set(settings::recentEmojis, storedList(2));

        std::unique_ptr<EmojiStore> store;
        const QByteArray out =
            capturedStdout([&] { store = std::make_unique<EmojiStore>(f.settings, path); });
        QVERIFY(store->emojis().isEmpty());
        QCOMPARE(store->recentEmojis().size(), 2); // recents still work
        if (expectedStart.isEmpty()) {
            QCOMPARE(out, QByteArray());
        } else {
            QVERIFY2(out.startsWith(expectedStart), out.constData());
            QCOMPARE(out.count('\n'), 1);
            QVERIFY(out.endsWith('\n'));
            QVERIFY(out.size() > expectedStart.size() + 1); // carries a description
        }
    }

    void choosingTheSameEmojiTwiceKeepsOneAtTheFront()
    {
        Fixture f;
        EmojiStore store(f.settings, QString());
        store.pushRecent(emoji(u"😀"_s));
        store.pushRecent(emoji(u"🐱"_s));
        store.pushRecent(emoji(u"😀"_s));
        QCOMPARE(charactersOf(store.recentEmojis()), (QStringList{u"😀"_s, u"🐱"_s}));
    }

    void theListHoldsFourteen()
    {
        Fixture f;
        EmojiStore store(f.settings, QString());
        for (int i = 0; i < 15; ++i)
            store.pushRecent(emoji(QString(QChar(u'a' + i))));
        QCOMPARE(store.recentEmojis().size(), EmojiStore::maxRecent);
        QCOMPARE(store.recentEmojis().first().character, u"o"_s);
        QVERIFY(!charactersOf(store.recentEmojis()).contains(u"a"_s));
        QCOMPARE(EmojiStore(f.settings, QString()).recentEmojis().size(), 14);
    }

    void aLongStoredListIsCutOnlyAtTheNextPush()
    {
        Fixture f;
        f.settings.set(settings::recentEmojis, storedList(20));
        EmojiStore store(f.settings, QString());
        QCOMPARE(store.recentEmojis().size(), 20);
        store.pushRecent(emoji(u"😀"_s));
        QCOMPARE(store.recentEmojis().size(), 14);
        QCOMPARE(store.recentEmojis().at(1).character, u"a"_s);
    }

    void storedRecordsDecodeLeniently_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QStringList>("characters");
        QTest::addColumn<QString>("firstCategory");
        QTest::newRow("missing category")
            << R"([{"char": "😀", "keywords": ["Smile"]}])"_ba << QStringList{u"😀"_s} << u"Outros"_s;
        QTest::newRow("record without char is skipped")
            << R"([{"keywords": []}, {"char": "b", "category": "Flags"}])"_ba << QStringList{u"b"_s}
            << u"Flags"_s;
        QTest::newRow("not JSON") << "[{"_ba << QStringList{} << QString();
        QTest::newRow("an element that is no object")
            << R"([{"char": "a"}, "b"])"_ba << QStringList{} << QString();
    }

    void storedRecordsDecodeLeniently()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QStringList, characters);
        QFETCH(QString, firstCategory);
        Fixture f;
        f.settings.set(settings::recentEmojis, stored);
        EmojiStore store(f.settings, QString());
        QCOMPARE(charactersOf(store.recentEmojis()), characters);
        if (!characters.isEmpty())
            QCOMPARE(store.recentEmojis().first().category, firstCategory);

        // Whatever was stored, the next push writes a clean list.
        store.pushRecent(emoji(u"🐱"_s));
        QCOMPARE(EmojiStore(f.settings, QString()).recentEmojis().first().character, u"🐱"_s);
    }

    void storesThreeMembersWithKeywordsAsRead()
    {
        Fixture f;
        EmojiStore store(f.settings, QString());
        store.pushRecent(emoji(u"❤️"_s, {u"Red Heart"_s, u"CORAÇÃO"_s}));
        const auto document = QJsonDocument::fromJson(*f.settings.value(settings::recentEmojis));
        QVERIFY(document.isArray());
        const QJsonObject record = document.array().first().toObject();
        QCOMPARE(record.keys(), (QStringList{u"category"_s, u"char"_s, u"keywords"_s}));
        QCOMPARE(record.value("char"_L1).toString(), u"❤️"_s);
        QCOMPARE(record.value("keywords"_L1).toArray(), (QJsonArray{u"Red Heart"_s, u"CORAÇÃO"_s}));

        const EmojiStore reread(f.settings, QString());
        QCOMPARE(reread.recentEmojis().first().lowercasedKeywords,
                 (QStringList{u"red heart"_s, u"coração"_s}));
        QVERIFY(reread.recentEmojis().first().id != store.recentEmojis().first().id);
    }

    void announcesEachPush()
    {
        Fixture f;
        EmojiStore store(f.settings, QString());
        QSignalSpy before(&store, &EmojiStore::recentEmojisAboutToChange);
        QSignalSpy after(&store, &EmojiStore::recentEmojisChanged);
        int sizeSeenBefore = -1;
        connect(&store, &EmojiStore::recentEmojisAboutToChange, this,
                [&] { sizeSeenBefore = int(store.recentEmojis().size()); });
        store.pushRecent(emoji(u"a"_s));
        QCOMPARE(before.count(), 1);
        QCOMPARE(after.count(), 1);
        QCOMPARE(sizeSeenBefore, 0);
    }
};

QTEST_GUILESS_MAIN(TestEmojiStore)
#include "test_emoji_store.moc"
