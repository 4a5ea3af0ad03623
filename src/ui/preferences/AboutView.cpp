// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/AboutView.h"

#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/ProductInfo.h"
#include "ui/preferences/TesselLogoIconView.h"
#include "ui/preferences/TextBinder.h"
#include "ui/style/FocusRing.h"
#include "ui/style/IconProvider.h"
#include "ui/style/Theme.h"
#include "ui/style/UiFonts.h"
#include "ui/widgets/AccessibleRole.h"
#include "ui/widgets/ReturnPressesButtons.h"
#include "ui/widgets/WindowCloseKeys.h"

#include <QAbstractButton>
#include <QDesktopServices>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {

// A link drawn as a tinted pill: a symbol and a text. The website's is blue on a capsule, the
// support link neutral on a rounded rectangle.
class LinkPill : public QAbstractButton {
public:
    enum class Kind { website, support };

    LinkPill(Kind kind, QString symbol, QWidget* parent)
        : QAbstractButton(parent)
        , m_kind(kind)
        , m_symbol(std::move(symbol))
    {
        setCursor(Qt::PointingHandCursor);
        setFont(uiFont(11, kind == Kind::website ? QFont::DemiBold : QFont::Medium));
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        setAccessibleRole(this, QAccessible::Link);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return QSize(24 + glyphSize() + spacing() + metrics.horizontalAdvance(text()),
                     10 + std::max(metrics.height(), glyphSize()));
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPalette& pal = palette();
        const bool website = m_kind == Kind::website;
        const QColor tint = website ? Theme::accent(pal) : Theme::primary(pal);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const qreal radius = website ? box.height() / 2 : 6;
        QPainterPath path;
        path.addRoundedRect(box, radius, radius);
        const qreal fill = website ? 0.12 : 0.05;
        painter.fillPath(path, Theme::withOpacity(tint, isDown() ? fill * 2 : fill));
        if (website) {
            painter.setPen(QPen(Theme::withOpacity(tint, 0.3), 0.5));
            painter.drawPath(path);
        }
        if (hasFocus())
            paintFocusRing(painter, box, radius, pal);
        const int glyph = glyphSize();
        const QRect glyphRect(12, (height() - glyph) / 2, glyph, glyph);
        painter.drawPixmap(glyphRect,
                           IconProvider::pixmap(m_symbol, glyph, tint, devicePixelRatioF()));
        painter.setPen(tint);
        painter.setFont(font());
        painter.drawText(QRect(glyphRect.right() + 1 + spacing(), 0, width(), height()),
                         Qt::AlignLeft | Qt::AlignVCenter, text());
    }

private:
    int glyphSize() const { return m_kind == Kind::website ? 11 : 10; }
    int spacing() const { return m_kind == Kind::website ? 6 : 4; }

    Kind m_kind;
    QString m_symbol;
};

// A hairline across the view.
class Divider : public QWidget {
public:
    explicit Divider(QWidget* parent)
        : QWidget(parent)
    {
        setFixedHeight(1);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Theme::withOpacity(Theme::tertiary(palette()), 0.3));
    }
};

} // namespace

