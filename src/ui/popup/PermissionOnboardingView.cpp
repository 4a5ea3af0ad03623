// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/popup/PermissionOnboardingView.h"

#include "hotkey/DesktopShortcuts.h"
#include "localization/LanguageManager.h"
#include "permissions/PermissionManager.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// A command to type ("tessel --toggle") never breaks across lines, where its space and hyphens
// would otherwise let it: a no-break space and word joiners hold it together.
QString withCommandsKeptWhole(QString text)
{
    static const QRegularExpression command(u"tessel(?: --[a-z]+)+"_s);
    QList<QRegularExpressionMatch> found;
    for (auto it = command.globalMatch(text); it.hasNext();)
        found.prepend(it.next());
    for (const QRegularExpressionMatch& match : found) {
        QString whole = match.captured();
        whole.replace(u' ', QChar::Nbsp).replace(u"-"_s, u"-\u2060"_s);
        text.replace(match.capturedStart(), match.capturedLength(), whole);
    }
    return text;
}
} // namespace

PermissionOnboardingView::PermissionOnboardingView(PermissionManager& permissions,
                                                   LanguageManager& language, Form form,
                                                   DesktopShortcuts* desktopShortcuts,
                                                   QWidget* parent)
    : QWidget(parent)
    , m_permissions(permissions)
    , m_form(form)
    , m_icon(new QLabel(this))
    //% "How to Enable"
    , m_open(new QPushButton(language.string("open_system_settings"), this))
    //% "Check Again"
    , m_retry(new QPushButton(language.string("request_again"), this))
    //% "Got It"
    , m_dismiss(new QPushButton(language.string("platform_notice_dismiss"), this))
    , m_buttons(new QWidget(this))
    , m_granted(new QWidget(this))
{
    setAutoFillBackground(true);
    m_icon->setAlignment(Qt::AlignCenter);

    //% "How Tessel Works Here"
    const char* noticeTitle = QT_TRID_NOOP("platform_notice_title");
    //% "Keystroke Permission"
    const char* permissionTitle = QT_TRID_NOOP("onboarding_title");
    auto* title = new QLabel(
        language.string(form == Form::platformNotice ? noticeTitle : permissionTitle), this);
    title->setFont(uiFont(13, QFont::Bold));
    title->setAlignment(Qt::AlignCenter);
    // Where the session itself holds paste back, say what still works instead.
    //% "Tessel needs an X11 session (or XWayland) to detect global keyboard shortcuts and "
    //% "auto-paste."
    const char* permissionNote = QT_TRID_NOOP("onboarding_subtitle");
    const char* note = permissions.platformNoteKey();
    m_subtitle =
        new QLabel(withCommandsKeptWhole(language.string(note ? note : permissionNote)), this);
    m_subtitle->setFont(uiFont(12));
    m_subtitle->setWordWrap(true);
    m_subtitle->setAlignment(Qt::AlignCenter);
    m_subtitle->setContentsMargins(16, 0, 16, 0);

    m_open->setIcon(IconProvider::pixmap(u"gearshape.fill"_s, 13, Qt::white, devicePixelRatioF()));
    m_open->setFont(uiFont(12, QFont::DemiBold));
    m_open->setCursor(Qt::PointingHandCursor);
    m_retry->setFont(uiFont(12));
    m_retry->setFlat(true);
    m_retry->setCursor(Qt::PointingHandCursor);
    connect(m_open, &QPushButton::clicked, &m_permissions,
            &PermissionManager::openAccessibilitySettings);
    connect(m_retry, &QPushButton::clicked, &m_permissions, [this] {
        m_permissions.checkPermission();
        m_permissions.startMonitoring();
    });
    m_dismiss->setFont(uiFont(12, QFont::DemiBold));
    m_dismiss->setCursor(Qt::PointingHandCursor);
    m_dismiss->setDefault(true);
    connect(m_dismiss, &QPushButton::clicked, this, &PermissionOnboardingView::dismissed);
    auto* buttons = new QVBoxLayout(m_buttons);
    buttons->setContentsMargins(20, 0, 20, 0);
    buttons->setSpacing(10);
    buttons->addWidget(m_open);
    buttons->addWidget(m_retry);
    buttons->addWidget(m_dismiss);
    if (form == Form::platformNotice && desktopShortcuts && desktopShortcuts->isOffered() &&
        !desktopShortcuts->isEnabled()) {
        // The user's agreement to let Tessel write the desktop's keyboard settings.
        //% "Add the Shortcuts to GNOME"
        m_addShortcuts = new QPushButton(language.string("desktop_shortcuts_add"), this);
        m_addShortcuts->setObjectName(u"addDesktopShortcuts"_s);
        m_addShortcuts->setFont(uiFont(12));
        m_addShortcuts->setCursor(Qt::PointingHandCursor);
        m_addShortcuts->setToolTip(language.string("desktop_shortcuts_toggle_sub"));
        m_addShortcuts->setAccessibleDescription(m_addShortcuts->toolTip());
        connect(m_addShortcuts, &QPushButton::clicked, this, [this, desktopShortcuts] {
            desktopShortcuts->setEnabled(true);
            Q_EMIT dismissed();
        });
        buttons->addWidget(m_addShortcuts);
    }

    auto* check = new QLabel(m_granted);
    m_grantedCheck = check;
    //% "Keystrokes Allowed"
    auto* grantedText = new QLabel(language.string("access_granted"), m_granted);
    grantedText->setFont(uiFont(12, QFont::Medium));
    m_grantedText = grantedText;
    auto* granted = new QHBoxLayout(m_granted);
    granted->setContentsMargins(0, 8, 0, 8);
    granted->setSpacing(8);
    granted->addStretch(1);
    granted->addWidget(check);
    granted->addWidget(grantedText);
    granted->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 28, 16, 16);
    layout->setSpacing(16);
    layout->addWidget(m_icon);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    texts->addWidget(title);
    texts->addWidget(m_subtitle);
    layout->addLayout(texts);
    layout->addWidget(m_buttons);
    layout->addWidget(m_granted);
    layout->addStretch(1);

    connect(&m_permissions, &PermissionManager::accessibilityGrantedChanged, this,
            &PermissionOnboardingView::refresh);
    refresh();
    applyColours();
}

