// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/XdgAutostart.h"
#include "permissions/PermissionManager.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

class TestPermissionManager : public QObject {
    Q_OBJECT

private:
    bool m_trusted = false;
    QList<QUrl> m_opened;
    PermissionManager m_manager{[this] { return m_trusted; },
                                [this](const QUrl& url) {
                                    m_opened.append(url);
                                    return true;
                                }};

private Q_SLOTS:
    void publishedStateFollowsThroughAQueuedUpdateAndMonitoringStopsOnceGranted()
    {
        QSignalSpy spy(&m_manager, &PermissionManager::accessibilityGrantedChanged);
        m_manager.startMonitoring();
        QVERIFY(m_manager.isMonitoring());
        QTest::qWait(1500); // a few probes that find no change publish nothing
        QCOMPARE(spy.count(), 0);
        m_trusted = true;
        QTRY_VERIFY_WITH_TIMEOUT(m_manager.isAccessibilityGranted(), 3000);
        QVERIFY(!m_manager.isMonitoring());
        m_trusted = false;
        QVERIFY(!m_manager.checkPermission());
        QVERIFY(m_manager.isAccessibilityGranted()); // the live answer is published later
        QTRY_VERIFY(!m_manager.isAccessibilityGranted());
        QCOMPARE(spy.count(), 2);
    }

    void noPasteInTheSessionMeansNotGranted()
    {
        // Trusted at creation, but the session turns out to have no way to paste before the
        // first answer is published: it must not be published after all.
        PermissionManager manager([] { return true; });
        QSignalSpy spy(&manager, &PermissionManager::accessibilityGrantedChanged);
        manager.setCapabilities({false, PlatformCapabilities::AutoPaste::unavailable, false});
        QVERIFY(!manager.checkPermission());
        manager.startMonitoring();
        QVERIFY(!manager.isMonitoring());
        QCoreApplication::processEvents();
        QVERIFY(!manager.isAccessibilityGranted());
        QCOMPARE(spy.count(), 0);
    }

    void settingsActionOpensTheShippedHelpPage()
    {
        test::TempHome home;
        m_manager.openAccessibilitySettings();
        QCOMPARE(m_opened.size(), 1);
        const QUrl page = m_opened.first();
        QVERIFY(page.isLocalFile() && page.toLocalFile().startsWith(home.cacheHome()));
        QFile file(page.toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("XWayland"));
        QVERIFY(m_manager.isMonitoring());
    }

    void theUsersEntryOverridesTheSystemOne()
    {
        test::TempHome home;
        const QByteArray oldConfigDirs = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", (home.path() + "/etc-xdg"_L1).toLocal8Bit());
        const auto read = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QString entry = home.configHome() + "/autostart/tessel.desktop"_L1;
        XdgAutostart autostart(u"/usr/bin/tessel"_s);
        QCOMPARE(XdgAutostart::userEntryPath(), entry);
        QVERIFY(!autostart.isEnabled());

        QVERIFY(QDir().mkpath(home.path() + "/etc-xdg/autostart"_L1));
        QFile system(home.path() + "/etc-xdg/autostart/tessel.desktop"_L1);
        QVERIFY(system.open(QIODevice::WriteOnly));
        system.write(XdgAutostart::desktopEntry(u"/usr/bin/tessel"_s, false));
        system.close();
        QVERIFY(autostart.isEnabled());
        QVERIFY(autostart.setEnabled(false));
        QVERIFY(!autostart.isEnabled());
        QVERIFY(XdgAutostart::isHidden(read(entry)));
        QVERIFY(autostart.setEnabled(true));
        QVERIFY(autostart.isEnabled());
        QVERIFY(read(entry).contains("\nExec=/usr/bin/tessel\n"));
        QVERIFY(!XdgAutostart::isHidden(read(entry)));
        qputenv("XDG_CONFIG_DIRS", oldConfigDirs);
    }

    void hiddenKey_data()
    {
        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<bool>("hidden");
        QTest::newRow("true") << QByteArray("[Desktop Entry]\nHidden=true\n") << true;
        QTest::newRow("spaces") << QByteArray("[Desktop Entry]\nHidden = true\n") << true;
        QTest::newRow("other group")
            << QByteArray("[Desktop Entry]\nExec=x\n[Desktop Action a]\nHidden=true\n") << false;
        QTest::newRow("similar key") << QByteArray("[Desktop Entry]\nHiddenX=true\n") << false;
    }
    void hiddenKey()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, hidden);
        QCOMPARE(XdgAutostart::isHidden(entry), hidden);
    }

    void execQuoting_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("exec");
        QTest::newRow("space") << u"/home/a b/tessel"_s
                               << QByteArray("Exec=\"/home/a b/tessel\"\n");
        QTest::newRow("dollar and quote")
            << u"/x/$y\"z"_s << QByteArray("Exec=\"/x/\\\\$y\\\\\"z\"\n");
        QTest::newRow("percent") << u"/x/100%/tessel"_s << QByteArray("Exec=/x/100%%/tessel\n");
    }
    void execQuoting()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, exec);
        QVERIFY(XdgAutostart::desktopEntry(path, false).contains(exec));
    }

    void aGrantIsWithdrawnOnceTheSessionHasNoPaste()
    {
        m_trusted = true;
        PermissionManager manager([this] { return m_trusted; }, [](const QUrl&) { return true; });
        QTRY_VERIFY(manager.isAccessibilityGranted());
        manager.setCapabilities({false, PlatformCapabilities::AutoPaste::unavailable, false});
        QVERIFY(!manager.checkPermission());
        QTRY_VERIFY(!manager.isAccessibilityGranted());
        manager.startMonitoring();
        QVERIFY(!manager.isMonitoring());
    }
};

QTEST_MAIN(TestPermissionManager)
#include "test_permission_manager.moc"
