#include "window/PopupWindow.h"

#include "window/PopupKeyTarget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainterPath>
#include <QRegion>
#include <QVBoxLayout>

namespace tessel {

PopupWindow::PopupWindow(QWidget* content)
    : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint)
    , m_content(content)
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

void PopupWindow::hideEvent(QHideEvent* event)
{
    setRouting(false);
    QWidget::hideEvent(event);
    Q_EMIT dismissed();
}

} // namespace tessel
