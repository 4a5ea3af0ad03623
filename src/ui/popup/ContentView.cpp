// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/ContentView.h"

#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "permissions/PermissionManager.h"
#include "permissions/PlatformNotice.h"
#include "ui/popup/ClipboardListView.h"
#include "ui/popup/EmojiPickerView.h"
#include "ui/popup/PermissionOnboardingView.h"
#include "ui/popup/TabButton.h"
#include "ui/popup/TextPickerView.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"
#include "ui/widgets/AccessibleRole.h"
#include "ui/widgets/SearchBar.h"
#include "ui/widgets/SymbolButton.h"
#include "window/PopupWindow.h"
#include "window/WindowController.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// The tab a tab-switching chord asks for: Ctrl+Tab and Ctrl+PageDown the next one,
// Ctrl+Shift+Tab and Ctrl+PageUp the previous one (both round the ends), Alt+1 to Alt+5 one of
// them. Nothing for any other key: none of these chords types into the search field.
std::optional<PopupTab> tabForChord(const QKeyEvent& event, PopupTab active)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int count = int(allPopupTabs.size());
    const int current =
        int(std::find(allPopupTabs.begin(), allPopupTabs.end(), active) - allPopupTabs.begin());
    int step = 0;
    const bool control = modifiers == Qt::ControlModifier;
    const bool controlShift = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if (control && (event.key() == Qt::Key_Tab || event.key() == Qt::Key_PageDown))
        step = 1;
    else if ((control && (event.key() == Qt::Key_PageUp || event.key() == Qt::Key_Backtab)) ||
             (controlShift && (event.key() == Qt::Key_Backtab || event.key() == Qt::Key_Tab)))
        step = -1;
    else if (modifiers == Qt::AltModifier && event.key() >= Qt::Key_1 &&
             event.key() < Qt::Key_1 + count)
        return allPopupTabs.at(size_t(event.key() - Qt::Key_1));
    if (step == 0)
        return std::nullopt;
    return allPopupTabs.at(size_t((current + step + count) % count));
}

// The popup's outline, drawn over the children: the list and the onboarding fill their own
// backgrounds, which would otherwise cover it along the edges and the rounded corners.
class FrameBorder : public QWidget {
public:
    explicit FrameBorder(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QPainterPath shape;
        shape.addRoundedRect(frame, PopupWindow::cornerRadius, PopupWindow::cornerRadius);
        QLinearGradient border(frame.topLeft(), frame.bottomRight());
        const bool dark = Theme::isDark(palette());
        const QColor edge = dark ? QColor(Qt::white) : QColor(Qt::black);
        border.setColorAt(0, Theme::withOpacity(edge, dark ? 0.35 : 0.18));
        border.setColorAt(1, Theme::withOpacity(edge, dark ? 0.08 : 0.10));
        painter.setPen(QPen(QBrush(border), 1));
        painter.drawPath(shape);
    }
};
} // namespace

ContentView::ContentView(PopupContext context, PopupTab initialTab, QWidget* parent)
    : QWidget(parent)
    , m_context(std::move(context))
    , m_activeTab(initialTab)
    , m_layout(new QVBoxLayout(this))
{
    setFixedSize(PopupWindow::contentSize());
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    Theme::apply(this, m_context.settings.value(settings::themeMode));
    m_frame = new FrameBorder(this);
    m_frame->setGeometry(rect());
    rebuild();

    connect(&m_context.language, &LanguageManager::languageChanged, this, &ContentView::rebuild);
    connect(&m_context.settings, &SettingsStore::changed, this, [this](const QString& key) {
        if (key == settings::seenPlatformNotes.name) {
            // Queued: the dismissal comes from a button of the view that the rebuild replaces.
            QMetaObject::invokeMethod(this, &ContentView::rebuildBody, Qt::QueuedConnection);
            return;
        }
        if (key != settings::themeMode.name)
            return;
        const QString mode = m_context.settings.value(settings::themeMode);
        Theme::apply(this, mode);
        syncWindowAppearance(mode);
        rebuild();
    });
    connect(&m_context.permissions, &PermissionManager::accessibilityGrantedChanged, this,
            &ContentView::rebuildBody);
}

void ContentView::rebuild()
{
    m_identity = m_context.settings.value(settings::themeMode) + u'-' +
                 m_context.language.activeLanguageCode();
    ++m_builds;
    m_builtWindowColour = palette().color(QPalette::Window);
    clearBody();
    delete m_header;
    m_header = buildHeader();
    m_layout->insertWidget(0, m_header);
    rebuildBody();
    update();
}

void ContentView::clearBody()
{
    delete m_body;
    m_body = nullptr;
    m_tabButtons.clear();
}

