// SPDX-License-Identifier: GPL-3.0-or-later
#include "clipboard/ClipboardKeeper.h"

#include "clipboard/ClipboardManager.h"
#include "clipboard/ImageDecoder.h"
#include "clipboard/PasteboardTypes.h"
#include "core/AppPaths.h"
#include "core/Log.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

namespace tessel {

ClipboardKeeper::ClipboardKeeper(Pasteboard& pasteboard, ClipboardManager& manager, QObject* parent)
    : QObject(parent)
    , m_pasteboard(pasteboard)
    , m_manager(manager)
{
    if (!m_pasteboard.canKeepContents())
        return;
    connect(&m_manager, &ClipboardManager::contentsAbandoned, this,
            &ClipboardKeeper::contentsAbandoned);
    m_pasteboard.setKeepRequestHandler([this](const Pasteboard::KeepAnswer& answer) {
        const bool kept = m_manager.clipboardEntry() != nullptr;
        qCDebug(lcClipboard, "a program that quits hands its clipboard over: %s",
                kept ? "kept" : "not recorded, not kept");
        answer(kept);
    });
}

ClipboardKeeper::~ClipboardKeeper()
{
    m_pasteboard.setKeepRequestHandler({});
}

PasteboardItem ClipboardKeeper::keptItem(const ClipboardEntry& entry, const QByteArray& imageBytes)
{
    PasteboardItem item;
    if (const auto& text = entry.textContent()) {
        item.setString(PasteboardType::plainText, *text);
        return item;
    }
    if (imageBytes.isEmpty())
        return item;
    // Served as recorded: the bytes are PNG unless the owner offered TIFF alone.
    const bool tiff = !ImageDecoder::isPng(imageBytes) && entry.mimetype() == PasteboardType::tiff;
    item.setData(tiff ? QString(PasteboardType::tiff) : QString(PasteboardType::png), imageBytes);
    return item;
}

void ClipboardKeeper::contentsAbandoned(const ClipboardEntryPtr& entry)
{
    if (!entry->isImage() || entry->loadedImageData()) {
        keep(entry, entry->loadedImageData().value_or(QByteArray()));
        return;
    }
    // The image's blob is read away from the main thread; the clipboard may have changed again
    // by the time it is read.
    const QString path = entry->imageFileURL().value_or(QString());
    QPointer<ClipboardKeeper> self(this);
    QThreadPool::globalInstance()->start([self, entry, path] {
        auto bytes = AppPaths::readPrivateFile(path, ClipboardEntry::maxImageFileBytes);
        QByteArray read = bytes ? std::move(bytes.value()) : QByteArray();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, entry, read] {
                // A plain pointer: the release build's null-dereference check does not see
                // through QPointer.
                ClipboardKeeper* keeper = self.data();
                if (keeper && keeper->m_manager.clipboardEntry() == entry)
                    keeper->keep(entry, read);
            },
            Qt::QueuedConnection);
    });
}

void ClipboardKeeper::keep(const ClipboardEntryPtr& entry, const QByteArray& imageBytes)
{
    const PasteboardItem item = keptItem(*entry, imageBytes);
    if (item.isEmpty())
        return;
    qCDebug(lcClipboard, "the program that copied went away; its copy is kept on the clipboard");
    m_pasteboard.keepContents(item);
    Q_EMIT kept(entry);
}

} // namespace tessel
