// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

namespace tessel {

// The search field of the picker tabs: a magnifying glass and a borderless line edit on a
// rounded, faintly filled background. Screen readers name the field by its placeholder.
class SearchBar : public QWidget {
    Q_OBJECT

public:
    SearchBar(const QString& placeholder, const QString& text, QWidget* parent = nullptr);

    QLineEdit* lineEdit() const { return m_edit; }
    // Names the field's clear button for screen readers (and its tool tip).
    void setClearButtonName(const QString& name);

Q_SIGNALS:
    void textChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void paintGlass();

    QLineEdit* m_edit;
    QLabel* m_glass;
};

} // namespace tessel
