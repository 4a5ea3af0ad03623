// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/ClipboardListView.h"

#include "clipboard/ClipboardManager.h"
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListModel.h"
#include "ui/popup/EntryPreview.h"
#include "ui/popup/HistoryListAccessible.h"
#include "ui/popup/HistoryRowView.h"
#include "ui/popup/TabButton.h"
#include "ui/style/FocusRing.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"
#include "ui/widgets/ConfirmationSheet.h"
#include "ui/widgets/OverlayScrollBar.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStackedLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

ClipboardListView::ClipboardListView(ClipboardManager& manager, LanguageManager& language,
                                     SettingsStore& settings, bool showFavoritesOnly,
                                     QWidget* parent)
    : QWidget(parent)
    , m_manager(manager)
    , m_language(language)
    , m_settings(settings)
    , m_favoritesOnly(showFavoritesOnly)
    , m_model(new ClipboardListFilter(new ClipboardListModel(manager, language, this),
                                      showFavoritesOnly, this))
    , m_rows(new HistoryRowView(language, manager.images()))
    , m_list(new QListView(this))
    //% "Clear all"
    , m_clear(new QPushButton(language.string("clear_all"), this))
    , m_stack(new QStackedLayout)
{
    auto* title = new QLabel(language.string(
        TabButton::titleId(showFavoritesOnly ? PopupTab::favorites : PopupTab::clipboard)));
    title->setFont(uiFont(12, QFont::Bold));
    m_clear->setFont(uiFont(11, QFont::Medium));
    m_clear->setCursor(Qt::PointingHandCursor);
    connect(m_clear, &QPushButton::clicked, this, &ClipboardListView::clearRequested);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(14, 8, 14, 8);
    header->setSpacing(6);
    header->addWidget(title);
    header->addStretch(1);
    header->addWidget(m_clear);

    installHistoryListAccessibility();
    m_rows->setParent(m_list);
    m_list->setItemDelegate(m_rows);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The bar floats in the right-hand padding, so the cards stay centred.
    new OverlayScrollBar(m_list);
    // Rows are laid out in batches, so a long history shows its first rows at once.
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(40);
    m_list->setResizeMode(QListView::Adjust);
    // Only now: with a model, changing the scroll or layout mode above lays out every row at once,
    // which at 10,000 entries costs more than the rest of the opening.
    m_list->setModel(m_model);
    // The cards are translucent: the list paints the window's colour beneath them.
    m_list->setBackgroundRole(QPalette::Window);
    m_list->viewport()->setBackgroundRole(QPalette::Window);
    m_list->viewport()->setAutoFillBackground(true);
    connect(m_rows, &HistoryRowView::chosen, this,
            [this](const QModelIndex& index) { choose(index.row()); });
    connect(m_rows, &HistoryRowView::pinToggled, this,
            [this](const QModelIndex& index) { togglePin(m_model->entryAt(index.row())); });
    connect(m_rows, &HistoryRowView::menuRequested, this, &ClipboardListView::showRowMenu);

    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ClipboardListView::updateEmptyState);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &ClipboardListView::updateEmptyState);
    connect(m_model, &QAbstractItemModel::modelReset, this, &ClipboardListView::updateEmptyState);
    connect(m_model, &QAbstractItemModel::layoutChanged, this,
            &ClipboardListView::updateEmptyState);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            &ClipboardListView::checkPreviewedEntry);
    connect(m_model, &QAbstractItemModel::modelReset, this,
            &ClipboardListView::checkPreviewedEntry);
    connect(m_model, &QAbstractItemModel::layoutChanged, this,
            &ClipboardListView::checkPreviewedEntry);

    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(hoverDelayMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, [this] {
        if (m_hovered.isValid())
            showPreview(m_hovered.row(), false);
    });
    m_list->viewport()->installEventFilter(this);
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        // The row under a resting pointer has moved on.
        if (!m_previewByKey)
            hidePreview();
        m_hovered = QPersistentModelIndex();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(header);
    layout->addLayout(m_stack, 1);
    m_stack->addWidget(buildEmptyState());
    m_stack->addWidget(m_list);

    m_sheet = new ConfirmationSheet(
        //% "Clear history?"
        language.string("clear_history_title"),
        //% "All unpinned items will be removed."
        language.string("clear_history_sub"),
        //% "Cancel"
        language.string("cancel"),
        //% "Clear"
        language.string("clear"), this);
    connect(m_sheet, &ConfirmationSheet::confirmed, this, [this] { m_manager.clearAll(); });
    m_model->setKeyboardSelectedRow(0);
    updateEmptyState();
    applyColours();
}