void PermissionOnboardingView::applyColours()
{
    // Built before it joins the popup, the view takes its colours again from each new palette.
    const QPalette pal = palette();
    const Theme::Roles roles = Theme::roles(pal);
    QPalette subtitlePalette = m_subtitle->palette();
    subtitlePalette.setColor(QPalette::WindowText, roles.secondary);
    m_subtitle->setPalette(subtitlePalette);
    QPalette grantedPalette = m_grantedText->palette();
    grantedPalette.setColor(QPalette::WindowText, roles.success);
    m_grantedText->setPalette(grantedPalette);
    m_grantedCheck->setPixmap(
        IconProvider::pixmap(u"checkmark.circle.fill"_s, 14, roles.success, devicePixelRatioF()));
    const QColor accent = roles.accent;
    // The selection role, not the accent: its white text reads on it in both themes.
    const QColor fill = roles.selection;
    const QString prominent = u"QPushButton { background: %1; color: %4; border: none;"
                              " border-radius: 8px; padding: 8px; }"
                              " QPushButton:hover { background: %2; }"
                              " QPushButton:pressed { background: %3; }"_s.arg(
                                  fill.name(), fill.darker(110).name(), fill.darker(125).name(),
                                  roles.selectionText.name());
    m_open->setStyleSheet(prominent);
    m_dismiss->setStyleSheet(prominent);
    const QString quiet =
        u"QPushButton { color: %1; border: none; background: transparent; }"
        " QPushButton:hover { color: %2; }"_s.arg(Theme::secondary(pal).name(QColor::HexArgb),
                                                  Theme::primary(pal).name(QColor::HexArgb));
    m_retry->setStyleSheet(quiet);
    if (m_addShortcuts) {
        m_addShortcuts->setStyleSheet(
            u"QPushButton { color: %1; border: 1px solid %1; border-radius: 8px;"
            " background: transparent; padding: 7px; }"
            " QPushButton:hover { color: %2; border-color: %2; }"_s.arg(
                Theme::primary(pal).name(QColor::HexArgb), accent.name()));
    }
}

void PermissionOnboardingView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange && m_subtitle) {
        applyColours();
        refresh();
    }
    QWidget::changeEvent(event);
}

QColor PermissionOnboardingView::iconColour() const
{
    if (m_form == Form::platformNotice)
        return Theme::accent(palette());
    const Theme::Roles roles = Theme::roles(palette());
    return m_permissions.isAccessibilityGranted() ? roles.success : roles.warning;
}

void PermissionOnboardingView::refresh()
{
    const bool notice = m_form == Form::platformNotice;
    const bool granted = m_permissions.isAccessibilityGranted();
    m_icon->setPixmap(IconProvider::pixmap(notice ? u"keyboard.fill"_s : u"lock.shield.fill"_s, 44,
                                           iconColour(), devicePixelRatioF()));
    m_open->setVisible(!notice);
    m_retry->setVisible(!notice);
    m_dismiss->setVisible(notice);
    m_buttons->setVisible(notice || !granted);
    m_granted->setVisible(!notice && granted);
}

} // namespace tessel
