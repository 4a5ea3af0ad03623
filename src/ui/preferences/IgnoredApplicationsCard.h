// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/preferences/PreferenceParts.h"

#include <QStringList>
#include <functional>

class QComboBox;
class QListWidget;
class QPushButton;

namespace tessel {

class SettingsStore;
class TextBinder;

// The applications whose copies are never recorded, in the Privacy tab: the list the user made,
// a button that removes the application chosen in it (or Delete), and a field that adds one,
// typed as an identifier or picked from the applications that have a window open. Follows the
// setting when it changes elsewhere.
class IgnoredApplicationsCard : public Card {
    Q_OBJECT

public:
    // `runningApplications` lists the applications with a window open, asked each time the
    // field's list opens; may be empty.
    IgnoredApplicationsCard(SettingsStore& settings, TextBinder& texts,
                            std::function<QStringList()> runningApplications,
                            QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    QComboBox* field() const { return m_field; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* removeButton() const { return m_remove; }

    // The field's text (or the application picked there) joins the list.
    void addFromField();
    // The application chosen in the list leaves it.
    void removeChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showList();
    void offerRunningApplications();

    SettingsStore& m_settings;
    std::function<QStringList()> m_runningApplications;
    QListWidget* m_list;
    QLabel* m_empty;
    QComboBox* m_field;
    QPushButton* m_add;
    QPushButton* m_remove;
};

} // namespace tessel
