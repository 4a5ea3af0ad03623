// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CanberraSoundPlayer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

// A machine without sound must never load a sound driver (they complain on every attempt and
// leave allocations behind); one with a sound server or a playback device must still try.
class TestSoundOutput : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { qunsetenv("PULSE_SERVER"); }

    void detectsWhatCouldPlay_data()
    {
        QTest::addColumn<QStringList>("runtimeFiles");
        QTest::addColumn<QStringList>("deviceFiles");
        QTest::addColumn<QByteArray>("pulseServer");
        QTest::addColumn<bool>("expected");

        QTest::newRow("nothing") << QStringList() << QStringList() << QByteArray() << false;
        QTest::newRow("capture device only")
            << QStringList() << QStringList{u"controlC0"_s, u"pcmC0D0c"_s} << QByteArray() << false;
        QTest::newRow("playback device")
            << QStringList() << QStringList{u"controlC0"_s, u"pcmC1D3p"_s} << QByteArray() << true;
        QTest::newRow("PulseAudio")
            << QStringList{u"pulse/native"_s} << QStringList() << QByteArray() << true;
        QTest::newRow("PipeWire") << QStringList{u"pipewire-0"_s} << QStringList() << QByteArray()
                                  << true;
        QTest::newRow("remote server")
            << QStringList() << QStringList() << QByteArray("tcp:sound.example:4713") << true;
    }
    void detectsWhatCouldPlay()
    {
        QFETCH(QStringList, runtimeFiles);
        QFETCH(QStringList, deviceFiles);
        QFETCH(QByteArray, pulseServer);
        QFETCH(bool, expected);

        QTemporaryDir runtime;
        QTemporaryDir devices;
        const auto touch = [](const QString& dir, const QString& name) {
            QVERIFY(QDir(dir).mkpath(QFileInfo(name).path()));
            QFile file(dir + u'/' + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        for (const QString& name : runtimeFiles)
            touch(runtime.path(), name);
        for (const QString& name : deviceFiles)
            touch(devices.path(), name);
        if (!pulseServer.isEmpty())
            qputenv("PULSE_SERVER", pulseServer);

        QCOMPARE(CanberraSoundPlayer::hasAudioOutput(runtime.path(), devices.path()), expected);
    }
};

QTEST_GUILESS_MAIN(TestSoundOutput)
#include "test_sound_output.moc"
