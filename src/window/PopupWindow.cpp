// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/PopupWindow.h"

#include "ui/style/UiFonts.h"
#include "ui/widgets/ReturnPressesButtons.h"
#include "window/PopupAccessibility.h"
#include "window/PopupKeyTarget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QScreen>
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

QPainterPath roundedShape(const QRect& rect)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect), PopupWindow::cornerRadius, PopupWindow::cornerRadius);
    return path;
}

// Lies over the whole content and makes what the content painted outside the rounded outline
// transparent again, anti-aliased. The content's children fill their backgrounds to the square
// edges, and Qt cannot clip children to a curve; in the shared backing store of a translucent
// window, this widget repaints after anything beneath it did, so the corners stay cut.
class CornerCutter : public QWidget {
public:
    explicit CornerCutter(QWidget* parent)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainterPath outside;
        outside.addRect(QRectF(rect()));
        outside = outside.subtracted(roundedShape(rect()));
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.fillPath(outside, Qt::black);
    }
};
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
    setFixedSize(contentSize());
    if (m_style == PopupStyle::floatingWindow) {
        // A Wayland window's mask only limits where it takes input: the square corners would
        // still show. Compositors blend a translucent window, so the corners can be cut there.
        setAttribute(Qt::WA_TranslucentBackground);
        m_cutter = new CornerCutter(this);
        m_cutter->raise();
    } else {
        installPopupAccessibility();
    }
}

QSize PopupWindow::contentSize()
{
    const QSize wanted = scaled(QSize(330, 450));
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    // A large font on a small screen: as large as the screen leaves room for, in proportion.
    const QSize room = screen->availableGeometry().size() - QSize(20, 20);
    return wanted.boundedTo(room).width() < wanted.width() ||
                   wanted.boundedTo(room).height() < wanted.height()
               ? wanted.scaled(room, Qt::KeepAspectRatio)
               : wanted;
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
    // Return presses the focused button before the content takes Return for its own selection.
    if (pressButtonOnReturn(static_cast<QWidget*>(watched), *key))
        return true;
    auto* target = dynamic_cast<PopupKeyTarget*>(m_content);
    // The content may use Escape first, to close something of its own.
    if (target && target->handlePopupKey(*key))
        return true;
    if (key->key() == Qt::Key_Escape) {
        Q_EMIT escapePressed();
        return true;
    }
    return false;
}

void PopupWindow::resizeEvent(QResizeEvent* event)
{
    if (m_cutter) {
        m_cutter->setGeometry(rect());
    } else {
        // An X11 desktop may run without a compositing manager, where a translucent window shows
        // black corners; a shaped window looks right on every X11 desktop.
        setMask(QRegion(roundedShape(rect()).toFillPolygon().toPolygon()));
    }
    QWidget::resizeEvent(event);
}

void PopupWindow::paintEvent(QPaintEvent*)
{
    // Translucent, the window shows what is painted: a content that paints no background of its
    // own still shows on the popup's.
    if (!m_cutter)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(roundedShape(rect()), palette().color(QPalette::Window));
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
