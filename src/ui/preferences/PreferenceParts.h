// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Settings.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QVBoxLayout;

namespace tessel {

class SettingsStore;
class TextBinder;

// A label whose colour is a role of the design (secondary text, an error...) taken from the
// palette of its window, so it follows theme changes.
class ToneLabel : public QLabel {
    Q_OBJECT

public:
    enum class Tone { primary, secondary, tertiary, accent, error, warning, success };

    ToneLabel(Tone tone, int pixelSize, QFont::Weight weight = QFont::Normal,
              QWidget* parent = nullptr);

    void setTone(Tone tone);
    Tone tone() const { return m_tone; }
    static QColor colour(Tone tone, const QPalette& palette);

protected:
    void changeEvent(QEvent* event) override;

private:
    void applyTone();

    Tone m_tone;
    bool m_applying = false;
};

// A rounded panel in the theme's card colour that holds a vertical layout.
class Card : public QWidget {
    Q_OBJECT

public:
    explicit Card(QWidget* parent = nullptr);
    QVBoxLayout* body() const { return m_body; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVBoxLayout* m_body;
};

// A check box with its title and, beneath, a smaller line explaining it.
class ToggleRow : public QWidget {
    Q_OBJECT

public:
    ToggleRow(TextBinder& texts, const char* titleId, const char* explanationId,
              QWidget* parent = nullptr);
    QCheckBox* checkBox() const { return m_checkBox; }

private:
    QCheckBox* m_checkBox;
};

// A small capsule with a word in capitals ("ACTIVE"), tinted in a tone.
class Badge : public QWidget {
    Q_OBJECT

public:
    explicit Badge(QWidget* parent = nullptr);
    void set(const QString& text, ToneLabel::Tone tone);
    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    ToneLabel::Tone m_tone = ToneLabel::Tone::secondary;
};

// One of the preferences' tab buttons: a symbol and a title, highlighted when checked.
class PreferencesTabButton : public QAbstractButton {
    Q_OBJECT

public:
    PreferencesTabButton(QString symbol, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
};

// Keeps `box` and the boolean setting `key` in step both ways: a click writes the key at once,
// and a change of the key from elsewhere moves the box.
void bindToggle(QCheckBox* box, SettingsStore& settings, const SettingKey<bool>& key);

// The column of sections that fills a tab, with the margins and spacing every tab shares.
QVBoxLayout* pageLayout(QWidget* page);

// A row of a label and a drop-down list beside it: the list as wide as its longest choice and at
// least `width` (at the design's font size), the label taking a second line where a translation
// leaves it too little room.
void fitPickerRow(QLabel* label, QComboBox* picker, int width);

// The header text that opens a section of a tab.
QLabel* sectionHeader(TextBinder& texts, const char* id, QWidget* parent = nullptr);

// A symbol of the icon set, `pixelSize` square, in the colour of a tone of the window's palette.
class SymbolIcon : public QWidget {
    Q_OBJECT

public:
    SymbolIcon(QString symbol, int pixelSize, ToneLabel::Tone tone, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol, ToneLabel::Tone tone);
    const QString& symbol() const { return m_symbol; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    int m_size;
    ToneLabel::Tone m_tone;
};

} // namespace tessel
