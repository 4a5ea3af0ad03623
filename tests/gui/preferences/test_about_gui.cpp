#include "core/SettingsStore.h"
#include "localization/LanguageManager.h"
#include "support/TempHome.h"
#include "ui/preferences/AboutView.h"
#include "ui/preferences/TesselLogoIconView.h"
#include "ui/style/Theme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

class TestAboutGui : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempHome> m_home;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<LanguageManager> m_language;

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<test::TempHome>();
        m_settings = std::make_unique<SettingsStore>(SettingsStore::defaultFilePath());
        m_language =
            std::make_unique<LanguageManager>(*m_settings, [] { return QStringList{u"en-US"_s}; });
    }
    void cleanup()
    {
        m_language.reset();
        m_settings.reset();
        m_home.reset();
    }

    void versionLineWithAndWithoutBuildInformation()
    {
        QCOMPARE(AboutView::appVersionString(*m_language, u"2.3"_s, u"45"_s),
                 u"Version 2.3 (Build 45)"_s);
        QCOMPARE(AboutView::appVersionString(*m_language, {}, {}), u"Version 1.0.0 (Build 1)"_s);
        m_language->setCurrentLanguageRaw(u"pt"_s);
        QCOMPARE(AboutView::appVersionString(*m_language, u"2.3"_s, {}), u"Versão 2.3 (Build 1)"_s);

        // The window shows this build's version, from the project, in the language in force.
        AboutView view(*m_language, *m_settings, [](const QUrl&) { return true; });
        auto* line = view.findChild<QLabel*>(u"versionLine"_s);
        QVERIFY(line);
        QVERIFY(line->text().startsWith(u"Versão "_s + QStringLiteral(TESSEL_VERSION)));
        m_language->setCurrentLanguageRaw(u"es"_s);
        QVERIFY(line->text().startsWith(u"Versión "_s));
    }

    void linksOpenTheWebsiteAndAFeedbackMail()
    {
        QList<QUrl> opened;
        AboutView view(*m_language, *m_settings, [&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        QVERIFY(AboutView::websiteUrl().isValid());
        QVERIFY(!AboutView::websiteUrl().host().isEmpty());
        QCOMPARE(view.websiteLink()->text(), AboutView::websiteUrl().host());
        QTest::mouseClick(view.websiteLink(), Qt::LeftButton);
        QTest::mouseClick(view.supportLink(), Qt::LeftButton);
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened[0], AboutView::websiteUrl());
        QCOMPARE(opened[1].scheme(), u"mailto"_s);
        QVERIFY(opened[1].path().contains(u'@'));
        QCOMPARE(opened[1].query(QUrl::FullyEncoded), u"subject=Feedback%20Tessel"_s);
    }

    void themeFollowsTheSettingWhileOpen()
    {
        m_settings->set(settings::themeMode, u"dark"_s);
        AboutView view(*m_language, *m_settings, [](const QUrl&) { return true; });
        QVERIFY(Theme::isDark(view.palette()));
        m_settings->set(settings::themeMode, u"light"_s);
        QVERIFY(!Theme::isDark(view.palette()));
        m_settings->set(settings::themeMode, u"system"_s);
        QCOMPARE(view.palette().color(QPalette::Window),
                 QApplication::palette().color(QPalette::Window));
    }

    void logoIsDrawnAtAnySize()
    {
        for (const qreal size : {16.0, 72.0, 256.0}) {
            TesselLogoIconView logo(size);
            QVERIFY(logo.sizeHint().width() >= size);
            QImage image(logo.sizeHint(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            logo.render(&image);
            // The centre is covered by the white front sheet, the disc's top edge is blue.
            const QPoint centre = image.rect().center();
            const QColor sheet = image.pixelColor(centre + QPoint(int(size * 0.06), 0));
            QVERIFY2(sheet.lightness() > 220, qPrintable(sheet.name()));
            const QColor disc = image.pixelColor(centre.x(), centre.y() - int(size * 0.45));
            QVERIFY2(disc.blue() > 200 && disc.red() < 80, qPrintable(disc.name()));
        }
    }
};

QTEST_MAIN(TestAboutGui)
#include "test_about_gui.moc"
