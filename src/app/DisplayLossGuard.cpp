// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayLossGuard.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QThread>
#include <atomic>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
std::function<void()> g_save;
QtMessageHandler g_previous = nullptr;
std::atomic<bool> g_saving{false};

void runSave()
{
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
        g_save();
        return;
    }
    // Qt's event thread saw it first; the entries belong to the main thread.
    auto done = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [done] {
            g_save();
            done->release();
        },
        Qt::QueuedConnection);
    done->tryAcquire(1, DisplayLossGuard::saveTimeoutMs);
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (g_previous) {
        g_previous(type, context, message);
    } else {
        std::fputs(qPrintable(qFormatLogMessage(type, context, message) + u'\n'), stderr);
    }
    if (type == QtWarningMsg && DisplayLossGuard::isDisplayLost(message) && g_save &&
        QCoreApplication::instance() && !g_saving.exchange(true))
        runSave();
}
} // namespace

DisplayLossGuard::DisplayLossGuard(std::function<void()> save)
{
    g_save = std::move(save);
    g_previous = qInstallMessageHandler(handleMessage);
}

DisplayLossGuard::~DisplayLossGuard()
{
    qInstallMessageHandler(g_previous);
    g_save = nullptr;
}

bool DisplayLossGuard::isDisplayLost(const QString& message)
{
    // Qt's xcb and Wayland plugins, just before they exit.
    return message.startsWith("The X11 connection broke"_L1) ||
           message.startsWith("The Wayland connection broke"_L1) ||
           message.startsWith("The Wayland connection experienced a fatal error"_L1);
}

} // namespace tessel
