#include "core/AppPaths.h"
#include "support/FullDisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {
QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestPrivateFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aFullDiskLeavesTheOldFile_data()
    {
        QTest::addColumn<qsizetype>("size");
        QTest::newRow("buffered write") << qsizetype(200);
        QTest::newRow("large write") << qsizetype(256 * 1024);
    }
    void aFullDiskLeavesTheOldFile()
    {
        QFETCH(qsizetype, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"registry.json"_s);
        QVERIFY(AppPaths::writePrivateFile(path, "[\"the old history\"]"));
        Result written = Result::success();
        {
            test::FullDisk full;
            written = AppPaths::writePrivateFile(path, QByteArray(size, 'x'));
        }
        QVERIFY(!written);
        QVERIFY(written.message().contains(path));
        QCOMPARE(contents(path), "[\"the old history\"]"_ba);
        // No half-written temporary file is left behind either.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void linksAndSpecialFilesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a file") << u"link"_s;
        QTest::newRow("link to /dev/zero") << u"zero"_s;
        QTest::newRow("FIFO") << u"fifo"_s;
        QTest::newRow("folder") << u"folder"_s;
    }
    void linksAndSpecialFilesAreRefused()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"elsewhere.json"_s);
        QVERIFY(QFile(target).open(QIODevice::WriteOnly));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::ReadOther));
        const QString path = dir.filePath(u"settings.json"_s);
        if (kind == "link"_L1)
            QVERIFY(QFile::link(target, path));
        else if (kind == "zero"_L1)
            QVERIFY(QFile::link(u"/dev/zero"_s, path));
        else if (kind == "fifo"_L1)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(QDir().mkdir(path));

        // A FIFO with no writer would block a plain open for ever; /dev/zero never ends.
        const auto read = AppPaths::readPrivateFile(path, 1024);
        QVERIFY(!read);
        QVERIFY2(read.message().contains(path), qPrintable(read.message()));
        QVERIFY(!AppPaths::writePrivateFile(path, "{}"));
        // Nothing reached the link's target, and its mode is the one it had.
        QCOMPARE(contents(target), QByteArray());
        QCOMPARE(QFile::permissions(target) & QFile::ReadOther, QFile::ReadOther);
    }

    void readsAreBounded()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"registry.json"_s);
        QVERIFY(AppPaths::writePrivateFile(path, QByteArray(11, 'x')));
        QCOMPARE(*AppPaths::readPrivateFile(path, 11), QByteArray(11, 'x'));
        QVERIFY(!AppPaths::readPrivateFile(path, 10));
        // A regular file that reports no size until read (as /proc's do) is read whole, and is
        // still cut at the bound.
        const auto status = AppPaths::readPrivateFile(u"/proc/self/status"_s, 1 << 20);
        QVERIFY2(status && status->contains("\nVmRSS:"), qPrintable(status.message()));
        QVERIFY(!AppPaths::readPrivateFile(u"/proc/self/status"_s, 64));
    }

    void linkedOrBlockedFoldersAreRefused()
    {
        QTemporaryDir dir;
        const QString elsewhere = dir.filePath(u"elsewhere"_s);
        QVERIFY(QDir().mkdir(elsewhere));
        QVERIFY(QFile::setPermissions(elsewhere, QFile::ReadOwner | QFile::WriteOwner |
                                                     QFile::ExeOwner | QFile::ReadOther |
                                                     QFile::ExeOther));
        const QString linked = dir.filePath(u"tessel"_s);
        QVERIFY(QFile::link(elsewhere, linked));
        const Result made = AppPaths::ensurePrivateDir(linked);
        QVERIFY(!made);
        QVERIFY(made.message().contains(u"symbolic link"_s));
        QCOMPARE(QFile::permissions(elsewhere) & QFile::ReadOther, QFile::ReadOther);

        const QString file = dir.filePath(u"a file"_s);
        QVERIFY(AppPaths::writePrivateFile(file, "x"));
        QVERIFY(!AppPaths::ensurePrivateDir(file));
        QVERIFY(AppPaths::ensurePrivateDir(dir.filePath(u"a/b"_s)));
    }
};

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "test_private_files.moc"
