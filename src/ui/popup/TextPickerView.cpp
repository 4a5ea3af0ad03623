// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/TextPickerView.h"

#include "localization/LanguageManager.h"
#include "pickers/SearchText.h"
#include "ui/popup/PickerGridModel.h"
#include "ui/style/UiFonts.h"

#include <QVBoxLayout>

namespace tessel {

namespace {
// What the two pickers share: titled sections in adaptive columns, 6 points apart.
PickerGridLayout sectionLayout(int minimumColumnWidth, int cellHeight, const QFont& titleFont)
{
    PickerGridLayout layout;
    layout.columnWidth = minimumColumnWidth;
    layout.columns = 0;
    layout.columnSpacing = 6;
    layout.rowSpacing = 6;
    layout.cellHeight = cellHeight;
    layout.padding = QMargins(12, 12, 12, 12);
    layout.sectionSpacing = 14;
    layout.titleSpacing = 6;
    layout.titleHeight = QFontMetrics(titleFont).height();
    return layout;
}

PickerCellStyle cellStyle(QSize cellSize, int fontSize)
{
    PickerCellStyle style;
    style.cellSize = cellSize;
    style.font = uiFont(fontSize, QFont::Medium);
    style.cornerRadius = 6;
    style.strokeOpacity = 0.08;
    style.titleFont = uiFont(11, QFont::Bold);
    style.titleInset = 4;
    return style;
}
} // namespace

TextPickerView::TextPickerView(QList<TextCategory> categories, const PickerGridLayout& layout,
                               const PickerCellStyle& style, LanguageManager& language,
                               const QString& searchText, QWidget* parent)
    : QWidget(parent)
    , m_categories(std::move(categories))
    , m_language(language)
    , m_searchText(searchText)
    , m_model(new PickerGridModel(this))
    , m_grid(new PickerGridView(layout, this))
{
    m_grid->setItemDelegate(new PickerCellDelegate(style, m_grid));
    m_grid->setGridModel(m_model);
    // A cell may be too narrow for a long face: the tooltip shows it whole.
    m_model->setToolTipProvider([](const PickerGridItem& item) { return item.text; });
    connect(m_grid, &PickerGridView::cellActivated, this, [this](int row) {
        if (m_model->isCell(row))
            Q_EMIT picked(m_model->item(row).text);
    });
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->addWidget(m_grid);
    refresh();
}

void TextPickerView::setSearchText(const QString& text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    refresh();
}

void TextPickerView::refresh()
{
    m_shown = filteredCategories(m_categories, m_searchText, m_language);
    QList<PickerGridItem> items;
    for (const TextCategory& category : std::as_const(m_shown)) {
        items.append(PickerGridItem::makeTitle(m_language.string(category.titleKey)));
        for (const QString& text : category.items)
            items.append({PickerGridItem::Kind::cell, text, -1});
    }
    m_model->setItems(std::move(items));
    m_grid->setHighlightsFirstCell(!SearchText::textPickerQuery(m_searchText).isEmpty());
}

bool TextPickerView::handlePopupKey(const QKeyEvent& event)
{
    return m_grid->handlePopupKey(event);
}

KaomojiPickerView::KaomojiPickerView(LanguageManager& language, const QString& searchText,
                                     QWidget* parent)
    : TextPickerView(kaomojiCategories(),
                     sectionLayout(scaled(90),
                                   QFontMetrics(uiFont(12, QFont::Medium)).height() + 12,
                                   uiFont(11, QFont::Bold)),
                     cellStyle(QSize(), 12), language, searchText, parent)
{}

SymbolsPickerView::SymbolsPickerView(LanguageManager& language, const QString& searchText,
                                     QWidget* parent)
    : TextPickerView(symbolCategories(),
                     sectionLayout(scaled(36), scaled(36), uiFont(11, QFont::Bold)),
                     cellStyle(scaled(QSize(36, 36)), 14), language, searchText, parent)
{}

} // namespace tessel
