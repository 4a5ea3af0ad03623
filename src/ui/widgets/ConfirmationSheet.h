// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;

namespace tessel {

// An alert drawn over its parent widget, inside the popup (a separate dialog window would close
// the popup): a title, a message, a cancel button and a destructive button. Return, or Space,
// presses the focused button; the keyboard goes back where it was when the sheet hides.
class ConfirmationSheet : public QWidget {
    Q_OBJECT

public:
    ConfirmationSheet(const QString& title, const QString& message, const QString& cancelText,
                      const QString& confirmText, QWidget* parent);

    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* confirmButton() const { return m_confirm; }

    // Covers the parent and takes the keyboard.
    void present();

Q_SIGNALS:
    void confirmed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyColours();

    QWidget* m_card;
    QPushButton* m_cancel;
    QPushButton* m_confirm;
    QPointer<QWidget> m_returnFocus;
};

} // namespace tessel
