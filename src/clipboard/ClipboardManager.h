#pragma once

#include "clipboard/ClipboardEntry.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>

namespace tessel {

class ClipboardStore;
class Pasteboard;
class SettingsStore;
class Workspace;

// Owns the clipboard history: polls the pasteboard, records what the privacy filters let through,
// keeps the list free of duplicates and within the user's limit, puts a chosen entry back on the
// pasteboard, and has every change saved shortly after it happens. Main thread only.
class ClipboardManager : public QObject {
    Q_OBJECT

public:
    static constexpr int pollIntervalMs = 250;
    static constexpr int saveDelayMs = 400;
    static constexpr qint64 maxPayloadSize = 10 * 1024 * 1024;

    // Loads the saved history from `store` before returning.
    ClipboardManager(Pasteboard& pasteboard, Workspace& workspace, SettingsStore& settings,
                     std::unique_ptr<ClipboardStore> store, QObject* parent = nullptr);
    ~ClipboardManager() override;

    // Newest first.
    const ClipboardEntryList& entries() const { return m_entries; }
    ClipboardStore& store() const { return *m_store; }
    qint64 lastChangeCount() const { return m_lastChangeCount; }
    bool isMonitoring() const { return m_timer.isActive(); }

    // Starts (or restarts) polling; what is already on the pasteboard is not captured.
    void startMonitoring();
    // Stops polling and starts a save at once.
    void stopMonitoring();

    // Puts the entry back on the pasteboard (not captured again) and moves it to the top.
    void select(const ClipboardEntryPtr& entry);
    void deleteEntry(const ClipboardEntryPtr& entry);
    // Removes every entry that is not a favourite.
    void clearAll();
    void toggleFavorite(const ClipboardEntryPtr& entry);

    // One polling step: captures the pasteboard's contents if they changed since last seen.
    void poll();
    // The entry the current contents would make, or nothing when a filter applies or there is
    // nothing to record.
    ClipboardEntryPtr readCurrentContent() const;
    void addEntry(const ClipboardEntryPtr& entry);
    void trimHistory();
    void saveDebounced();
    // The user's limit; while the settings could not be read at start and no limit has been
    // chosen since, at least the number of entries loaded, so that nothing is deleted because a
    // setting was lost.
    qint64 historyLimit() const;

Q_SIGNALS:
    // The list changed: entries added, moved or removed.
    void entriesChanged();
    // An entry changed in place (its favourite flag).
    void entryChanged(const ClipboardEntryPtr& entry);

private:
    bool passesPasswordFilters(const QStringList& types) const;
    // Removes `removed` from disk unless an entry still in the history keeps the same blob.
    void deleteBlobs(const ClipboardEntryList& removed);

    Pasteboard& m_pasteboard;
    Workspace& m_workspace;
    SettingsStore& m_settings;
    std::unique_ptr<ClipboardStore> m_store;
    ClipboardEntryList m_entries;
    qint64 m_lastChangeCount = 0;
    QTimer m_timer;
    QTimer m_saveTimer;
    std::optional<qint64> m_limitFloor;
};

} // namespace tessel
