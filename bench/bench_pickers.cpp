// SPDX-License-Identifier: GPL-3.0-or-later
// The emoji catalogue: loading emoji.json, and one search keystroke over the whole catalogue for
// every prefix (1 to 6 letters) of a few common words in the three languages. Also the kaomoji
// and symbol filters, which look up their titles at every keystroke, and the form a search
// compares a long text in (lower-cased, accents dropped) next to the former one (lower-cased,
// composed).
#include "BenchUtil.h"
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "pickers/EmojiCatalogue.h"
#include "pickers/EmojiFilter.h"
#include "pickers/EmojiStore.h"
#include "pickers/SearchText.h"
#include "pickers/TextCollections.h"
#include "support/TempHome.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

const QStringList words{u"heart"_s,   u"smile"_s, u"face"_s,    u"flag"_s,  u"cat"_s,
                        u"coração"_s, u"gato"_s,  u"corazón"_s, u"fuego"_s, u"party"_s,
                        u"hand"_s,    u"sun"_s,   u"food"_s,    u"rosto"_s, u"bandera"_s};

QStringList keystrokes()
{
    QStringList queries;
    for (const QString& word : words) {
        for (qsizetype length = 1; length <= std::min<qsizetype>(6, word.size()); ++length)
            queries << word.first(length);
    }
    return queries;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString path = EmojiStore::defaultCataloguePath();

    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    std::printf("emoji.json: %lld bytes\n", static_cast<long long>(bytes.size()));

    bench::report("bare QJsonDocument parse of emoji.json (median of 50)",
                  bench::medianMicros(50,
                                      [&] {
                                          volatile bool ok =
                                              QJsonDocument::fromJson(bytes).isArray();
                                          (void)ok;
                                      }) /
                      1000.0,
                  "ms");
    bench::report("EmojiCatalogue::load of emoji.json, index built (median of 50)",
                  bench::medianMicros(50,
                                      [&] {
                                          volatile auto n =
                                              EmojiCatalogue::load(path).catalogue.size();
                                          (void)n;
                                      }) /
                      1000.0,
                  "ms");

    const EmojiCatalogue catalogue = EmojiCatalogue::load(path).catalogue;
    std::printf("catalogue: %lld emoji\n", static_cast<long long>(catalogue.size()));
    const QStringList queries = keystrokes();
    double worst = 0;
    double total = 0;
    QString worstQuery;
    for (const QString& query : queries) {
        const double micros = bench::medianMicros(21, [&] {
            volatile auto n = EmojiFilter::visibleEmojis(catalogue, query, std::nullopt).size();
            (void)n;
        });
        total += micros;
        if (micros > worst) {
            worst = micros;
            worstQuery = query;
        }
    }
    std::printf("%lld keystrokes (prefixes of %lld words)\n",
                static_cast<long long>(queries.size()), static_cast<long long>(words.size()));
    bench::report("emoji search keystroke, mean over the prefixes", total / queries.size() / 1000.0,
                  "ms");
    bench::report(qPrintable(u"emoji search keystroke, slowest prefix (\"%1\")"_s.arg(worstQuery)),
                  worst / 1000.0, "ms");
    bench::report("empty search: all 1870 rows (median of 101)",
                  bench::medianMicros(
                      101,
                      [&] {
                          volatile auto n =
                              EmojiFilter::visibleEmojis(catalogue, QString(), std::nullopt).size();
                          (void)n;
                      }) /
                      1000.0,
                  "ms");

    test::TempHome home;
    SettingsStore settings(SettingsStore::defaultFilePath());
    settings.set(settings::appLanguage, u"system"_s);
    const LanguageManager languages(settings);
    const auto kaomoji = kaomojiCategories();
    const auto symbols = symbolCategories();
    bench::report("kaomoji + symbols filter, one keystroke (median of 101)",
                  bench::medianMicros(
                      101,
                      [&] {
                          volatile auto n = filteredCategories(kaomoji, u"o"_s, languages).size() +
                                            filteredCategories(symbols, u"r"_s, languages).size();
                          (void)n;
                      }) /
                      1000.0,
                  "ms");

    // A megabyte of text of three kinds: plain ASCII, Portuguese prose, and a letter under a
    // pile of combining marks (what a hostile web page can put on the clipboard).
    const std::pair<const char*, QString> texts[] = {
        {"ASCII", u"Copied text number 4321: a sentence of ordinary length. "_s.repeated(18000)},
        {"Portuguese", u"Coração, ação e informação não são só palavras à toa. "_s.repeated(18000)},
        {"marks", u"e"_s + QString(1000000, QChar(0x0301))}};
    for (const auto& [kind, text] : texts) {
        bench::report(qPrintable(u"search form of 1 MB of %1 text (median of 11)"_s.arg(
                          QLatin1StringView(kind))),
                      bench::medianMicros(11,
                                          [&] {
                                              volatile auto n = SearchText::comparable(text).size();
                                              (void)n;
                                          }) /
                          1000.0,
                      "ms");
        bench::report(qPrintable(u"  the former form (lower-cased, NFC) of the same"_s),
                      bench::medianMicros(
                          11,
                          [&] {
                              volatile auto n =
                                  text.toLower().normalized(QString::NormalizationForm_C).size();
                              (void)n;
                          }) /
                          1000.0,
                      "ms");
    }
    return 0;
}
