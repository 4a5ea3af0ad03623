// SPDX-License-Identifier: GPL-3.0-or-later
// The translation files in translations/ are complete: every language has every text of the
// English file, finished, with the placeholders of its source.
#include "localization/TranslationCatalogue.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

struct Message {
    QString source;
    QStringList forms; // one, or the plural forms
    bool numerus = false;
    QString type; // "unfinished", "vanished", "obsolete" or empty
};

struct TsFile {
    QString language;
    QMap<QString, Message> messages;
    QString error;
};

TsFile parse(const QByteArray& xml)
{
    TsFile file;
    QXmlStreamReader reader(xml);
    QString id;
    Message message;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && reader.name() == "message"_L1) {
            file.messages.insert(id, message);
            continue;
        }
        if (!reader.isStartElement())
            continue;
        const auto name = reader.name();
        if (name == "TS"_L1) {
            file.language = reader.attributes().value("language"_L1).toString();
        } else if (name == "message"_L1) {
            id = reader.attributes().value("id"_L1).toString();
            message = Message{};
            message.numerus = reader.attributes().value("numerus"_L1) == "yes"_L1;
        } else if (name == "source"_L1) {
            message.source = reader.readElementText();
        } else if (name == "translation"_L1) {
            message.type = reader.attributes().value("type"_L1).toString();
            if (!message.numerus)
                message.forms = {reader.readElementText()};
        } else if (name == "numerusform"_L1) {
            message.forms.append(reader.readElementText());
        }
    }
    if (reader.hasError())
        file.error = reader.errorString();
    return file;
}

// %1 to %99, each once however often it appears; %n stands for itself.
QSet<QString> placeholders(const QString& text)
{
    static const QRegularExpression pattern(u"%L?(\\d{1,2}|n)"_s);
    QSet<QString> found;
    for (const auto& match : pattern.globalMatch(text))
        found.insert(match.captured(1));
    return found;
}

// What is wrong with `file` measured against the English file: texts missing, unfinished or
// empty, placeholders that differ from the source's, texts English no longer has.
QStringList problems(const TsFile& english, const TsFile& file)
{
    QStringList found;
    if (!file.error.isEmpty())
        return {u"not readable: "_s + file.error};
    if (file.language.isEmpty())
        found << u"no language attribute"_s;
    for (auto it = english.messages.cbegin(); it != english.messages.cend(); ++it) {
        const auto own = file.messages.constFind(it.key());
        if (own == file.messages.cend()) {
            found << it.key() + u": missing"_s;
            continue;
        }
        if (!own->type.isEmpty())
            found << it.key() + u": "_s + own->type;
        if (own->forms.isEmpty())
            found << it.key() + u": no translation"_s;
        for (const QString& form : own->forms) {
            if (form.trimmed().isEmpty())
                found << it.key() + u": empty"_s;
            else if (placeholders(form) != placeholders(own->source))
                found << it.key() + u": placeholders of \""_s + form + u"\" differ from \""_s +
                             own->source + u'"';
        }
    }
    for (auto it = file.messages.cbegin(); it != file.messages.cend(); ++it) {
        if (!english.messages.contains(it.key()))
            found << it.key() + u": not in the English file"_s;
    }
    return found;
}

QString translationsDir()
{
    return qEnvironmentVariable("TESSEL_SOURCE_DIR") + u"/translations"_s;
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char* const englishSample = R"(<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS><TS version="2.1" language="en_US" sourcelanguage="en"><context><name></name>
<message id="version"><source>Version %1 (Build %2)</source>
<translation>Version %1 (Build %2)</translation></message>
<message id="count" numerus="yes"><source>%n items</source>
<translation><numerusform>%n item</numerusform><numerusform>%n items</numerusform></translation>
</message></context></TS>)";

} // namespace

class TestTranslationFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theCheckFindsEachKindOfFault_data()
    {
        QTest::addColumn<QString>("messages");
        QTest::addColumn<QString>("problem"); // empty: none
        const QString count = uR"(<message id="count" numerus="yes"><source>%n items</source>
            <translation><numerusform>%n item</numerusform><numerusform>%n itens</numerusform>
            </translation></message>)"_s;
        QTest::newRow("complete") << uR"(<message id="version"><source>Version %1 (Build %2)
            </source><translation>Compilação %2 da versão %1</translation></message>)"_s +
                                         count
                                  << QString();
        QTest::newRow("unfinished")
            << uR"(<message id="version"><source>Version %1 (Build %2)</source>
            <translation type="unfinished">Versão %1 (Build %2)</translation></message>)"_s +
                   count
            << u"version: unfinished"_s;
        QTest::newRow("missing") << count << u"version: missing"_s;
        QTest::newRow("empty") << uR"(<message id="version"><source>Version %1 (Build %2)
            </source><translation></translation></message>)"_s +
                                      count
                               << u"version: empty"_s;
        QTest::newRow("placeholder dropped")
            << uR"(<message id="version"><source>Version %1 (Build %2)</source>
            <translation>Versão %1</translation></message>)"_s +
                   count
            << u"version: placeholders"_s;
        QTest::newRow("placeholder renumbered")
            << uR"(<message id="version"><source>Version %1 (Build %2)</source>
            <translation>Versão %1 (Build %3)</translation></message>)"_s +
                   count
            << u"version: placeholders"_s;
        QTest::newRow("plural form without its count")
            << uR"(<message id="version"><source>Version %1 (Build %2)</source>
            <translation>Versão %1 (Build %2)</translation></message>
            <message id="count" numerus="yes"><source>%n items</source><translation>
            <numerusform>um item</numerusform><numerusform>%n itens</numerusform>
            </translation></message>)"_s
            << u"count: placeholders"_s;
    }

    void theCheckFindsEachKindOfFault()
    {
        QFETCH(QString, messages);
        QFETCH(QString, problem);
        const TsFile english = parse(englishSample);
        QCOMPARE(english.messages.size(), 2);
        const TsFile file = parse((uR"(<?xml version="1.0" encoding="utf-8"?><!DOCTYPE TS>
            <TS version="2.1" language="pt_BR"><context><name></name>)"_s +
                                   messages + u"</context></TS>"_s)
                                      .toUtf8());
        const QStringList found = problems(english, file);
        if (problem.isEmpty()) {
            QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
        } else {
            QCOMPARE(found.size(), 1);
            QVERIFY2(found.first().startsWith(problem), qPrintable(found.first()));
        }
    }

    void everyLanguageHasEveryTextFinished_data()
    {
        QTest::addColumn<QString>("code");
        const QStringList codes =
            TranslationCatalogue::parseLinguas(read(translationsDir() + u"/LINGUAS"_s));
        QVERIFY(codes.contains(u"en"_s));
        for (const QString& code : codes)
            QTest::newRow(qPrintable(code)) << code;
    }

    void everyLanguageHasEveryTextFinished()
    {
        QFETCH(QString, code);
        const TsFile english = parse(read(translationsDir() + u"/tessel_en.ts"_s));
        QVERIFY(english.messages.size() > 100);
        const TsFile file = parse(read(translationsDir() + u"/tessel_"_s + code + u".ts"_s));
        const QStringList found = problems(english, file);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }

    void theBuildCarriesEveryLanguage()
    {
        const QStringList codes =
            TranslationCatalogue::parseLinguas(read(translationsDir() + u"/LINGUAS"_s));
        const TranslationCatalogue builtIn =
            TranslationCatalogue::load(TranslationCatalogue::builtInDirectory());
        QCOMPARE(builtIn.codes(), codes);
        for (const QString& code : codes)
            QCOMPARE(builtIn.text(code, "language_name").isEmpty(), false);
    }
};

QTEST_GUILESS_MAIN(TestTranslationFiles)
#include "test_translation_files.moc"