QWidget* ClipboardListView::buildEmptyState()
{
    auto* empty = new QWidget(this);
    m_emptyIcon = new QLabel;
    m_emptyIcon->setAlignment(Qt::AlignCenter);
    m_emptyTitle = new QLabel;
    m_emptyTitle->setFont(uiFont(13, QFont::DemiBold));
    m_emptyTitle->setAlignment(Qt::AlignCenter);
    //% "Your pinned favorite items will appear here."
    const char* favoritesHint = QT_TRID_NOOP("empty_favorites_sub");
    //% "Copy items (Ctrl+C) to see them appear here."
    const char* historyHint = QT_TRID_NOOP("empty_clipboard_sub");
    m_emptySubtitle = new QLabel(m_language.string(m_favoritesOnly ? favoritesHint : historyHint));
    m_emptySubtitle->setFont(uiFont(11));
    m_emptySubtitle->setWordWrap(true);
    m_emptySubtitle->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(empty);
    layout->setContentsMargins(24, 0, 24, 24);
    layout->setSpacing(10);
    layout->addStretch(1);
    layout->addWidget(m_emptyIcon);
    layout->addWidget(m_emptyTitle);
    layout->addWidget(m_emptySubtitle);
    layout->addStretch(1);
    empty->setObjectName(u"emptyState"_s);
    return empty;
}

void ClipboardListView::applyColours()
{
    // The view is usually built before it joins the popup: its colours follow the palette it
    // has now, and again whenever that palette changes.
    if (!m_emptyIcon)
        return;
    const QPalette pal = palette();
    m_clear->setStyleSheet(
        u"QPushButton { padding: 4px 12px; border-radius: 6px; background: %1; color: %2;"
        " border: 1px solid %3; }"
        " QPushButton:hover { background: %4; }"
        " QPushButton:pressed { background: %5; }"_s.arg(
            Theme::withOpacity(pal.color(QPalette::Window), 0.8).name(QColor::HexArgb),
            Theme::primary(pal).name(),
            Theme::withOpacity(Theme::primary(pal), 0.12).name(QColor::HexArgb),
            Theme::withOpacity(Theme::primary(pal), 0.08).name(QColor::HexArgb),
            Theme::withOpacity(Theme::primary(pal), 0.14).name(QColor::HexArgb)) +
        focusRingStyle(pal, 6));
    m_emptyIcon->setPixmap(IconProvider::pixmap(m_model->isSearching() ? u"magnifyingglass"_s
                                                : m_favoritesOnly      ? u"heart"_s
                                                                       : u"doc.on.clipboard"_s,
                                                34, Theme::tertiary(pal), devicePixelRatioF()));
    const auto tint = [](QLabel* label, const QColor& colour) {
        QPalette labelPalette = label->palette();
        labelPalette.setColor(QPalette::WindowText, colour);
        label->setPalette(labelPalette);
    };
    tint(m_emptyTitle, Theme::secondary(pal));
    tint(m_emptySubtitle, Theme::tertiary(pal));
}

void ClipboardListView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The thumbnails kept are those of a few screens of rows, whatever the length of the history:
    // enough to scroll back without waiting for them again.
    constexpr qsizetype kScreensKept = 3;
    const qreal scale = devicePixelRatioF();
    m_manager.images().setCacheLimit(kScreensKept * qsizetype(width() * scale) *
                                     qsizetype(height() * scale) * 4);
}

void ClipboardListView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange)
        applyColours();
    QWidget::changeEvent(event);
}

bool ClipboardListView::isShowingEmptyState() const
{
    return m_stack->currentIndex() == 0;
}

void ClipboardListView::updateEmptyState()
{
    const bool empty = m_model->rowCount() == 0;
    if (empty) {
        // A search that finds nothing says so, rather than inviting the user to copy something.
        const bool searching = m_model->isSearching();
        //% "No matches"
        const char* noMatches = QT_TRID_NOOP("search_no_matches");
        //% "Your clipboard is empty"
        const char* emptyHistory = QT_TRID_NOOP("empty_clipboard");
        m_emptyTitle->setText(m_language.string(searching ? noMatches
                                                : m_favoritesOnly
                                                    ? TabButton::titleId(PopupTab::favorites)
                                                    : emptyHistory));
        m_emptySubtitle->setVisible(!searching);
        applyColours();
    }
    m_stack->setCurrentIndex(empty ? 0 : 1);
}

