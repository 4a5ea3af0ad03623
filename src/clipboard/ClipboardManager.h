// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clipboard/ClipboardEntry.h"
#include "clipboard/ClipboardSnapshot.h"
#include "clipboard/ImageLoader.h"
#include "clipboard/TargetList.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

namespace tessel {

class ClipboardStore;
class Pasteboard;
class SettingsStore;
class Workspace;

// Owns the clipboard history: takes each change the pasteboard reports (or polls a pasteboard that
// cannot report), records what the privacy filters let through, keeps the list free of duplicates
// and within the user's limit, puts a chosen entry back on the pasteboard, and has every change
// saved shortly after it happens. Main thread only.
class ClipboardManager : public QObject {
    Q_OBJECT

public:
    static constexpr int pollIntervalMs = 250;
    static constexpr int saveDelayMs = 400;
    // However many changes follow, the first unsaved one reaches the disk within this time.
    static constexpr int saveDeadlineMs = 2000;
    // The largest image or text recorded.
    static constexpr qint64 maxPayloadSize = PayloadLimit::defaultMaxBytes;

    // Loads the saved history from `store` before returning.
    ClipboardManager(Pasteboard& pasteboard, Workspace& workspace, SettingsStore& settings,
                     std::unique_ptr<ClipboardStore> store, QObject* parent = nullptr);
    ~ClipboardManager() override;

    // Newest first.
    const ClipboardEntryList& entries() const { return m_entries; }
    ClipboardStore& store() const { return *m_store; }
    // The desktop it asks which application is in front when something is copied.
    const Workspace& workspace() const { return m_workspace; }
    // Decodes the entries' images in the background, for the rows and previews that show them.
    ImageLoader& images() { return m_images; }
    qint64 lastChangeCount() const { return m_lastChangeCount; }
    bool isMonitoring() const { return m_monitoring; }

    // Starts (or restarts) watching the pasteboard: its change reports where it gives them, a
    // polling timer where it does not. What is already on the pasteboard is not captured.
    void startMonitoring();
    // Stops watching and starts a save at once.
    void stopMonitoring();

    // Puts the entry back on the pasteboard (not captured again) and moves it to the top.
    void select(const ClipboardEntryPtr& entry);
    void deleteEntry(const ClipboardEntryPtr& entry);
    // Removes every entry that is not a favourite.
    void clearAll();
    void toggleFavorite(const ClipboardEntryPtr& entry);

    // One polling step: captures the pasteboard's contents if they changed since last seen. Does
    // nothing on a pasteboard that reports its changes (they arrive as events).
    void poll();
    // A reported change: recorded unless it was seen already or a newer change (a write of ours
    // included) has replaced it since.
    void captureSnapshot(const ClipboardSnapshot& snapshot);
    // The entry the current contents would make, or nothing when a filter applies or there is
    // nothing to record. Reads the pasteboard on the calling thread.
    ClipboardEntryPtr readCurrentContent() const;
    // The entry a snapshot makes under the capture filters, or nothing.
    ClipboardEntryPtr entryFromSnapshot(const ClipboardSnapshot& snapshot) const;
    // Records `entry`, or moves the entry with the same content to the top; returns the entry
    // that stands for it in the history.
    ClipboardEntryPtr addEntry(const ClipboardEntryPtr& entry);
    void trimHistory();
    // Trims to a limit that just changed, telling the views and saving when entries went.
    void applyHistoryLimit();
    // Saves 0.4 s after the last change, and never later than `saveDeadlineMs` after the first
    // change not yet saved, however many follow.
    void saveDebounced();
    // Saves now, without waiting for the delay, and waits at most `timeoutMs` for every save to
    // be on disk: the last thing done before the process ends. False on time-out.
    bool saveAndWait(int timeoutMs);
    // The user's limit; while the stored limit was not one the preferences store (absent, the
    // settings unreadable, or a value read as something else) and no limit has been chosen since,
    // at least the number of entries loaded, so that nothing is deleted because a setting was
    // lost or mangled.
    qint64 historyLimit() const;

    // The history entry the clipboard holds: that of the last change when it was recorded
    // (another program's copy, or an entry chosen) and nothing has changed since. Null when the
    // last change was passed over by a filter, could not be read or is still being read, or when
    // its entry has left the history.
    ClipboardEntryPtr clipboardEntry() const;

Q_SIGNALS:
    // The list changed: entries added, moved or removed.
    void entriesChanged();
    // An entry changed in place (its favourite flag).
    void entryChanged(const ClipboardEntryPtr& entry);
    // The program that owned the clipboard went away and left it empty. `entry` is what the
    // clipboard held, as the history recorded it; not told when that was not recorded.
    void contentsAbandoned(const tessel::ClipboardEntryPtr& entry);

private:
    bool passesPasswordFilters(const ClipboardSnapshot& snapshot) const;
    // The pasteboard's contents now, with the active application now (the polled path).
    ClipboardSnapshot currentSnapshot() const;
    void record(const ClipboardSnapshot& snapshot);
    // The program that held the clipboard went away (`snapshot` is its going).
    void ownerGone(const ClipboardSnapshot& snapshot);
    // The clipboard holds `entry` as of change `changeCount`.
    void holdEntry(const ClipboardEntryPtr& entry, qint64 changeCount);
    // Removes `removed` from disk unless an entry still in the history keeps the same blob.
    void deleteBlobs(const ClipboardEntryList& removed);
    // Writes the history unless it is on disk as it stands (no change since a save that worked).
    void saveNow();
    // Entries a save had to leave out to keep the registry readable leave the history too.
    void dropLeftOut(const ClipboardEntryList& leftOut);

    Pasteboard& m_pasteboard;
    Workspace& m_workspace;
    SettingsStore& m_settings;
    std::unique_ptr<ClipboardStore> m_store;
    ClipboardEntryList m_entries;
    qint64 m_lastChangeCount = 0;
    bool m_monitoring = false;
    QTimer m_timer;
    QTimer m_saveTimer;
    // Running while a change waits to be saved.
    QElapsedTimer m_unsavedSince;
    std::optional<qint64> m_limitFloor;
    std::weak_ptr<ClipboardEntry> m_clipboardEntry;
    // The change count as of which the clipboard holds m_clipboardEntry.
    qint64 m_clipboardEntryCount = -1;
    ImageLoader m_images;
};

} // namespace tessel
