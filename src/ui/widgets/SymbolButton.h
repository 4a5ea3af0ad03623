// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractButton>

namespace tessel {

// A borderless button showing one symbol on a faint circle (the popup header's buttons).
class SymbolButton : public QAbstractButton {
    Q_OBJECT

public:
    SymbolButton(QString symbol, int glyphSize, int padding, QWidget* parent = nullptr);

    const QString& symbol() const { return m_symbol; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    int m_glyph;
    int m_padding;
};

} // namespace tessel
