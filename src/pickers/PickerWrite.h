// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace tessel {

class Pasteboard;

// The pickers' write: replaces the pasteboard's contents with `text` as plain text, marked
// transient ("1" under the transient type) so that clipboard histories, ours included, do not
// record it.
void writePickedText(Pasteboard& pasteboard, const QString& text);

} // namespace tessel
