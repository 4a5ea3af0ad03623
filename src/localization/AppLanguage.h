// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace tessel {

// The user's choice of interface language, as stored under the "appLanguage" setting.
enum class AppLanguage { system, pt, en, es };

// Every choice, in the order the language picker lists them.
inline constexpr std::array<AppLanguage, 4> allAppLanguages{AppLanguage::system, AppLanguage::pt,
                                                            AppLanguage::en, AppLanguage::es};

// "system", "pt", "en" or "es": the stored form and the identity of a choice.
QString rawValue(AppLanguage language);

// The choice whose raw value is exactly `raw`; nothing for any other text.
std::optional<AppLanguage> appLanguageFromRawValue(QStringView raw);

} // namespace tessel
