// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "ui/popup/ClipboardListFilter.h"
#include "ui/popup/ClipboardListModel.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/EntryPreview.h"
#include "ui/popup/HistoryRowView.h"
#include "ui/style/Theme.h"
#include "ui/widgets/ConfirmationSheet.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>

// The history list's keyboard: moving the selection, choosing, pinning and deleting a row, its
// menu, and the preview the keyboard opens and closes; the row actions that screen readers run
// too.
namespace tessel {

bool ClipboardListView::handlePopupKey(const QKeyEvent& event)
{
    if (m_sheet->isVisible()) {
        // The question is the innermost thing open: Escape answers it as Cancel does.
        if (event.key() != Qt::Key_Escape)
            return false;
        m_sheet->hide();
        return true;
    }
    const int count = m_model->rowCount();
    if (count == 0)
        return false;
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const auto moveTo = [this](int index) {
        setSelectedIndex(index);
        if (isPreviewShown() && m_previewByKey)
            showPreview(index, true);
    };
    switch (event.key()) {
    case Qt::Key_Down:
        moveTo(std::min(m_selectedIndex + 1, count - 1));
        return true;
    case Qt::Key_Up:
        moveTo(std::max(m_selectedIndex - 1, 0));
        return true;
    case previewKey:
        if (isPreviewShown())
            hidePreview();
        else if (m_selectedIndex >= 0 && m_selectedIndex < count)
            showPreview(m_selectedIndex, true);
        return true;
    case Qt::Key_Escape:
        if (!isPreviewShown())
            return false;
        hidePreview();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: // the keypad's Enter
        if (m_selectedIndex < 0 || m_selectedIndex >= count)
            return false;
        choose(m_selectedIndex);
        return true;
    case Qt::Key_Delete: {
        // Text after the search field's cursor, or selected in it, is the field's to delete.
        const auto* field = qobject_cast<const QLineEdit*>(window()->focusWidget());
        if (modifiers != Qt::NoModifier ||
            (field && (field->hasSelectedText() || field->cursorPosition() < field->text().size())))
            return false;
        perform(RowAction::remove, m_selectedIndex);
        return true;
    }
    case pinKey:
        if (modifiers != Qt::ControlModifier)
            return false;
        perform(RowAction::pin, m_selectedIndex);
        return true;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (event.key() == Qt::Key_F10 && modifiers != Qt::ShiftModifier)
            return false;
        perform(RowAction::menu, m_selectedIndex);
        return true;
    default:
        return false;
    }
}

bool ClipboardListView::isPreviewShown() const
{
    return m_preview && m_preview->entry();
}

void ClipboardListView::showPreview(int row, bool byKey)
{
    const QModelIndex index = m_model->index(row, 0);
    const ClipboardEntryPtr entry = m_model->entryAt(row);
    if (!entry) {
        hidePreview();
        return;
    }
    if (!m_preview)
        m_preview = new EntryPreview(m_language, this);
    // A window of its own: it takes the theme's palette only when given it.
    m_preview->setPalette(Theme::palette(Theme::schemeFor(m_settings.value(settings::themeMode))));
    m_previewByKey = byKey;
    const QRect rowRect = m_list->visualRect(index);
    const QRect anchor(m_list->viewport()->mapToGlobal(rowRect.topLeft()), rowRect.size());
    m_preview->showEntry(entry, anchor, window()->frameGeometry());
}

void ClipboardListView::hidePreview()
{
    m_hoverTimer.stop();
    if (m_preview)
        m_preview->dismiss();
}

void ClipboardListView::checkPreviewedEntry()
{
    if (isPreviewShown() && m_model->rowOf(m_preview->entry()) < 0)
        hidePreview();
}

void ClipboardListView::perform(RowAction action, int row)
{
    switch (action) {
    case RowAction::choose:
        choose(row);
        break;
    case RowAction::pin:
        togglePin(m_model->entryAt(row));
        break;
    case RowAction::remove:
        deleteEntry(m_model->entryAt(row));
        break;
    case RowAction::menu:
        showMenuAt(row);
        break;
    }
}

QString ClipboardListView::actionText(RowAction action, int row) const
{
    const ClipboardEntryPtr entry = m_model->entryAt(row);
    switch (action) {
    case RowAction::pin:
        return m_language.string(HistoryRowView::pinActionId(entry && entry->isFavorite()));
    case RowAction::remove:
        return m_language.string("delete_item");
    case RowAction::choose:
    case RowAction::menu:
        break;
    }
    // Pressing a row and opening its menu are actions every toolkit names.
    return {};
}

void ClipboardListView::showMenuAt(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        return;
    m_list->scrollTo(index);
    const QRect button = HistoryRowView::menuButtonRect(m_list->visualRect(index));
    showRowMenu(index, m_list->viewport()->mapToGlobal(button.bottomLeft()));
    // Opened from the keyboard, the menu starts on its first item, so Return runs it.
    if (m_rowMenu && !m_rowMenu->actions().isEmpty())
        m_rowMenu->setActiveAction(m_rowMenu->actions().constFirst());
}

} // namespace tessel
