#include "permissions/PermissionManager.h"
#include "support/TempHome.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

class TestPermissionManager : public QObject {
    Q_OBJECT

private:
    bool m_trusted = false;
    int m_probes = 0;
    QList<QUrl> m_opened;

    std::unique_ptr<PermissionManager> makeManager()
    {
        return std::make_unique<PermissionManager>(
            [this] {
                ++m_probes;
                return m_trusted;
            },
            [this](const QUrl& url) {
                m_opened.append(url);
                return true;
            });
    }

private Q_SLOTS:
    void init()
    {
        m_trusted = false;
        m_probes = 0;
        m_opened.clear();
    }

    void publishedStateFollowsThroughAQueuedUpdate()
    {
        m_trusted = true;
        const auto manager = makeManager();
        QSignalSpy spy(manager.get(), &PermissionManager::accessibilityGrantedChanged);
        QCOMPARE(m_probes, 1);
        // Right after creation the published state is still false; the live answer is true.
        QVERIFY(!manager->isAccessibilityGranted());
        QVERIFY(manager->checkPermission());
        QTRY_VERIFY(manager->isAccessibilityGranted());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toBool(), true);

        m_trusted = false;
        QVERIFY(!manager->checkPermission());
        QVERIFY(manager->isAccessibilityGranted());
        QTRY_VERIFY(!manager->isAccessibilityGranted());
        QCOMPARE(spy.count(), 2);
    }

    void unchangedAnswerPublishesNothing()
    {
        const auto manager = makeManager();
        QSignalSpy spy(manager.get(), &PermissionManager::accessibilityGrantedChanged);
        QVERIFY(!manager->checkPermission());
        QCoreApplication::processEvents();
        QCOMPARE(spy.count(), 0);
    }

    void noPasteInTheSessionMeansNotGranted()
    {
        m_trusted = true;
        const auto manager = makeManager();
        QTRY_VERIFY(manager->isAccessibilityGranted());
        manager->setCapabilities({false, PlatformCapabilities::AutoPaste::unavailable, false});
        QVERIFY(!manager->checkPermission());
        QTRY_VERIFY(!manager->isAccessibilityGranted());
        manager->startMonitoring();
        QVERIFY(!manager->isMonitoring());
    }

    void monitoringStopsOnceGranted()
    {
        const auto manager = makeManager();
        manager->startMonitoring();
        manager->startMonitoring();
        QVERIFY(manager->isMonitoring());
        QTRY_VERIFY_WITH_TIMEOUT(m_probes >= 2, 3000);
        QVERIFY(manager->isMonitoring());
        m_trusted = true;
        QTRY_VERIFY_WITH_TIMEOUT(manager->isAccessibilityGranted(), 3000);
        QVERIFY(!manager->isMonitoring());
    }

    void settingsActionOpensTheShippedHelpPage()
    {
        test::TempHome home;
        const auto manager = makeManager();
        manager->openAccessibilitySettings();
        QCOMPARE(m_opened.size(), 1);
        const QUrl page = m_opened.first();
        QVERIFY(page.isLocalFile());
        QVERIFY(page.toLocalFile().startsWith(home.cacheHome()));
        QFile file(page.toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray html = file.readAll();
        QVERIFY(html.contains("XWayland"));
        QVERIFY(html.contains("QT_QPA_PLATFORM=xcb"));
        QVERIFY(manager->isMonitoring());

        // A second opening reuses the page (and rewrites a damaged copy).
        file.close();
        QVERIFY(QFile::resize(page.toLocalFile(), 0));
        manager->openAccessibilitySettings();
        QCOMPARE(m_opened.last(), page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), html);
    }
};

QTEST_MAIN(TestPermissionManager)
#include "test_permission_manager.moc"
