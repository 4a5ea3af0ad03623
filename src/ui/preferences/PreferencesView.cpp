// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/PreferencesView.h"

#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "ui/preferences/AppearancePage.h"
#include "ui/preferences/GeneralPage.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PrivacyPage.h"
#include "ui/preferences/ShortcutRecorder.h"
#include "ui/preferences/ShortcutsPage.h"
#include "ui/preferences/TesselLogoIconView.h"
#include "ui/preferences/TextBinder.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"
#include "ui/widgets/AccessibleRole.h"
#include "ui/widgets/OverlayScrollBar.h"
#include "ui/widgets/ReturnPressesButtons.h"
#include "ui/widgets/ScreenFit.h"
#include "ui/widgets/WindowCloseKeys.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
constexpr int kContentWidth = 480;
constexpr int kPagePadding = 10;

class Hairline : public QWidget {
public:
    explicit Hairline(QWidget* parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Theme::withOpacity(Theme::primary(palette()), 0.1));
    }
};
} // namespace

PreferencesView::PreferencesView(PreferencesContext context, QWidget* parent)
    : QWidget(parent)
    , m_context(std::move(context))
    , m_texts(std::make_unique<TextBinder>(m_context.language))
    , m_recorder(std::make_unique<ShortcutRecorder>(m_context.hotkeys))
{
    setAutoFillBackground(true);
    setAccessibleRole(this, QAccessible::Window);
    addWindowCloseKeys(this);
    letReturnPressButtons(this);
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    m_content = new QWidget(this);
    m_content->setFixedWidth(scaled(kContentWidth) + 2 * kPagePadding);
    outer->addWidget(m_content, 0, Qt::AlignHCenter);

    auto* layout = new QVBoxLayout(m_content);
    layout->setContentsMargins(0, 16, 0, 12);
    layout->setSpacing(10);
    // The pages span the padding on both sides too, so their slim scroll bar floats in it.
    m_top = new QVBoxLayout;
    m_top->setContentsMargins(kPagePadding, 0, kPagePadding, 0);
    m_top->setSpacing(10);
    m_top->addWidget(buildHeader());
    m_top->addWidget(new Hairline(m_content));
    m_top->addWidget(buildTabRow());
    layout->addLayout(m_top);
    m_pages = new QStackedWidget(m_content);
    layout->addWidget(m_pages, 1);
    addPage(new GeneralPage(m_context, *m_texts));
    addPage(new AppearancePage(m_context, *m_texts));
    addPage(new PrivacyPage(m_context, *m_texts));
    m_shortcutsPage = new ShortcutsPage(m_context, *m_texts, *m_recorder);
    addPage(m_shortcutsPage);
    selectTab(general);

    //% "Tessel Settings"
    m_texts->bind(this, [this] { setWindowTitle(m_texts->string("settings_title")); });
    connect(&m_context.language, &LanguageManager::languageChanged, this, [this] {
        m_texts->retranslate();
        if (m_fitted)
            fitToContent();
    });
    Theme::apply(this, m_context.settings.value(settings::themeMode));
    connect(&m_context.settings, &SettingsStore::changed, this, [this](const QString& key) {
        if (key == settings::themeMode.name)
            Theme::apply(this, m_context.settings.value(settings::themeMode));
    });
}

PreferencesView::~PreferencesView() = default;

