// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>
#include <QStringList>

namespace tessel {

class ShortcutRecorder;

// The button of a shortcut row: the shortcut's keys as small key caps, or, while its row is
// recording, the prompt text highlighted. While recording it holds the keyboard and hands
// every key press to the recorder, so that no other window or program acts on those keys.
class KeyCapButton : public QAbstractButton {
    Q_OBJECT

public:
    KeyCapButton(ShortcutRecorder& recorder, QWidget* parent = nullptr);

    void setKeys(const QStringList& keys);
    QStringList keys() const { return m_keys; }
    // Shows `prompt` highlighted and takes the keyboard, or goes back to the key caps.
    void setRecording(bool recording, const QString& prompt);
    bool isRecording() const { return m_recording; }

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    ShortcutRecorder& m_recorder;
    QStringList m_keys;
    QString m_prompt;
    bool m_recording = false;
};

} // namespace tessel