AboutView::AboutView(LanguageManager& language, SettingsStore& settings, UrlOpener opener,
                     QWidget* parent)
    : QWidget(parent)
    , m_language(language)
    , m_settings(settings)
    , m_opener(opener ? std::move(opener) : UrlOpener(&QDesktopServices::openUrl))
    , m_texts(std::make_unique<TextBinder>(language))
{
    using Tone = ToneLabel::Tone;
    setAutoFillBackground(true);
    setAccessibleRole(this, QAccessible::Window);
    addWindowCloseKeys(this);
    letReturnPressButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(16);
    layout->setAlignment(Qt::AlignHCenter);

    auto* logo = new TesselLogoIconView(72, this);
    layout->addWidget(logo, 0, Qt::AlignHCenter);

    auto* names = new QVBoxLayout;
    names->setSpacing(4);
    auto* title = new ToneLabel(Tone::primary, 20, QFont::Bold, this);
    //% "Tessel"
    m_texts->bind(title, QT_TRID_NOOP("app_title"));
    auto* version = new ToneLabel(Tone::secondary, 11, QFont::Medium, this);
    version->setObjectName(u"versionLine"_s);
    m_texts->bind(version, [this, version] { version->setText(appVersionString()); });
    names->addWidget(title, 0, Qt::AlignHCenter);
    names->addWidget(version, 0, Qt::AlignHCenter);
    layout->addLayout(names);

    auto* subtitle = new ToneLabel(Tone::secondary, 11, QFont::Normal, this);
    subtitle->setWordWrap(true);
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setContentsMargins(20, 0, 20, 0);
    //% "Clipboard manager with emoji and symbol picker for Linux"
    m_texts->bind(subtitle, QT_TRID_NOOP("app_subtitle"));
    layout->addWidget(subtitle);

    m_website = new LinkPill(LinkPill::Kind::website, u"globe"_s, this);
    m_website->setText(websiteUrl().host());
    m_texts->bind(m_website, [this] {
        //% "Website, %1"
        m_website->setAccessibleName(m_texts->string("website_link_name").arg(websiteUrl().host()));
    });
    connect(m_website, &QAbstractButton::clicked, this, [this] { m_opener(websiteUrl()); });
    m_support = new LinkPill(LinkPill::Kind::support, u"envelope.fill"_s, this);
    //% "Support"
    m_texts->bind(m_support, QT_TRID_NOOP("support"));
    connect(m_support, &QAbstractButton::clicked, this, [this] { m_opener(supportUrl()); });
    auto* links = new QVBoxLayout;
    links->setSpacing(8);
    links->addWidget(m_website, 0, Qt::AlignHCenter);
    links->addWidget(m_support, 0, Qt::AlignHCenter);
    layout->addLayout(links);

    layout->addWidget(new Divider(this));
    auto* credits = new QVBoxLayout;
    credits->setSpacing(4);
    credits->setContentsMargins(0, 0, 0, 6);
    auto* developedBy = new ToneLabel(Tone::tertiary, 10, QFont::DemiBold, this);
    //% "Made by the Tessel developers"
    m_texts->bind(developedBy, QT_TRID_NOOP("developed_by"));
    auto* rights = new ToneLabel(Tone::tertiary, 9, QFont::Normal, this);
    //% "© 2025 The Tessel developers. All rights reserved."
    m_texts->bind(rights, QT_TRID_NOOP("rights_reserved"));
    credits->addWidget(developedBy, 0, Qt::AlignHCenter);
    credits->addWidget(rights, 0, Qt::AlignHCenter);
    layout->addLayout(credits);
    layout->addStretch(1);

    //% "About Tessel"
    m_texts->bind(this, [this] { setWindowTitle(m_language.string("about_window_title")); });
    connect(&language, &LanguageManager::languageChanged, this, [this] {
        m_texts->retranslate();
        // The pills' widths follow their texts.
        m_support->updateGeometry();
        if (m_fitted)
            fitToContent(width());
    });
    Theme::apply(this, m_settings.value(settings::themeMode));
    connect(&m_settings, &SettingsStore::changed, this, [this](const QString& key) {
        if (key == settings::themeMode.name)
            Theme::apply(this, m_settings.value(settings::themeMode));
    });
}

AboutView::~AboutView() = default;

void AboutView::fitToContent(int width)
{
    m_fitted = true;
    QLayout* content = layout();
    content->invalidate();
    content->activate();
    const int fitted = std::max(width, content->minimumSize().width());
    const int height = content->hasHeightForWidth() ? content->totalHeightForWidth(fitted)
                                                    : content->sizeHint().height();
    setFixedSize(fitted, std::max(height, content->totalMinimumSize().height()));
}

QString AboutView::appVersionString() const
{
    return appVersionString(m_language, QString::fromUtf8(ProductInfo::version),
                            QString::fromUtf8(ProductInfo::buildNumber));
}

QString AboutView::appVersionString(const LanguageManager& language, const QString& version,
                                    const QString& build)
{
    //% "Version %1 (Build %2)"
    return language.string("app_version_format")
        .arg(version.isEmpty() ? u"1.0.0"_s : version, build.isEmpty() ? u"1"_s : build);
}

QUrl AboutView::websiteUrl()
{
    return QUrl(QString::fromUtf8(ProductInfo::websiteUrl));
}

QUrl AboutView::supportUrl()
{
    QUrl url;
    url.setScheme(u"mailto"_s);
    url.setPath(QString::fromUtf8(ProductInfo::supportEmail));
    url.setQuery(u"subject=Feedback%20Tessel"_s);
    return url;
}

} // namespace tessel
