#include "core/SettingsStore.h"
#include "paste/PasteSimulator.h"
#include "paste/SoundPlayer.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Workspace.h"
#include "support/TesselProcess.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QRasterWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::commandOutput;
using tessel::test::run;

namespace {
const QString kTitle = u"Tessel paste target"_s;

// Clipboard content that notes when another client has fetched it.
class WatchedText final : public QMimeData {
public:
    mutable bool served = false;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override
    {
        served = true;
        return QMimeData::retrieveData(mimeType, type);
    }
};

class CountingSoundPlayer final : public SoundPlayer {
public:
    void playPop() override { ++pops; }
    int pops = 0;
};
} // namespace

// A GTK text field in another process (zenity --entry) gets the paste; zenity prints what the
// field holds when Return confirms the dialog.
class TestX11Paste : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<QProcess> m_zenity;

    QString startTarget()
    {
        m_zenity = std::make_unique<QProcess>();
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(u"NO_AT_BRIDGE"_s, u"1"_s);
        m_zenity->setProcessEnvironment(env);
        m_zenity->start(u"zenity"_s,
                        {u"--entry"_s, u"--title"_s, kTitle, u"--text"_s, u"Paste here"_s});
        const QString window = commandOutput(u"xdotool"_s, {u"search"_s, u"--sync"_s, u"--name"_s,
                                                            "^"_L1 + kTitle + "$"_L1})
                                   .section(u'\n', 0, 0);
        run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, window});
        return window;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != "xcb"_L1)
            QSKIP("needs an X11 display (DISPLAY) with a window manager");
        for (const auto* tool : {"xdotool", "setxkbmap", "zenity"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QString::fromLatin1(tool) + " is not installed"_L1));
        }
        QVERIFY(x11::X11KeySynthesizer().isAvailable());
    }

    void init()
    {
        QFile::remove(m_dir.filePath(u"settings.json"_s));
        m_settings = std::make_unique<SettingsStore>(m_dir.filePath(u"settings.json"_s));
    }

    void cleanup()
    {
        run(u"xdotool"_s, {u"keyup"_s, u"super"_s, u"shift"_s});
        run(u"setxkbmap"_s, {u"us"_s});
        if (m_zenity) {
            m_zenity->kill();
            m_zenity->waitForFinished();
            m_zenity.reset();
        }
    }

    void pastesIntoTheFocusedTextField_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("holdSuperShift");
        QTest::newRow("us") << u"us"_s << false;
        QTest::newRow("dvorak") << u"dvorak"_s << false;
        QTest::newRow("us, Super and Shift still held") << u"us"_s << true;
        QTest::newRow("dvorak, Super and Shift still held") << u"dvorak"_s << true;
        QTest::newRow("russian: no key types v") << u"ru"_s << false;
    }
    void pastesIntoTheFocusedTextField()
    {
        QFETCH(QString, layout);
        QFETCH(bool, holdSuperShift);
        startTarget();
        x11::X11Workspace workspace;
        QTRY_VERIFY(workspace.frontmostApplicationId().contains("zenity"_L1, Qt::CaseInsensitive));
        QVERIFY(run(u"setxkbmap"_s, {layout}));

        const QString text = u"Tessel ação ✓ %1"_s.arg(layout);
        auto* mime = new WatchedText;
        mime->setText(text);
        QGuiApplication::clipboard()->setMimeData(mime);
        if (holdSuperShift)
            QVERIFY(run(u"xdotool"_s, {u"keydown"_s, u"super"_s, u"shift"_s}));

        x11::X11KeySynthesizer keys;
        CountingSoundPlayer sound;
        PasteSimulator paster(*m_settings, keys, workspace, sound);
        QSignalSpy pasted(&paster, &PasteSimulator::pasted);
        paster.schedulePaste();
        QTRY_COMPARE(pasted.count(), 1);
        QCOMPARE(sound.pops, 1);
        QTRY_VERIFY(mime->served);

        run(u"setxkbmap"_s, {u"us"_s});
        QVERIFY(run(u"xdotool"_s, {u"key"_s, u"Return"_s}));
        QVERIFY(m_zenity->waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(m_zenity->readAllStandardOutput()).trimmed(), text);
    }

    void focusGoesBackToThePreviousWindow()
    {
        startTarget();
        x11::X11Workspace workspace;
        QTRY_VERIFY(workspace.frontmostApplicationId().contains("zenity"_L1, Qt::CaseInsensitive));
        workspace.rememberActiveWindow();
        // Nothing to give back while the target is still active.
        QVERIFY(!workspace.restoreFocus());

        QRasterWindow own;
        own.resize(200, 100);
        own.show();
        own.requestActivate();
        QTRY_VERIFY(own.isActive());
        QVERIFY(workspace.restoreFocus());
        QTRY_VERIFY(workspace.frontmostApplicationId().contains("zenity"_L1, Qt::CaseInsensitive));
        QTRY_VERIFY(!own.isActive());
        QCOMPARE(workspace.focusedWindowClass().value(0).toLower(), u"zenity"_s);
    }
};

QTEST_MAIN(TestX11Paste)
#include "test_x11_paste.moc"
