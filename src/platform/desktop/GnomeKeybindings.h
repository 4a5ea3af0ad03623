// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "hotkey/DesktopKeybindings.h"

#include <QProcess>
#include <QStringList>
#include <functional>

namespace tessel::desktop {

// GNOME's custom keybindings (the media-keys plugin's "custom-keybindings" list in GSettings and
// one relocatable "custom-keybinding" entry per binding), written with the `gsettings` tool, one
// command at a time and each time-limited, so nothing waits on the main thread. Tessel's entries
// live at paths of their own (…/custom-keybindings/tessel-<id>/): the user's other bindings are
// kept as they are.
class GnomeKeybindings final : public DesktopKeybindings {
    Q_OBJECT

public:
    explicit GnomeKeybindings(QObject* parent = nullptr);
    ~GnomeKeybindings() override;

    // The media-keys schema is installed and `gsettings` is on the path.
    bool isOffered() const override;
    void apply(const QList<Binding>& bindings, Done done) override;
    void remove(Done done) override;

    static constexpr int commandTimeoutMs = 5000;
    // The path of Tessel's binding `id`.
    static QString pathFor(const QString& id);
    // The entries of a GVariant string array as `gsettings get` prints it.
    static QStringList parseList(const QString& printed);
    // A GVariant text literal for `text`.
    static QString quoted(const QString& text);

private:
    // Runs `gsettings` with `arguments`; `next` gets its output, or the chain fails.
    void gsettings(const QStringList& arguments, std::function<void(const QString&)> next);
    void begin(Done done);
    void fail(const QString& error);
    void succeed();
    void runQueue();
    static QString listLiteral(const QStringList& paths);

    QProcess m_process;
    Done m_done;
    // The `gsettings` commands still to run for the current change.
    QList<QStringList> m_queue;
    std::function<void(const QString&)> m_next;
};

} // namespace tessel::desktop
