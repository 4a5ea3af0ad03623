// SPDX-License-Identifier: GPL-3.0-or-later
// A language added as translators add one: a .ts file and its line in the list, no code. The
// build here carries the three languages and a French file that translates a few texts.
#include "gui/ui/PopupFixture.h"
#include "hotkey/HotkeyManager.h"
#include "localization/QtTranslations.h"
#include "support/FakeHotkeyBackend.h"
#include "support/FakeLoginItems.h"
#include "ui/popup/ContentView.h"
#include "ui/preferences/PreferenceParts.h"
#include "ui/preferences/PreferencesContext.h"
#include "ui/preferences/PreferencesView.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace tessel;

namespace {

struct Fixture : test::PopupFixture {
    Fixture()
        : PopupFixture(TranslationCatalogue::load(u":/test/fourth"_s))
    {}
    test::FakeHotkeyBackend backend;
    HotkeyManager hotkeys{settings, backend};
    test::FakeLoginItems loginItems;
};

QStringList labelTexts(const QWidget& root)
{
    QStringList texts;
    for (const QLabel* label : root.findChildren<QLabel*>())
        texts.append(label->text());
    return texts;
}

} // namespace

class TestFourthLanguageGui : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aLanguageFromATranslationFileAloneIsOffered()
    {
        Fixture f;
        f.hotkeys.start([](HotkeyManager::Action) {});
        QCOMPARE(f.language.catalogue().codes(), (QStringList{u"pt"_s, u"en"_s, u"es"_s, u"fr"_s}));
        PreferencesView prefs(PreferencesContext{
            f.settings, f.language, f.hotkeys, f.permissions, f.loginItems, {}, nullptr, {}});
        prefs.show();
        auto* picker = prefs.findChild<QComboBox*>(settings::appLanguage.name);
        QCOMPARE(picker->count(), 5);
        QCOMPARE(picker->itemText(4), u"🇫🇷 Français"_s);
        QCOMPARE(picker->itemData(4).toString(), u"fr"_s);

        const QtTranslations qtTexts(f.language);
        picker->setCurrentIndex(4);
        Q_EMIT picker->activated(4);
        QCOMPARE(f.settings.value(settings::appLanguage), u"fr"_s);

        // The interface speaks it where its file has the text, English elsewhere.
        QCOMPARE(prefs.tabButtons().first()->text(), u"Général"_s);
        QCOMPARE(prefs.tabButtons().at(1)->text(), u"Appearance"_s);
        QCOMPARE(picker->itemText(0), u"🌐 Automatique (système)"_s);
        auto* limit = prefs.findChild<QComboBox*>(settings::maxHistoryItems.name);
        QCOMPARE(limit->currentText(), u"50 éléments"_s);
        ContentView popup(f.context(), PopupTab::clipboard);
        QVERIFY(labelTexts(popup).contains(u"Presse-papiers Tessel"_s));
        // Qt's own texts follow where Qt has the language.
        QCOMPARE(QCoreApplication::translate("QLineEdit", "&Undo"), u"&Annuler"_s);
    }

    void theDesktopsLanguageChoosesIt()
    {
        Fixture f;
        f.preferredLanguages = {u"fr-CA"_s, u"pt-BR"_s};
        QCOMPARE(f.language.activeLanguageCode(), u"fr"_s);
        QCOMPARE(f.language.activeLocaleName(), u"fr_FR"_s);
        QCOMPARE(f.language.label(u"system"_s), u"🌐 Automatique (système)"_s);
    }
};

QTEST_MAIN(TestFourthLanguageGui)
#include "test_fourth_language_gui.moc"