void ClipboardListView::setSelectedIndex(int index)
{
    m_selectedIndex = index;
    m_model->setKeyboardSelectedRow(index);
    if (index >= 0 && index < m_model->rowCount())
        m_list->scrollTo(m_model->index(index, 0), QAbstractItemView::PositionAtCenter);
    announceSelection();
}

void ClipboardListView::announceSelection()
{
    const QModelIndex index = m_model->index(m_selectedIndex, 0);
    if (!index.isValid())
        return;
    // The cards are drawn from the model's keyboard selection; the view's own selection is what
    // the accessibility tree reports as the selected row.
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    // Qt's list raises the focus event for its new current row itself, even while the search
    // field keeps the focus; the selection event is ours. A list's row is its child of the same
    // number.
    QAccessibleEvent event(m_list, QAccessible::Selection);
    event.setChild(index.row());
    QAccessible::updateAccessibility(&event);
}

void ClipboardListView::togglePin(const ClipboardEntryPtr& entry)
{
    if (!entry)
        return;
    m_manager.toggleFavorite(entry);
    // Unpinned on the favourites tab, the row leaves it.
    if (m_selectedIndex >= m_model->rowCount())
        setSelectedIndex(std::max(m_model->rowCount() - 1, 0));
}

void ClipboardListView::deleteEntry(const ClipboardEntryPtr& entry)
{
    if (!entry)
        return;
    m_manager.deleteEntry(entry);
    if (m_selectedIndex >= m_model->rowCount())
        setSelectedIndex(std::max(m_model->rowCount() - 1, 0));
    else
        announceSelection();
}

void ClipboardListView::setSearchText(const QString& searchText)
{
    const ClipboardEntryPtr selected = m_model->entryAt(m_selectedIndex);
    m_model->setSearchText(searchText);
    if (m_model->isSearching() || !selected) {
        setSelectedIndex(0);
        return;
    }
    setSelectedIndex(std::max(m_model->rowOf(selected), 0));
}

void ClipboardListView::choose(int row)
{
    if (const ClipboardEntryPtr entry = m_model->entryAt(row))
        Q_EMIT chosen(entry);
}

void ClipboardListView::clearRequested()
{
    if (m_settings.value(settings::confirmClear))
        m_sheet->present();
    else
        m_manager.clearAll();
}

void ClipboardListView::showRowMenu(const QModelIndex& index, const QPoint& globalPos)
{
    const ClipboardEntryPtr entry = m_model->entryAt(index.row());
    if (!entry)
        return;
    // Not a blocking exec(): a global shortcut can close the popup, and this view with it, while
    // the menu is open. Owned by the view, the menu then goes with it.
    delete m_rowMenu.data();
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // A menu is a window of its own: it takes the theme's palette only when given it.
    menu->setPalette(Theme::palette(Theme::schemeFor(m_settings.value(settings::themeMode))));
    menu->addAction(m_language.string(HistoryRowView::pinActionId(entry->isFavorite())), this,
                    [this, entry] { togglePin(entry); });
    menu->addSeparator();
    //% "Delete from history"
    menu->addAction(m_language.string("delete_item"), this, [this, entry] { deleteEntry(entry); });
    m_rowMenu = menu;
    menu->popup(globalPos);
}

void ClipboardListView::hoverAt(std::optional<QPoint> pos)
{
    const QModelIndex index = pos ? m_list->indexAt(*pos) : QModelIndex();
    if (index == m_hovered)
        return;
    m_hovered = index;
    if (!index.isValid()) {
        m_hoverTimer.stop();
        if (!m_previewByKey)
            hidePreview();
        return;
    }
    // Once one row is shown, the next follows the pointer at once, as tool tips do.
    if (isPreviewShown() && !m_previewByKey)
        showPreview(index.row(), false);
    else
        m_hoverTimer.start();
}

bool ClipboardListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list->viewport()) {
        // The preview shows the whole entry where a tool tip would repeat its first line.
        if (event->type() == QEvent::ToolTip)
            return true;
        if (event->type() == QEvent::MouseMove)
            hoverAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        else if (event->type() == QEvent::Leave)
            hoverAt(std::nullopt);
    }
    return QWidget::eventFilter(watched, event);
}

void ClipboardListView::hideEvent(QHideEvent* event)
{
    hidePreview();
    QWidget::hideEvent(event);
}

} // namespace tessel
