// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>

namespace tessel {

// One button of the emoji picker's category bar: the category's symbol in a 28-point rounded
// square, blue on a blue tint while its category is the selected one.
class CategoryButton : public QAbstractButton {
    Q_OBJECT

public:
    CategoryButton(QString symbol, QWidget* parent = nullptr);

    const QString& symbol() const { return m_symbol; }
    void setSelected(bool selected);
    bool isSelected() const { return m_selected; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    bool m_selected = false;
};

} // namespace tessel
