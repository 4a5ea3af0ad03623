// SPDX-License-Identifier: GPL-3.0-or-later
#include "localization/AppLanguage.h"

using namespace Qt::StringLiterals;

namespace tessel {

QString rawValue(AppLanguage language)
{
    switch (language) {
    case AppLanguage::system:
        return u"system"_s;
    case AppLanguage::pt:
        return u"pt"_s;
    case AppLanguage::en:
        return u"en"_s;
    case AppLanguage::es:
        return u"es"_s;
    }
    return {};
}

std::optional<AppLanguage> appLanguageFromRawValue(QStringView raw)
{
    for (const AppLanguage language : allAppLanguages) {
        if (raw == rawValue(language))
            return language;
    }
    return std::nullopt;
}

} // namespace tessel