void ContentView::rebuildBody()
{
    clearBody();
    m_body = new QWidget(this);
    m_bodyLayout = new QVBoxLayout(m_body);
    m_bodyLayout->setContentsMargins(0, 0, 0, 0);
    m_bodyLayout->setSpacing(0);
    m_layout->addWidget(m_body, 1);

    PlatformNotice notice(m_context.settings, m_context.permissions);
    const bool granted = m_context.permissions.isAccessibilityGranted();
    if (!granted || notice.isPending()) {
        using Form = PermissionOnboardingView::Form;
        auto* onboarding = new PermissionOnboardingView(
            m_context.permissions, m_context.language,
            granted ? Form::platformNotice : Form::permission, m_context.desktopShortcuts);
        connect(onboarding, &PermissionOnboardingView::dismissed, this,
                [this] { PlatformNotice(m_context.settings, m_context.permissions).dismiss(); });
        m_onboarding = onboarding;
        m_bodyLayout->addWidget(m_onboarding, 1);
        m_body->show();
        m_frame->raise();
        // Return, or Space, carries on from the informational form.
        setFocusProxy(granted ? onboarding->dismissButton() : nullptr);
        if (granted)
            onboarding->dismissButton()->setFocus();
        return;
    }
    m_bodyLayout->addWidget(buildTabRow());
    m_searchBar = new SearchBar(m_context.language.string(searchHintId(m_activeTab)), searchText());
    //% "Clear search"
    m_searchBar->setClearButtonName(m_context.language.string("clear_search"));
    connect(m_searchBar, &SearchBar::textChanged, this,
            [this](const QString& text) { m_searchTexts[searchScope(m_activeTab)] = text; });
    m_bodyLayout->addWidget(m_searchBar);
    auto* divider = new QFrame;
    divider->setFixedHeight(1);
    divider->setStyleSheet(u"background: %1;"_s.arg(
        Theme::withOpacity(Theme::primary(palette()), 0.4 * 0.25).name(QColor::HexArgb)));
    m_bodyLayout->addWidget(divider);
    m_tabContent = buildTabContent(m_activeTab);
    m_bodyLayout->addWidget(m_tabContent, 1);
    m_body->show();
    m_frame->raise();
    // The popup gives the keyboard to its content's focus proxy: typing goes to the search field.
    setFocusProxy(m_searchBar);
    m_searchBar->setFocus();
}

QWidget* ContentView::buildHeader()
{
    auto* header = new QWidget(this);
    //% "Tessel Clipboard"
    auto* title = new QLabel(m_context.language.string("header_title"), header);
    if (window() != this)
        window()->setAccessibleName(title->text());
    title->setFont(uiFont(13, QFont::DemiBold));
    auto* preferences = new SymbolButton(u"gearshape"_s, 11, 6, header);
    auto* close = new SymbolButton(u"xmark"_s, 11, 6, header);
    //% "Preferences…"
    preferences->setToolTip(m_context.language.string("menu_preferences"));
    preferences->setAccessibleName(preferences->toolTip());
    //% "Close"
    close->setToolTip(m_context.language.string("close_popup"));
    close->setAccessibleName(close->toolTip());
    connect(preferences, &QAbstractButton::clicked, this, [this] {
        if (m_context.openPreferences)
            m_context.openPreferences();
        else
            m_context.windowController.close(true);
    });
    connect(close, &QAbstractButton::clicked, this,
            [this] { m_context.windowController.close(true); });
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(14, 10, 14, 6);
    layout->setSpacing(6);
    layout->addWidget(title);
    layout->addStretch(1);
    layout->addWidget(preferences);
    layout->addWidget(close);
    return header;
}

QWidget* ContentView::buildTabRow()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(12, 0, 12, 6);
    layout->setSpacing(4);
    for (PopupTab tab : allPopupTabs) {
        auto* button = new TabButton(tab, row);
        button->setActive(tab == m_activeTab);
        button->setToolTip(m_context.language.string(TabButton::titleId(tab)));
        button->setAccessibleName(button->toolTip());
        connect(button, &QAbstractButton::clicked, this, [this, tab] { setActiveTab(tab); });
        layout->addWidget(button, 1);
        m_tabButtons.append(button);
    }
    return row;
}

