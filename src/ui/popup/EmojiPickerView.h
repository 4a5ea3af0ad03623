// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pickers/Emoji.h"
#include "window/PopupKeyTarget.h"

#include <QList>
#include <QWidget>
#include <optional>

namespace tessel {

class CategoryButton;
class EmojiStore;
class LanguageManager;
class PickerGridModel;
class PickerGridView;

// The emoji tab: a bar of category buttons over a grid of emoji, with the recently used ones on
// top while nothing narrows the list. Choosing an emoji (a click, or Return on the keyboard's
// highlight) is announced with `chosen`; the application does the rest.
class EmojiPickerView : public QWidget, public PopupKeyTarget {
    Q_OBJECT

public:
    EmojiPickerView(EmojiStore& store, LanguageManager& language, const QString& searchText,
                    QWidget* parent = nullptr);

    const std::optional<QString>& selectedCategory() const { return m_selectedCategory; }
    // Selecting a category (none: all) ends any search.
    void selectCategory(const std::optional<QString>& category);
    // The all-categories button first, then one per category.
    const QList<CategoryButton*>& categoryButtons() const { return m_buttons; }
    PickerGridView* grid() const { return m_grid; }
    PickerGridModel* model() const { return m_model; }
    bool showsRecents() const { return m_showsRecents; }
    // The emoji of the grid row `row`, or nothing for a title.
    std::optional<Emoji> emojiAt(int row) const;

    bool handlePopupKey(const QKeyEvent& event) override;

public Q_SLOTS:
    void setSearchText(const QString& text);

Q_SIGNALS:
    void chosen(const tessel::Emoji& emoji);
    // A category click asks the search field to empty itself.
    void searchClearRequested();

private:
    QWidget* buildCategoryBar();
    void refresh();
    std::optional<Emoji> emojiFor(qsizetype source) const;
    QString toolTipFor(const Emoji& emoji) const;

    EmojiStore& m_store;
    LanguageManager& m_language;
    QString m_searchText;
    std::optional<QString> m_selectedCategory;
    QList<CategoryButton*> m_buttons;
    PickerGridModel* m_model;
    PickerGridView* m_grid;
    bool m_showsRecents = false;
};

} // namespace tessel
