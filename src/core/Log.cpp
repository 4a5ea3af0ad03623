// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Log.h"

Q_LOGGING_CATEGORY(lcApp, "tessel.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcStore, "tessel.store", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSettings, "tessel.settings", QtInfoMsg)
Q_LOGGING_CATEGORY(lcHotkey, "tessel.hotkey", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSound, "tessel.sound", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPaste, "tessel.paste", QtInfoMsg)
Q_LOGGING_CATEGORY(lcClipboard, "tessel.clipboard", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLanguage, "tessel.language", QtInfoMsg)
