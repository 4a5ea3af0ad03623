// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "pickers/TextCollections.h"
#include "ui/popup/PickerCellDelegate.h"
#include "ui/popup/PickerGridView.h"
#include "window/PopupKeyTarget.h"

#include <QWidget>

namespace tessel {

class LanguageManager;
class PickerGridModel;

// A picker of built-in texts in titled sections that the search narrows (the kaomoji and the
// symbols tabs). Choosing one (a click, or Return on the keyboard's highlight) is announced with
// `picked`; the application does the rest.
class TextPickerView : public QWidget, public PopupKeyTarget {
    Q_OBJECT

public:
    PickerGridView* grid() const { return m_grid; }
    PickerGridModel* model() const { return m_model; }
    // The sections shown for the current search.
    const QList<TextCategory>& shownCategories() const { return m_shown; }

    bool handlePopupKey(const QKeyEvent& event) override;

public Q_SLOTS:
    void setSearchText(const QString& text);

Q_SIGNALS:
    void picked(const QString& text);

protected:
    TextPickerView(QList<TextCategory> categories, const PickerGridLayout& layout,
                   const PickerCellStyle& style, LanguageManager& language,
                   const QString& searchText, QWidget* parent);

private:
    void refresh();

    QList<TextCategory> m_categories;
    QList<TextCategory> m_shown;
    LanguageManager& m_language;
    QString m_searchText;
    PickerGridModel* m_model;
    PickerGridView* m_grid;
};

// The kaomoji tab: four sections of text faces in columns at least 90 points wide.
class KaomojiPickerView : public TextPickerView {
    Q_OBJECT

public:
    KaomojiPickerView(LanguageManager& language, const QString& searchText,
                      QWidget* parent = nullptr);
};

// The symbols tab: four sections of typographic and mathematical characters in 36-point cells.
class SymbolsPickerView : public TextPickerView {
    Q_OBJECT

public:
    SymbolsPickerView(LanguageManager& language, const QString& searchText,
                      QWidget* parent = nullptr);
};

} // namespace tessel
