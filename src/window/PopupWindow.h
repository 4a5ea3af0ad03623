#pragma once

#include <QWidget>

namespace tessel {

// The popup's top-level window: a Qt::Popup, so it floats over the application the user works in
// without taking the active-window role from it, gets the keyboard while open, and closes on a
// click outside. It holds one content widget and has rounded corners.
class PopupWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize contentSize{330, 450};
    static constexpr int cornerRadius = 12;

    // Takes ownership of `content`.
    explicit PopupWindow(QWidget* content);

    QWidget* content() const { return m_content; }

Q_SIGNALS:
    // The window was closed or hidden, by us or by Qt (a click outside).
    void dismissed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* m_content;
};

} // namespace tessel
