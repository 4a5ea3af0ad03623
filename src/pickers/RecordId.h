// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace tessel {

// A fresh identity for a list record (an emoji, a picker category), unique within the process.
// Ids are never stored and differ between runs only as far as creation order does.
quint64 nextRecordId();

} // namespace tessel
