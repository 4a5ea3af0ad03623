#include "core/SettingsStore.h"
#include "paste/PasteSimulator.h"
#include "paste/SoundPlayer.h"
#include "platform/x11/X11KeySynthesizer.h"
#include "platform/x11/X11Workspace.h"
#include "support/Desktop.h"
#include "support/FakePasteServices.h"
#include "support/TesselProcess.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QRasterWindow>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;
using tessel::test::run;

namespace {
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
} // namespace

// A GTK text field in another process gets the paste.
class TestX11Paste : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<SettingsStore> m_settings;
    std::unique_ptr<test::EntryDialog> m_target;

    void startTarget()
    {
        m_target = std::make_unique<test::EntryDialog>();
        QVERIFY(m_target->open(u"Tessel paste target"_s));
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
        m_target.reset();
    }

    void pastesIntoTheFocusedTextField_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<bool>("holdSuperShift");
        QTest::newRow("us") << u"us"_s << false;
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
        test::CountingSoundPlayer sound;
        PasteSimulator paster(*m_settings, keys, workspace, sound);
        QSignalSpy pasted(&paster, &PasteSimulator::pasted);
        paster.schedulePaste();
        QTRY_COMPARE(pasted.count(), 1);
        QCOMPARE(sound.pops, 1);
        QTRY_VERIFY(mime->served);

        run(u"setxkbmap"_s, {u"us"_s});
        QCOMPARE(m_target->confirm(), text);
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
        QCOMPARE(workspace.focusedApplicationIds().value(0).toLower(), u"zenity"_s);
    }
};

QTEST_MAIN(TestX11Paste)
#include "test_x11_paste.moc"
