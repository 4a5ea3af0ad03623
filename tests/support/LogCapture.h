// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace tessel::test {

// Records the messages of Qt's logging (qCWarning and the rest) while it lives, instead of
// printing them; the previous handler comes back on destruction. One at a time, main thread.
class LogCapture {
public:
    struct Message {
        QtMsgType type;
        QString category;
        QString text;
    };

    LogCapture()
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&LogCapture::record);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const QList<Message>& messages() const { return m_messages; }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (s_current)
            s_current->m_messages.append(
                {type, QString::fromLatin1(context.category ? context.category : ""), text});
    }

    inline static LogCapture* s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
    QList<Message> m_messages;
};

} // namespace tessel::test
