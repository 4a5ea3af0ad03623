// SPDX-License-Identifier: GPL-3.0-or-later
#include "pickers/PickerWrite.h"

#include "clipboard/Pasteboard.h"
#include "clipboard/PasteboardTypes.h"

using namespace Qt::StringLiterals;

namespace tessel {

void writePickedText(Pasteboard& pasteboard, const QString& text)
{
    pasteboard.clearContents();
    PasteboardItem item;
    item.setString(PasteboardType::plainText, text);
    item.setString(PasteboardType::transient, u"1"_s);
    pasteboard.writeItem(item);
}

} // namespace tessel
