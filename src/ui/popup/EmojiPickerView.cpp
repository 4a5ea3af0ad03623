// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/EmojiPickerView.h"

#include "localization/LanguageManager.h"
#include "pickers/EmojiCategories.h"
#include "pickers/EmojiFilter.h"
#include "pickers/EmojiStore.h"
#include "pickers/SearchText.h"
#include "ui/popup/CategoryButton.h"
#include "ui/popup/PickerCellDelegate.h"
#include "ui/popup/PickerGridModel.h"
#include "ui/popup/PickerGridView.h"
#include "ui/style/UiFonts.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr int kCell = 38;
constexpr int kColumns = 7;

// Recents are kept apart from catalogue rows in a grid row's source.
qsizetype recentSource(qsizetype index)
{
    return -2 - index;
}
} // namespace

EmojiPickerView::EmojiPickerView(EmojiStore& store, LanguageManager& language,
                                 const QString& searchText, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_language(language)
    , m_searchText(searchText)
    , m_model(new PickerGridModel(this))
{
    // The cells grow with the emoji, which grow with the desktop's font.
    const int cell = scaled(kCell);
    PickerCellStyle style;
    style.cellSize = QSize(cell, cell);
    style.font = emojiFont(20);
    style.cornerRadius = 8;
    style.strokeOpacity = 0.06;
    style.titleFont = uiFont(10, QFont::Bold);
    style.titleInset = 2;
    style.cacheGlyphs = true;

    PickerGridLayout layout;
    layout.columnWidth = cell;
    layout.columns = kColumns;
    layout.columnSpacing = 4;
    layout.rowSpacing = 4;
    layout.cellHeight = cell;
    layout.padding = QMargins(12, 6, 12, 6);
    layout.sectionSpacing = 10;
    layout.titleSpacing = 4;
    layout.titleHeight = QFontMetrics(style.titleFont).height();

    m_grid = new PickerGridView(layout, this);
    m_grid->setItemDelegate(new PickerCellDelegate(style, m_grid));
    m_grid->setGridModel(m_model);
    m_model->setToolTipProvider([this](const PickerGridItem& item) {
        const auto emoji = emojiFor(item.source);
        return emoji ? toolTipFor(*emoji) : QString();
    });
    connect(m_grid, &PickerGridView::cellActivated, this, [this](int row) {
        if (auto emoji = emojiAt(row))
            Q_EMIT chosen(*emoji);
    });

    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(buildCategoryBar());
    stack->addWidget(m_grid, 1);

    connect(&m_store, &EmojiStore::recentEmojisChanged, this, &EmojiPickerView::refresh);
    refresh();
}

QWidget* EmojiPickerView::buildCategoryBar()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 4, 12, 4);
    layout->setSpacing(4);
    const auto add = [&](const QString& symbol, const std::optional<QString>& category,
                         const char* titleId) {
        auto* button = new CategoryButton(symbol, row);
        button->setToolTip(m_language.string(titleId));
        button->setAccessibleName(button->toolTip());
        button->setSelected(category == m_selectedCategory);
        connect(button, &QAbstractButton::clicked, this,
                [this, category] { selectCategory(category); });
        layout->addWidget(button);
        m_buttons.append(button);
    };
    add(allEmojiCategoriesIcon, std::nullopt, "all_emojis");
    for (const EmojiCategory& category : emojiCategories)
        add(category.icon.isEmpty() ? QString(defaultEmojiCategoryIcon) : QString(category.icon),
            QString(category.name), category.titleId);
    layout->addStretch(1);

    auto* bar = new QScrollArea;
    bar->setWidget(row);
    bar->setWidgetResizable(true);
    bar->setFrameShape(QFrame::NoFrame);
    bar->setFixedHeight(38);
    bar->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bar->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setBackgroundRole(QPalette::Window);
    row->setBackgroundRole(QPalette::Window);
    return bar;
}

void EmojiPickerView::selectCategory(const std::optional<QString>& category)
{
    m_selectedCategory = category;
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        const bool all = i == 0;
        m_buttons.at(i)->setSelected(
            all ? !category : category && *category == QString(emojiCategories.at(i - 1).name));
    }
    if (!m_searchText.isEmpty()) {
        m_searchText.clear();
        // The field's change comes back through setSearchText, which refreshes once more.
        Q_EMIT searchClearRequested();
    }
    refresh();
}

void EmojiPickerView::setSearchText(const QString& text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    refresh();
}

std::optional<Emoji> EmojiPickerView::emojiAt(int row) const
{
    if (!m_model->isCell(row))
        return std::nullopt;
    return emojiFor(m_model->item(row).source);
}

std::optional<Emoji> EmojiPickerView::emojiFor(qsizetype source) const
{
    if (source >= 0 && source < m_store.emojis().size())
        return m_store.emojis().at(source);
    const qsizetype recent = -2 - source;
    if (recent >= 0 && recent < m_store.recentEmojis().size())
        return m_store.recentEmojis().at(recent);
    return std::nullopt;
}

QString EmojiPickerView::toolTipFor(const Emoji& emoji) const
{
    const QString name = m_store.name(emoji.character, m_language.activeLanguageCode());
    return name.isEmpty() ? emoji.character : name;
}

void EmojiPickerView::refresh()
{
    const QList<qsizetype> rows =
        EmojiFilter::visibleEmojis(m_store.catalogue(), m_searchText, m_selectedCategory);
    m_showsRecents = EmojiFilter::showsRecents(!m_store.recentEmojis().isEmpty(), m_searchText,
                                               m_selectedCategory);
    QList<PickerGridItem> items;
    items.reserve(rows.size() + (m_showsRecents ? m_store.recentEmojis().size() + 2 : 0));
    if (m_showsRecents) {
        //% "Recently used"
        items.append(PickerGridItem::makeTitle(m_language.string("recent_emojis")));
        const QList<Emoji>& recents = m_store.recentEmojis();
        for (qsizetype i = 0; i < recents.size(); ++i) {
            items.append({PickerGridItem::Kind::cell, recents.at(i).character, recentSource(i)});
        }
        //% "All emojis"
        items.append(PickerGridItem::makeTitle(m_language.string("all_emojis")));
    }
    const QList<Emoji>& emojis = m_store.emojis();
    for (const qsizetype row : rows)
        items.append({PickerGridItem::Kind::cell, emojis.at(row).character, row});
    m_model->setItems(std::move(items));
    m_grid->setHighlightsFirstCell(!SearchText::emojiQuery(m_searchText).isEmpty());
}

bool EmojiPickerView::handlePopupKey(const QKeyEvent& event)
{
    return m_grid->handlePopupKey(event);
}

} // namespace tessel
