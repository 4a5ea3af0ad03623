#include "localization/LanguageManager.h"
#include "localization/StringTables.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

QStringList keysOf(StringTable table)
{
    QStringList keys;
    for (const StringTableEntry& entry : table)
        keys << entry.key.toString();
    return keys;
}

} // namespace

class TestStringTables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTableHoldsTheSameKeysWithTheirPlaceholders()
    {
        const QStringList english = keysOf(englishStrings());
        QCOMPARE(QSet<QString>(english.begin(), english.end()).size(), english.size());
        const auto translations = LanguageManager::builtInTranslations();
        for (const QString& code : {u"pt"_s, u"es"_s}) {
            const auto table = translations.value(code);
            for (const QString& key : english) {
                const QString text = table.value(key);
                QVERIFY2(!text.trimmed().isEmpty(), qPrintable(code + u' ' + key));
                // A translation that drops or adds a placeholder breaks the caller's substitution.
                QCOMPARE(text.count(u"%@"), translations.value(u"en"_s).value(key).count(u"%@"));
            }
            QCOMPARE(table.size(), english.size());
        }
    }

    void everyKeyTheCodeLooksUpExists()
    {
        // Read from the sources, so that a key added to the code but not to a table is caught.
        const QDir src(qEnvironmentVariable("TESSEL_SOURCE_DIR") + "/src"_L1);
        QVERIFY(src.exists());
        static const QRegularExpression direct(uR"re(string\(\s*u"([A-Za-z0-9_]+)"_s)re"_s);
        static const QRegularExpression snake(uR"re(u"([a-z]+(?:_[a-z0-9]+)+)"_s)re"_s);
        QSet<QString> keys;
        QDirIterator files(src.path(), {u"*.cpp"_s, u"*.h"_s}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString code = QString::fromUtf8(file.readAll());
            for (const auto* pattern : {&direct, &snake}) {
                for (const auto& match : pattern->globalMatch(code)) {
                    if (!match.captured(1).endsWith(u'_')) // a prefix, completed below
                        keys.insert(match.captured(1));
                }
            }
        }
        // The tab tool tips are looked up as "tab_" plus the tab's raw value.
        for (const char* tab : {"clipboard", "emoji", "kaomoji", "symbols", "favorites"})
            keys.insert(u"tab_"_s + QLatin1StringView(tab));
        QVERIFY(keys.size() > 30);
        const auto translations = LanguageManager::builtInTranslations();
        for (const QString& code : {u"en"_s, u"pt"_s, u"es"_s}) {
            for (const QString& key : std::as_const(keys))
                QVERIFY2(translations.value(code).contains(key), qPrintable(code + u' ' + key));
        }
    }
};

QTEST_APPLESS_MAIN(TestStringTables)
#include "test_string_tables.moc"