QWidget* ContentView::buildTabContent(PopupTab tab)
{
    if (tab == PopupTab::clipboard || tab == PopupTab::favorites) {
        auto* list = new ClipboardListView(m_context.clipboardManager, m_context.language,
                                           m_context.settings, tab == PopupTab::favorites);
        connect(list, &ClipboardListView::chosen, this, &ContentView::entryChosen);
        if (const QString query = searchText(); !query.isEmpty())
            list->setSearchText(query);
        connect(m_searchBar, &SearchBar::textChanged, list, &ClipboardListView::setSearchText);
        return list;
    }
    if (tab == PopupTab::emoji) {
        auto* emoji = new EmojiPickerView(m_context.emojis, m_context.language, searchText());
        connect(m_searchBar, &SearchBar::textChanged, emoji, &EmojiPickerView::setSearchText);
        if (SearchBar* bar = m_searchBar.data()) {
            connect(emoji, &EmojiPickerView::searchClearRequested, bar->lineEdit(),
                    &QLineEdit::clear);
        }
        connect(emoji, &EmojiPickerView::chosen, this, &ContentView::emojiChosen);
        return emoji;
    }
    TextPickerView* picker = nullptr;
    if (tab == PopupTab::kaomoji)
        picker = new KaomojiPickerView(m_context.language, searchText());
    else
        picker = new SymbolsPickerView(m_context.language, searchText());
    connect(m_searchBar, &SearchBar::textChanged, picker, &TextPickerView::setSearchText);
    connect(picker, &TextPickerView::picked, this, &ContentView::textPicked);
    return picker;
}

void ContentView::setActiveTab(PopupTab tab)
{
    if (tab == m_activeTab && m_tabContent)
        return;
    m_activeTab = tab;
    rebuildBody();
}

bool ContentView::handlePopupKey(const QKeyEvent& event)
{
    if (!m_tabContent)
        return false;
    if (const std::optional<PopupTab> tab = tabForChord(event, m_activeTab)) {
        // As a click on the tab would.
        setActiveTab(*tab);
        return true;
    }
    switch (event.key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
    case Qt::Key_Menu:
    case Qt::Key_F10:
    case ClipboardListView::pinKey:
    case ClipboardListView::previewKey:
        break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        // From the search field Tab steps into a picker's cells; elsewhere it moves the focus.
        const SearchBar* search = m_searchBar.data();
        if (!search || window()->focusWidget() != search->lineEdit())
            return false;
        break;
    }
    default:
        return false;
    }
    auto* target = dynamic_cast<PopupKeyTarget*>(m_tabContent.data());
    return target && target->handlePopupKey(event);
}

void ContentView::syncWindowAppearance(const QString& mode)
{
    // After the current update: the window is restyled outside the view rebuild.
    QPointer<ContentView> self(this);
    QTimer::singleShot(0, this, [self, mode] {
        if (self && self->window() != self)
            Theme::apply(self->window(), mode);
    });
}

const char* ContentView::searchHintId(PopupTab tab)
{
    // Every tab searches: the pickers their characters, the two history tabs the history.
    switch (tab) {
    case PopupTab::emoji:
        //% "Search emojis..."
        return QT_TRID_NOOP("search_emojis_placeholder");
    case PopupTab::kaomoji:
        //% "Search kaomoji..."
        return QT_TRID_NOOP("search_kaomoji_placeholder");
    case PopupTab::symbols:
        //% "Search symbols..."
        return QT_TRID_NOOP("search_symbols_placeholder");
    case PopupTab::clipboard:
    case PopupTab::favorites:
        break;
    }
    //% "Search history..."
    return QT_TRID_NOOP("search_history_placeholder");
}

PopupTab ContentView::searchScope(PopupTab tab)
{
    return tab == PopupTab::favorites ? PopupTab::clipboard : tab;
}

void ContentView::changeEvent(QEvent* event)
{
    // Before the window shows, so before anything asks for its interface. The window is named by
    // its header, which a screen reader reads as the popup opens.
    if (event->type() == QEvent::ParentChange && window() != this && !window()->isVisible()) {
        setAccessibleRole(window(), QAccessible::Window);
        window()->setAccessibleName(m_context.language.string("header_title"));
    }
    // Queued: a theme setting changes the palette and then rebuilds at once, and the palette
    // change arrives in the middle of it; only a palette that no build has seen yet rebuilds.
    if (event->type() == QEvent::PaletteChange)
        QMetaObject::invokeMethod(this, &ContentView::rebuildForNewPalette, Qt::QueuedConnection);
    QWidget::changeEvent(event);
}

void ContentView::rebuildForNewPalette()
{
    if (palette().color(QPalette::Window) != m_builtWindowColour)
        rebuild();
}

bool ContentView::focusNextPrevChild(bool next)
{
    // The view hands its focus on to the search field; while stepping, Qt would take the view for
    // the next stop after the last control, and the header and the tabs would never be reached.
    QWidget* proxy = focusProxy();
    setFocusProxy(nullptr);
    const bool moved = QWidget::focusNextPrevChild(next);
    setFocusProxy(proxy);
    return moved;
}

void ContentView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), PopupWindow::cornerRadius, PopupWindow::cornerRadius);
    painter.fillPath(shape, palette().color(QPalette::Window));
}

} // namespace tessel
