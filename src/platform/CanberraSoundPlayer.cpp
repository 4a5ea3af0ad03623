// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CanberraSoundPlayer.h"

#include "core/Log.h"
#include "core/ResourceFile.h"

#include <QDir>
#include <QFileInfo>
#include <canberra.h>

using namespace Qt::StringLiterals;

namespace tessel {

CanberraSoundPlayer::CanberraSoundPlayer(QString popFile)
    : m_popFile(std::move(popFile))
{}

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    if (m_context)
        ca_context_destroy(m_context);
}

QString CanberraSoundPlayer::shippedPopFile()
{
    return ResourceFile::extract(u":/tessel/sounds/pop.wav"_s, u"pop.wav"_s);
}

bool CanberraSoundPlayer::hasAudioOutput(const QString& runtimeDir, const QString& soundDeviceDir)
{
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return true;
    if (!runtimeDir.isEmpty()) {
        for (const QString& socket : {u"pulse/native"_s, u"pipewire-0"_s}) {
            if (QFileInfo::exists(runtimeDir + u'/' + socket))
                return true;
        }
    }
    return !QDir(soundDeviceDir).entryList({u"pcmC*p"_s}, QDir::Files | QDir::System).isEmpty();
}

bool CanberraSoundPlayer::ensureContext()
{
    if (m_context)
        return true;
    if (m_contextFailed)
        return false;
    // libcanberra's drivers print ALSA's complaints at every attempt and leave allocations behind
    // when they are unloaded, so a machine without sound never loads one.
    if (!hasAudioOutput(qEnvironmentVariable("XDG_RUNTIME_DIR"))) {
        m_contextFailed = true;
        reportOnce("no sound card and no sound server", CA_ERROR_NOTAVAILABLE);
        return false;
    }
    // Opened on first use: connecting to the sound server costs time that start-up should not.
    int status = ca_context_create(&m_context);
    if (status == CA_SUCCESS) {
        status = ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Tessel",
                                         CA_PROP_APPLICATION_ID, "tessel", nullptr);
    }
    if (status == CA_SUCCESS)
        status = ca_context_open(m_context);
    if (status != CA_SUCCESS) {
        reportOnce("cannot reach the sound service", status);
        if (m_context)
            ca_context_destroy(m_context);
        m_context = nullptr;
        m_contextFailed = true;
        return false;
    }
    return true;
}

void CanberraSoundPlayer::playPop()
{
    if (m_popFile.isEmpty() || !ensureContext())
        return;
    const QByteArray path = m_popFile.toLocal8Bit();
    const int status = ca_context_play(m_context, 0, CA_PROP_MEDIA_FILENAME, path.constData(),
                                       CA_PROP_EVENT_DESCRIPTION, "Pasted",
                                       CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
    if (status != CA_SUCCESS)
        reportOnce("cannot play the pop sound", status);
}

void CanberraSoundPlayer::reportOnce(const char* what, int code)
{
    if (m_reported)
        return;
    m_reported = true;
    qCInfo(lcSound, "%s (%s); sound effects stay silent.", what, ca_strerror(code));
}

} // namespace tessel
