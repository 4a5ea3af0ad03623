// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>

namespace tessel {

// How the clipboard's targets (MIME names and X11 target names) become Tessel's type
// identifiers, and which targets carry the content worth reading. Pure: no display needed.
namespace TargetList {

// Owners may offer any number of targets; only this many are looked at, so that a list of
// 100,000 costs no more than a normal one.
inline constexpr qsizetype maxTargets = 512;

// Tessel's identifier for a target: the three standard types keep Tessel's own names, any
// other target is reported as it is.
QString typeForTarget(QLatin1StringView target);
QString typeForTarget(const QString& target);
// The target a standard type is written under; other types are their own target.
QString targetForType(const QString& type);

// True for the selection protocol's own targets and aliases that describe no content.
bool isProtocolTarget(const QString& target);

enum class TextEncoding { utf8, latin1 };

struct TextTarget {
    QString target;
    TextEncoding encoding = TextEncoding::utf8;
};

struct Offer {
    // Type identifiers in the owner's order, without duplicates or protocol targets.
    QStringList types;
    // The targets to read the standard types from; empty when not offered.
    QString pngTarget;
    QString tiffTarget;
    // The best text target; empty when there is no text.
    TextTarget text;
};

// Every target a type is offered under when Tessel owns the clipboard: for text each of the
// usual text targets with its encoding, for PNG and TIFF their MIME names; any other type is its
// own target.
QList<TextTarget> targetsOf(const QString& type);

// Reads an owner's target list in one pass, looking at the first `maxTargets` entries only.
Offer fromTargets(const QStringList& targets);

QString decodeText(const QByteArray& bytes, TextEncoding encoding);

} // namespace TargetList

// The largest payload Tessel records, images and text alike, applied while data arrives.
class PayloadLimit {
public:
    static constexpr qint64 defaultMaxBytes = 10 * 1024 * 1024;

    explicit constexpr PayloadLimit(qint64 maxBytes = defaultMaxBytes)
        : m_maxBytes(maxBytes)
    {}

    qint64 maxBytes() const { return m_maxBytes; }
    // Whether `bytes` (received so far, or announced by the sender) still fits.
    bool fits(qint64 bytes) const { return bytes >= 0 && bytes <= m_maxBytes; }

private:
    qint64 m_maxBytes;
};

} // namespace tessel
