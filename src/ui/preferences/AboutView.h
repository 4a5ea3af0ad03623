// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QLabel;

namespace tessel {

class LanguageManager;
class SettingsStore;
class TextBinder;

// The About window's content: logo, name, version line, tagline, the website and support links
// and the credits. Texts follow the language in force and colours the "themeMode" setting.
class AboutView : public QWidget {
    Q_OBJECT

public:
    // Opens an address with the desktop's handler (browser, mail program).
    using UrlOpener = std::function<bool(const QUrl&)>;

    AboutView(LanguageManager& language, SettingsStore& settings, UrlOpener opener = {},
              QWidget* parent = nullptr);
    ~AboutView() override;

    // Fixes the window at `width` (at least as wide as its content) and the height its texts
    // need there; again at every language change, whose texts may need more lines.
    void fitToContent(int width);

    // The version line of this build.
    QString appVersionString() const;
    // The version line for `version` and `build`; an empty version reads as "1.0.0" and an empty
    // build as "1".
    static QString appVersionString(const LanguageManager& language, const QString& version,
                                    const QString& build);

    static QUrl websiteUrl();
    // mailto: the support address, with the feedback subject.
    static QUrl supportUrl();

    QAbstractButton* websiteLink() const { return m_website; }
    QAbstractButton* supportLink() const { return m_support; }

private:
    LanguageManager& m_language;
    SettingsStore& m_settings;
    UrlOpener m_opener;
    std::unique_ptr<TextBinder> m_texts;
    bool m_fitted = false;
    QAbstractButton* m_website = nullptr;
    QAbstractButton* m_support = nullptr;
};

} // namespace tessel
