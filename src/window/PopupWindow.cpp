#include "window/PopupWindow.h"

#include "window/PopupKeyTarget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainterPath>
#include <QRegion>
#include <QVBoxLayout>

namespace tessel {

namespace {
Qt::WindowFlags flagsFor(PopupStyle style)
{
    switch (style) {
    case PopupStyle::overlayAtPointer:
        return Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    case PopupStyle::floatingWindow:
        break;
    }
    return Qt::Window | Qt::FramelessWindowHint;
}
} // namespace

PopupWindow::PopupWindow(QWidget* content, PopupStyle style)
    : QWidget(nullptr, flagsFor(style))
    , m_content(content)
    , m_style(style)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("PopupWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    setFixedSize(contentSize);
}

PopupWindow::~PopupWindow()
{
    setRouting(false);
}

void PopupWindow::setRouting(bool on)
{
    if (on == m_routing)
        return;
    // Keys go to the focused widget, which may be any child; only the application sees them all
    // first. Installed while the popup shows, so nothing filters keys while it is closed.
    if (on)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
    m_routing = on;
}

bool PopupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != this)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
        Q_EMIT escapePressed();
        return true;
    }
    if (auto* target = dynamic_cast<PopupKeyTarget*>(m_content))
        return target->handlePopupKey(*key);
    return false;
}

void PopupWindow::resizeEvent(QResizeEvent* event)
{
    // Without a compositing manager a translucent window shows black corners; a shaped window
    // looks right on every desktop.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    QWidget::resizeEvent(event);
}

void PopupWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    setRouting(true);
}

void PopupWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || m_style != PopupStyle::floatingWindow)
        return;
    // The compositor activates the window a moment after it shows; only losing the focus it had
    // closes it.
    if (isActiveWindow())
        m_wasActive = true;
    else if (m_wasActive && isVisible())
        close();
}

void PopupWindow::hideEvent(QHideEvent* event)
{
    setRouting(false);
    QWidget::hideEvent(event);
    Q_EMIT dismissed();
}

} // namespace tessel
