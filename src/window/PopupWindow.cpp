#include "window/PopupWindow.h"

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

void PopupWindow::resizeEvent(QResizeEvent* event)
{
    // Without a compositing manager a translucent window shows black corners; a shaped window
    // looks right on every desktop.
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    QWidget::resizeEvent(event);
}

void PopupWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    Q_EMIT dismissed();
}

} // namespace tessel
