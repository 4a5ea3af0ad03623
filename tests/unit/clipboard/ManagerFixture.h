// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardManager.h"
#include "clipboard/ClipboardStore.h"
#include "clipboard/PasteboardTypes.h"
#include "core/SettingsStore.h"
#include "support/FakeWorkspace.h"
#include "support/MemoryPasteboard.h"
#include "support/TempHome.h"
#include "support/TestClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

namespace tessel::test {
inline PasteboardItem item(std::initializer_list<std::pair<QString, QByteArray>> values)
{
    PasteboardItem result;
    for (const auto& [type, bytes] : values)
        result.setData(type, bytes);
    return result;
}

inline PasteboardItem textItem(const QString& text)
{
    return item({{PasteboardType::plainText, text.toUtf8()}});
}

// A manager over an in-memory pasteboard, with settings and history in a temporary home.
struct Fixture {
    TestClock clock;
    TempHome home;
    MemoryPasteboard pasteboard;
    FakeWorkspace workspace;
    SettingsStore settings{SettingsStore::defaultFilePath()};
    ClipboardManager manager{
        pasteboard, workspace, settings,
        std::make_unique<ClipboardStore>(home.dataHome() + QStringLiteral("/tessel"))};

    enum Watching { Polled, Reported };
    explicit Fixture(Watching watching = Polled)
    {
        pasteboard.setReportsChanges(watching == Reported);
        manager.startMonitoring();
        // Let the save that starting asks for land, so each test sees only its own saves.
        manager.store().waitForPendingSaves(3000);
        QCoreApplication::processEvents();
    }

    // Another application copies `content`; the manager's next tick sees it.
    void copy(const PasteboardItem& content)
    {
        pasteboard.writeExternal(content);
        manager.poll();
    }
    void copyText(const QString& text) { copy(textItem(text)); }

    QStringList texts() const
    {
        QStringList result;
        for (const auto& e : manager.entries())
            result.append(e->textContent().value_or(QStringLiteral("<image>")));
        return result;
    }
    int blobCount() const
    {
        return QDir(manager.store().imagesDir()).entryList(QDir::Files).size();
    }
    void waitForSave()
    {
        QSignalSpy saved(&manager.store(), &ClipboardStore::saveFinished);
        QVERIFY(saved.wait(3000));
    }
};
} // namespace tessel::test
