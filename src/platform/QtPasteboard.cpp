// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtPasteboard.h"

#include "clipboard/PasteboardTypes.h"
#include "clipboard/TargetList.h"

#include <QClipboard>
#include <QHash>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// Contents of ours whose converted formats are made when a program asks for them, through
// Qt's hook for that, rather than held for as long as the clipboard is ours.
class ProducedMimeData final : public QMimeData {
public:
    void setProduced(const QString& format, PasteboardProducer producer)
    {
        // Listed among the formats, in their place; the bytes come from the producer.
        setData(format, {});
        m_producers.insert(format, std::move(producer));
    }

protected:
    QVariant retrieveData(const QString& format, QMetaType type) const override
    {
        if (const auto it = m_producers.constFind(format); it != m_producers.cend())
            return (*it)().value_or(QByteArray());
        return QMimeData::retrieveData(format, type);
    }

private:
    QHash<QString, PasteboardProducer> m_producers;
};
} // namespace

QtPasteboard::QtPasteboard(QClipboard* clipboard, QObject* parent)
    : QObject(parent)
    , m_clipboard(clipboard)
{
    connect(m_clipboard, &QClipboard::dataChanged, this, &QtPasteboard::onClipboardChanged);
}

QString QtPasteboard::typeForFormat(const QString& format)
{
    return TargetList::typeForTarget(format);
}

QString QtPasteboard::formatForType(const QString& type)
{
    return TargetList::targetForType(type);
}

QStringList QtPasteboard::types() const
{
    const QMimeData* data = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!data)
        return {};
    QStringList result;
    const auto formats = data->formats();
    for (const auto& format : formats) {
        if (TargetList::isProtocolTarget(format))
            continue;
        const QString type = typeForFormat(format);
        if (!result.contains(type))
            result.append(type);
    }
    return result;
}

std::optional<QByteArray> QtPasteboard::dataForType(const QString& type) const
{
    const QMimeData* data = m_clipboard->mimeData(QClipboard::Clipboard);
    const QString format = formatForType(type);
    if (!data || !data->hasFormat(format))
        return std::nullopt;
    return data->data(format);
}

std::optional<QString> QtPasteboard::stringForType(const QString& type) const
{
    const QMimeData* data = m_clipboard->mimeData(QClipboard::Clipboard);
    if (!data)
        return std::nullopt;
    if (type == PasteboardType::plainText) {
        // QMimeData::text() also decodes the legacy X11 string targets.
        if (!data->hasText())
            return std::nullopt;
        return data->text();
    }
    const QString format = formatForType(type);
    if (!data->hasFormat(format))
        return std::nullopt;
    return QString::fromUtf8(data->data(format));
}

void QtPasteboard::clearContents()
{
    // Owning an empty clipboard, rather than releasing it, keeps every change we make ours.
    publish(new QMimeData);
}

void QtPasteboard::writeItem(const PasteboardItem& item)
{
    auto* data = new ProducedMimeData;
    for (const PasteboardValue& value : item.values()) {
        if (value.isDeferred())
            data->setProduced(formatForType(value.type), value.producer);
        else if (value.type == PasteboardType::plainText)
            data->setText(QString::fromUtf8(value.bytes));
        else
            data->setData(formatForType(value.type), value.bytes);
    }
    publish(data);
}

void QtPasteboard::publish(QMimeData* data)
{
    ++m_changeCount;
    m_ownData = data;
    m_clipboard->setMimeData(data, QClipboard::Clipboard);
}

void QtPasteboard::onClipboardChanged()
{
    // Qt announces our own writes too, at once and again when the selection owner changes.
    if (m_clipboard->ownsClipboard() && m_clipboard->mimeData(QClipboard::Clipboard) == m_ownData)
        return;
    m_ownData = nullptr;
    ++m_changeCount;
}

} // namespace tessel
