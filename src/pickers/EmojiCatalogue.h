// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pickers/Emoji.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tessel {

// The whole emoji catalogue as one flat list in data order, with what a grid view and the search
// need to answer cheaply: the rows of each category and a search index. Immutable once built;
// rows are indices into `emojis()`.
class EmojiCatalogue {
public:
    EmojiCatalogue() = default;
    explicit EmojiCatalogue(QList<Emoji> emojis);

    struct LoadResult;

    // Reads a catalogue file (a path or a Qt resource path). A missing file or a document of the
    // wrong shape gives an empty catalogue and no error; a read or JSON failure gives an empty
    // catalogue and the error's description.
    static LoadResult load(const QString& path);
    // The JSON part of `load`: the top level must be an array whose elements are all objects;
    // records without a string "char" or "category" are skipped.
    static LoadResult parse(const QByteArray& json);

    const QList<Emoji>& emojis() const { return m_emojis; }
    qsizetype size() const { return m_emojis.size(); }
    bool isEmpty() const { return m_emojis.isEmpty(); }
    const Emoji& at(qsizetype row) const { return m_emojis.at(row); }

    // The rows whose category is exactly `category`, in catalogue order.
    QList<qsizetype> rowsInCategory(const QString& category) const;

    // The rows, in catalogue order, whose character contains `query` or one of whose keywords
    // contains it. `query` must be in SearchText::comparable form; an empty query matches
    // every row.
    QList<qsizetype> search(const QString& query) const;

private:
    QList<qsizetype> searchKeywordsOneByOne(const QString& query) const;

    QList<Emoji> m_emojis;
    // Every row's keywords in comparable form, each preceded by a separator, row after row:
    // one substring scan answers a query for the whole catalogue.
    QString m_keywordText;
    // Where each row's keywords start in m_keywordText, plus the end.
    QList<qsizetype> m_keywordStart;
    QStringList m_comparableCharacters;
    QHash<QString, QList<qsizetype>> m_rowsByCategory;
};

struct EmojiCatalogue::LoadResult {
    EmojiCatalogue catalogue;
    std::optional<QString> error;
};

} // namespace tessel