QWidget* PreferencesView::buildHeader()
{
    auto* header = new QWidget(this);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(4, 0, 4, 0);
    row->setSpacing(12);
    row->addWidget(new TesselLogoIconView(36, header));
    auto* titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto* title = new ToneLabel(ToneLabel::Tone::primary, 17, QFont::Bold, header);
    m_texts->bind(title, QT_TRID_NOOP("settings_title"));
    auto* subtitle = new ToneLabel(ToneLabel::Tone::secondary, 11, QFont::Normal, header);
    // A longer translation takes a second line rather than running under the About button.
    subtitle->setWordWrap(true);
    //% "Customize behavior, privacy and shortcuts"
    m_texts->bind(subtitle, QT_TRID_NOOP("settings_subtitle"));
    titles->addWidget(title);
    titles->addWidget(subtitle);
    row->addLayout(titles, 1);
    auto* about = new QPushButton(header);
    about->setObjectName(u"aboutButton"_s);
    about->setCursor(Qt::PointingHandCursor);
    //% "About Tessel..."
    m_texts->bind(about, QT_TRID_NOOP("about_tessel"));
    connect(about, &QPushButton::clicked, this, [this] {
        if (m_context.openAbout)
            m_context.openAbout();
    });
    row->addWidget(about, 0, Qt::AlignVCenter);
    return header;
}

QWidget* PreferencesView::buildTabRow()
{
    struct TabInfo {
        const char* titleId;
        const char16_t* symbol;
    };
    static constexpr TabInfo tabs[] = {//% "General"
                                       {QT_TRID_NOOP("tab_general"), u"slider.horizontal.3"},
                                       //% "Appearance"
                                       {QT_TRID_NOOP("tab_appearance"), u"paintbrush"},
                                       //% "Privacy"
                                       {QT_TRID_NOOP("tab_privacy"), u"lock.shield"},
                                       //% "Shortcuts"
                                       {QT_TRID_NOOP("tab_shortcuts"), u"keyboard"}};
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    auto* group = new QButtonGroup(row);
    for (const TabInfo& tab : tabs) {
        auto* button = new PreferencesTabButton(QString::fromUtf16(tab.symbol), row);
        button->setObjectName(QString::fromLatin1(tab.titleId));
        m_texts->bind(button, tab.titleId);
        group->addButton(button, int(m_tabButtons.size()));
        layout->addWidget(button);
        m_tabButtons.append(button);
    }
    connect(group, &QButtonGroup::idClicked, this, &PreferencesView::selectTab);
    return row;
}

void PreferencesView::addPage(QWidget* page)
{
    auto* scroll = new QScrollArea(m_pages);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes to the page's controls, which the area scrolls into view; the area itself is no
    // stop of its own.
    scroll->setFocusPolicy(Qt::NoFocus);
    new OverlayScrollBar(scroll);
    scroll->viewport()->setAutoFillBackground(false);
    page->setAutoFillBackground(false);
    scroll->setWidget(page);
    m_pages->addWidget(scroll);
}

void PreferencesView::fitToContent()
{
    m_fitted = true;
    const int width = m_content->width();
    const auto heightAt = [](QLayoutItem* item, int w) {
        if (!item)
            return 0;
        item->invalidate();
        return item->hasHeightForWidth() ? item->heightForWidth(w) : item->sizeHint().height();
    };
    // The tallest page as it would show without scrolling, under the header and the tabs.
    int pages = 0;
    for (int i = 0; i < m_pages->count(); ++i) {
        const QWidget* page = static_cast<QScrollArea*>(m_pages->widget(i))->widget();
        pages = std::max(pages, heightAt(page->layout(), width));
    }
    const QLayout* column = m_content->layout();
    if (!column)
        return;
    const QMargins margins = column->contentsMargins();
    const int height =
        margins.top() + heightAt(m_top, width) + column->spacing() + pages + margins.bottom();
    resizeOnScreen(this, QSize(width, height));
}

int PreferencesView::selectedTab() const
{
    return m_pages->currentIndex();
}

void PreferencesView::selectTab(int index)
{
    if (index < 0 || index >= m_pages->count())
        return;
    // A recording belongs to the Shortcuts tab; leaving the tab ends it.
    if (index != shortcuts)
        m_recorder->stop();
    m_pages->setCurrentIndex(index);
    for (int i = 0; i < m_tabButtons.size(); ++i)
        m_tabButtons[i]->setChecked(i == index);
}

void PreferencesView::hideEvent(QHideEvent* event)
{
    m_recorder->stop();
    QWidget::hideEvent(event);
}

} // namespace tessel
