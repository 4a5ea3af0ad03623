// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preferences/IgnoredApplicationsCard.h"

#include "clipboard/IgnoredApplications.h"
#include "core/SettingsStore.h"
#include "ui/preferences/TextBinder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace tessel {

namespace {
// The running applications fill the field's list when it opens, not before.
class RunningApplicationsBox : public QComboBox {
public:
    RunningApplicationsBox(std::function<void()> beforePopup, QWidget* parent)
        : QComboBox(parent)
        , m_beforePopup(std::move(beforePopup))
    {}

    void showPopup() override
    {
        m_beforePopup();
        QComboBox::showPopup();
    }

private:
    std::function<void()> m_beforePopup;
};
} // namespace

IgnoredApplicationsCard::IgnoredApplicationsCard(SettingsStore& settings, TextBinder& texts,
                                                 std::function<QStringList()> runningApplications,
                                                 QWidget* parent)
    : Card(parent)
    , m_settings(settings)
    , m_runningApplications(std::move(runningApplications))
    , m_list(new QListWidget(this))
    , m_empty(new ToneLabel(ToneLabel::Tone::tertiary, 11, QFont::Normal, this))
    , m_field(new RunningApplicationsBox([this] { offerRunningApplications(); }, this))
    , m_add(new QPushButton(this))
    , m_remove(new QPushButton(this))
{
    setObjectName(u"ignoredApplications"_s);
    auto* explanation = new ToneLabel(ToneLabel::Tone::secondary, 11, QFont::Normal, this);
    explanation->setWordWrap(true);
    //% "Nothing copied while one of these applications is in front is recorded."
    texts.bind(explanation, QT_TRID_NOOP("ignored_apps_sub"));
    //% "No applications added."
    texts.bind(m_empty, QT_TRID_NOOP("ignored_apps_empty"));

    m_list->setMaximumHeight(96);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->installEventFilter(this);
    m_field->setEditable(true);
    m_field->setInsertPolicy(QComboBox::NoInsert);
    m_field->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    //% "Add"
    texts.bind(m_add, QT_TRID_NOOP("ignored_apps_add"));
    //% "Remove"
    texts.bind(m_remove, QT_TRID_NOOP("ignored_apps_remove"));
    texts.bind(this, [this, &texts] {
        m_list->setAccessibleName(texts.string("section_ignored_apps"));
        //% "Application id, or pick an open window"
        const QString placeholder = texts.string("ignored_apps_placeholder");
        m_field->lineEdit()->setPlaceholderText(placeholder);
        m_field->setAccessibleName(placeholder);
        // The editable box's own field is what takes the keyboard.
        m_field->lineEdit()->setAccessibleName(placeholder);
    });

    auto* adding = new QHBoxLayout;
    adding->setSpacing(6);
    adding->addWidget(m_field, 1);
    adding->addWidget(m_add);
    adding->addWidget(m_remove);
    body()->addWidget(explanation);
    body()->addWidget(m_list);
    body()->addWidget(m_empty);
    body()->addLayout(adding);

    connect(m_add, &QPushButton::clicked, this, &IgnoredApplicationsCard::addFromField);
    connect(m_field->lineEdit(), &QLineEdit::returnPressed, this,
            &IgnoredApplicationsCard::addFromField);
    connect(m_field, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { m_add->setEnabled(!text.trimmed().isEmpty()); });
    connect(m_remove, &QPushButton::clicked, this, &IgnoredApplicationsCard::removeChosen);
    connect(m_list, &QListWidget::currentRowChanged, this,
            [this](int row) { m_remove->setEnabled(row >= 0); });
    connect(&m_settings, &SettingsStore::changed, this, [this](const QString& key) {
        if (key == settings::ignoredApplications.name)
            showList();
    });
    m_add->setEnabled(false);
    showList();
}

void IgnoredApplicationsCard::showList()
{
    const QStringList ids = IgnoredApplications::list(m_settings);
    const QString chosen = m_list->currentItem() ? m_list->currentItem()->text() : QString();
    m_list->clear();
    m_list->addItems(ids);
    m_list->setCurrentRow(std::max<int>(int(ids.indexOf(chosen)), -1));
    m_list->setVisible(!ids.isEmpty());
    m_empty->setVisible(ids.isEmpty());
    m_remove->setEnabled(m_list->currentRow() >= 0);
}

void IgnoredApplicationsCard::offerRunningApplications()
{
    const QString typed = m_field->currentText();
    const QStringList listed = IgnoredApplications::list(m_settings);
    QStringList offered;
    if (m_runningApplications) {
        for (const QString& id : m_runningApplications()) {
            if (!listed.contains(id, Qt::CaseInsensitive))
                offered.append(id);
        }
    }
    m_field->clear();
    m_field->addItems(offered);
    m_field->setCurrentIndex(-1);
    m_field->setEditText(typed);
}

void IgnoredApplicationsCard::addFromField()
{
    if (IgnoredApplications::add(m_settings, m_field->currentText()))
        m_field->setEditText(QString());
}

void IgnoredApplicationsCard::removeChosen()
{
    if (const QListWidgetItem* item = m_list->currentItem())
        IgnoredApplications::remove(m_settings, item->text());
}

bool IgnoredApplicationsCard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            removeChosen();
            return true;
        }
    }
    return Card::eventFilter(watched, event);
}

} // namespace tessel
