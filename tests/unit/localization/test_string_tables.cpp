#include "localization/LanguageManager.h"
#include "localization/StringTables.h"

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

Q_DECLARE_METATYPE(StringTable)

class TestStringTables : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyTableHoldsTheEnglishKeysInOrder_data()
    {
        QTest::addColumn<StringTable>("table");
        QTest::newRow("pt") << portugueseStrings();
        QTest::newRow("es") << spanishStrings();
        QTest::newRow("en") << englishStrings();
    }

    void everyTableHoldsTheEnglishKeysInOrder()
    {
        QFETCH(StringTable, table);
        const QStringList english = keysOf(englishStrings());
        QCOMPARE(english.size(), 105);
        QCOMPARE(QSet<QString>(english.begin(), english.end()).size(), english.size());
        QCOMPARE(english.first(), u"app_title"_s);
        QCOMPARE(english.last(), u"delete_item"_s);
        QCOMPARE(keysOf(table), english);

        for (qsizetype i = 0; i < qsizetype(table.size()); ++i) {
            const StringTableEntry& entry = table[size_t(i)];
            QVERIFY2(!entry.text.trimmed().isEmpty(), qPrintable(entry.key.toString()));
            // A translation that drops or adds a placeholder breaks the caller's substitution.
            QCOMPARE(entry.text.count(u"%@"), englishStrings()[size_t(i)].text.count(u"%@"));
        }
    }

    void theManagerHoldsExactlyTheThreeTables()
    {
        const auto translations = LanguageManager::builtInTranslations();
        QCOMPARE(translations.size(), 3);
        const auto english = translations.value(u"en"_s).keys();
        const QSet<QString> keys(english.begin(), english.end());
        QCOMPARE(keys.size(), 105);
        for (const QString& code : {u"pt"_s, u"es"_s}) {
            const auto other = translations.value(code).keys();
            QCOMPARE(QSet<QString>(other.begin(), other.end()), keys);
        }
    }

    void knownTexts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("en");
        QTest::addColumn<QString>("pt");
        QTest::addColumn<QString>("es");
        auto row = [](const char* key, const char* en, const char* pt, const char* es) {
            QTest::newRow(key) << QString::fromUtf8(key) << QString::fromUtf8(en)
                               << QString::fromUtf8(pt) << QString::fromUtf8(es);
        };
        row("header_title", "Tessel Clipboard", "Emoji e mais", "Emoji y más");
        row("tab_clipboard", "Clipboard", "Clipboard", "Portapapeles");
        row("lang_system", "🌐 Automatic (System)", "🌐 Automático (Sistema)",
            "🌐 Automático (Sistema)");
        row("theme_system", "Follow system", "Seguir o sistema", "Seguir el sistema");
        row("shortcut_min_error", "Shortcut requires at least 2 keys (e.g. Super, Shift + key).",
            "O atalho exige no mínimo 2 teclas (ex: Super, Shift + tecla).",
            "El atajo requiere al menos 2 teclas (ej: Super, Shift + tecla).");
        row("shortcut_duplicate_error", "This shortcut is already used by the other command.",
            "Este atalho já está em uso pelo outro comando.",
            "Este atajo ya lo usa el otro comando.");
        row("shortcut_taken_error", "This shortcut is already used by the desktop or another app.",
            "Este atalho já é usado pela área de trabalho ou por outro app.",
            "Este atajo ya lo usa el escritorio u otra app.");
        row("press_keys_prompt", "Press shortcut keys...", "Pressione as teclas...",
            "Presione las teclas...");
        row("app_version_format", "Version %@ (Build %@)", "Versão %@ (Build %@)",
            "Versión %@ (Build %@)");
        row("status_active", "ACTIVE", "ATIVO", "ACTIVO");
        row("status_pending", "PENDING", "PENDENTE", "PENDENTE");
        row("clear_history_title", "Clear history?", "Limpar histórico?", "¿Borrar historial?");
        row("menu_preferences", "Preferences…", "Preferências…", "Preferencias…");
        row("menu_quit", "Quit Tessel", "Sair do Tessel", "Salir de Tessel");
        row("empty_clipboard", "Your clipboard is empty", "Sua área de transferência está vazia",
            "Tu portapapeles está vacío");
        row("kaomoji_action", "Table Flip / Action", "Mesa / Ação", "Mesa / Acción");
        row("symbol_punctuation", "Punctuation & Symbols", "Pontuação e símbolos",
            "Puntuación y símbolos");
    }

    void knownTexts()
    {
        QFETCH(QString, key);
        QFETCH(QString, en);
        QFETCH(QString, pt);
        QFETCH(QString, es);
        const auto translations = LanguageManager::builtInTranslations();
        QCOMPARE(translations.value(u"en"_s).value(key), en);
        QCOMPARE(translations.value(u"pt"_s).value(key), pt);
        QCOMPARE(translations.value(u"es"_s).value(key), es);
    }
};

QTEST_APPLESS_MAIN(TestStringTables)
#include "test_string_tables.moc"
