#include "core/XdgAutostart.h"
#include "support/TempHome.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}
} // namespace

class TestXdgAutostart : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TempHome> m_home;
    QByteArray m_oldConfigDirs;

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<test::TempHome>();
        m_oldConfigDirs = qgetenv("XDG_CONFIG_DIRS");
        qputenv("XDG_CONFIG_DIRS", (m_home->path() + "/etc-xdg"_L1).toLocal8Bit());
    }
    void cleanup()
    {
        qputenv("XDG_CONFIG_DIRS", m_oldConfigDirs);
        m_home.reset();
    }

    void enableAndDisable()
    {
        XdgAutostart autostart(u"/usr/bin/tessel"_s);
        const QString entry = m_home->configHome() + "/autostart/tessel.desktop"_L1;
        QCOMPARE(XdgAutostart::userEntryPath(), entry);
        QVERIFY(!autostart.isEnabled());

        QVERIFY(autostart.setEnabled(true));
        QVERIFY(autostart.isEnabled());
        const QByteArray text = readAll(entry);
        QVERIFY(text.startsWith("[Desktop Entry]\n"));
        QVERIFY(text.contains("\nType=Application\n"));
        QVERIFY(text.contains("\nExec=/usr/bin/tessel\n"));
        QVERIFY(!text.contains("Hidden"));

        QVERIFY(autostart.setEnabled(false));
        QVERIFY(!QFile::exists(entry));
        QVERIFY(!autostart.isEnabled());
        // Disabling what is not enabled is no failure.
        QVERIFY(autostart.setEnabled(false));
    }

    void systemEntryIsOverriddenByTheUsers()
    {
        XdgAutostart autostart(u"/usr/bin/tessel"_s);
        writeFile(m_home->path() + "/etc-xdg/autostart/tessel.desktop"_L1,
                  XdgAutostart::desktopEntry(u"/usr/bin/tessel"_s, false));
        QVERIFY(autostart.isEnabled());

        QVERIFY(autostart.setEnabled(false));
        QVERIFY(!autostart.isEnabled());
        QVERIFY(XdgAutostart::isHidden(readAll(XdgAutostart::userEntryPath())));

        QVERIFY(autostart.setEnabled(true));
        QVERIFY(autostart.isEnabled());
        QVERIFY(!XdgAutostart::isHidden(readAll(XdgAutostart::userEntryPath())));
    }

    void failureLeavesTheStateAndSaysWhy()
    {
        XdgAutostart autostart(u"/usr/bin/tessel"_s);
        // A file where the autostart directory should be.
        writeFile(m_home->configHome() + "/autostart"_L1, "not a directory");
        QVERIFY(!autostart.setEnabled(true));
        QVERIFY(!autostart.errorString().isEmpty());
        QVERIFY(!autostart.isEnabled());
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
};

QTEST_GUILESS_MAIN(TestXdgAutostart)
#include "test_xdg_autostart.moc"
