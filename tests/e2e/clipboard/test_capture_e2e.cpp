#include "support/TesselProcess.h"
#include "support/TestImages.h"

#include <QClipboard>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonObject>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel::test;

namespace {
// Capture follows the copy at once and the save 0.4 s later; allow for a loaded machine.
constexpr int kSavedWithinMs = 4000;

// This test process becomes the clipboard owner, offering several targets at once.
void offerFromThisProcess(const QString& text, const QString& markerTarget)
{
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(markerTarget, "1"_ba);
    QGuiApplication::clipboard()->setMimeData(data);
}

QString activeWindowClass()
{
    return commandOutput(u"sh"_s, {u"-c"_s, u"xprop -id $(xdotool getactivewindow) WM_CLASS"_s});
}
} // namespace

class TestCaptureE2E : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        const QString missing =
            missingForDesktopTest({u"xclip"_s, u"xdotool"_s, u"xprop"_s, u"zenity"_s});
        if (!missing.isEmpty())
            QSKIP(qPrintable(missing));
        QVERIFY(QFileInfo::exists(TesselProcess::executable()));
    }

    void recordsWhatItShouldAndNothingElse()
    {
        QTemporaryDir home;
        TesselProcess tessel(home.path());
        QVERIFY(tessel.start());
        QTest::qWait(500); // tessel owns its display connection and started polling

        QVERIFY(xclipWrite("  hello from xclip \n"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts(), QStringList{u"hello from xclip"_s},
                                  kSavedWithinMs);

        const QByteArray png = encodedImage("png", Qt::red, 16);
        QVERIFY(xclipWrite(png, u"image/png"_s));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registry().size(), 2, kSavedWithinMs);
        const QJsonObject pngRecord = tessel.registry().at(0).toObject();
        QCOMPARE(pngRecord.value("mimetype"_L1).toString(), u"public.png"_s);
        const QString pngHash =
            QString::fromLatin1(QCryptographicHash::hash(png, QCryptographicHash::Sha256).toHex());
        QCOMPARE(pngRecord.value("imageFile"_L1).toString(), pngHash + ".png"_L1);
        QFile blob(tessel.imagesDir() + u'/' + pngHash + ".png"_L1);
        QVERIFY(blob.open(QIODevice::ReadOnly));
        QCOMPARE(blob.readAll(), png);

        QVERIFY(xclipWrite(encodedImage("tiff", Qt::blue, 16), u"image/tiff"_s));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registry().size(), 3, kSavedWithinMs);
        QCOMPARE(tessel.registry().at(0).toObject().value("mimetype"_L1).toString(),
                 u"public.tiff"_s);

        // Marked content is passed over; a plain copy after it shows those changes were handled.
        offerFromThisProcess(u"picked emoji"_s, u"org.nspasteboard.TransientType"_s);
        QTest::qWait(600);
        offerFromThisProcess(u"kde secret"_s, u"x-kde-passwordManagerHint"_s);
        QTest::qWait(600);
        QVERIFY(xclipWrite("after markers"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().first(), u"after markers"_s,
                                  kSavedWithinMs);

        // Nothing copied while a password manager's window is active is recorded.
        QProcess keepass;
        keepass.start(u"zenity"_s, {u"--entry"_s, u"--class=KeePassXC"_s, u"--name=keepassxc"_s,
                                    u"--text=vault"_s});
        QTRY_VERIFY_WITH_TIMEOUT(activeWindowClass().contains("KeePassXC"_L1), 10000);
        QVERIFY(xclipWrite("vault password"_ba));
        QTest::qWait(750); // long enough to be read while the password manager is still in front
        keepass.kill();
        keepass.waitForFinished(3000);
        QTRY_VERIFY_WITH_TIMEOUT(!activeWindowClass().contains("KeePassXC"_L1), 10000);
        QVERIFY(xclipWrite("after vault"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().first(), u"after vault"_s, kSavedWithinMs);

        QCOMPARE(tessel.registryTexts(),
                 (QStringList{u"after vault"_s, u"after markers"_s, u"<image>"_s, u"<image>"_s,
                              u"hello from xclip"_s}));
        QCOMPARE(tessel.terminate(), 0);
    }

    void historySurvivesARestartAndTheLastCopyIsNotLost()
    {
        QTemporaryDir home;
        {
            TesselProcess tessel(home.path());
            QVERIFY(tessel.start());
            QTest::qWait(500);
            QVERIFY(xclipWrite("kept across runs"_ba));
            QTRY_COMPARE_WITH_TIMEOUT(tessel.registryTexts().size(), 1, kSavedWithinMs);
            QVERIFY(xclipWrite("copied just before log-out"_ba));
            // Ends the session before the debounced save (0.4 s after the capture) could run.
            QTest::qWait(200);
            QCOMPARE(tessel.terminate(), 0);
            QCOMPARE(tessel.registryTexts(),
                     (QStringList{u"copied just before log-out"_s, u"kept across runs"_s}));
        }
        TesselProcess again(home.path());
        QVERIFY(again.start());
        QTest::qWait(500);
        QVERIFY(xclipWrite("after restart"_ba));
        QTRY_COMPARE_WITH_TIMEOUT(again.registryTexts().size(), 3, kSavedWithinMs);
        QCOMPARE(again.registryTexts(),
                 (QStringList{u"after restart"_s, u"copied just before log-out"_s,
                              u"kept across runs"_s}));

        // A second instance on the same history refuses to start and leaves it alone.
        const QDateTime saved = QFileInfo(again.registryPath()).lastModified();
        TesselProcess second(home.path());
        second.process().setProcessChannelMode(QProcess::SeparateChannels);
        QVERIFY(second.start());
        QVERIFY(second.process().waitForFinished(10000));
        QCOMPARE(second.process().exitCode(), 1);
        QVERIFY(second.process().readAllStandardError().contains("already running"));
        QCOMPARE(QFileInfo(again.registryPath()).lastModified(), saved);
        QCOMPARE(again.terminate(), 0);
    }

    void anUnusableDataFolderIsNamed()
    {
        // The history folder linked elsewhere: refused, and said so, not "already running".
        QTemporaryDir home;
        QTemporaryDir elsewhere;
        QVERIFY(QDir().mkpath(home.filePath(u"data"_s)));
        QVERIFY(QFile::link(elsewhere.path(), home.filePath(u"data/tessel"_s)));
        TesselProcess linked(home.path());
        linked.process().setProcessChannelMode(QProcess::SeparateChannels);
        QVERIFY(linked.start());
        QVERIFY(linked.process().waitForFinished(10000));
        QCOMPARE(linked.process().exitCode(), 1);
        const QByteArray said = linked.process().readAllStandardError();
        QVERIFY2(said.contains("symbolic link") && !said.contains("already running"),
                 said.constData());
        QVERIFY(QDir(elsewhere.path()).isEmpty());
    }
};

QTEST_MAIN(TestCaptureE2E)
#include "test_capture_e2e.moc"
