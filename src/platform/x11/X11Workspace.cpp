#include "platform/x11/X11Workspace.h"

#include "platform/x11/X11Connection.h"

#include <QList>
#include <QStringList>

#include <xcb/xproto.h>

using namespace Qt::StringLiterals;

namespace tessel::x11 {

QString X11Workspace::frontmostApplicationId() const
{
    const uint32_t window = X11Connection::activeWindow();
    if (!window)
        return {};
    return applicationIdFromWmClass(
        X11Connection::property(window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING));
}

QString X11Workspace::applicationIdFromWmClass(const QByteArray& wmClass)
{
    const auto parts = wmClass.split('\0');
    QStringList names;
    for (const auto& part : parts) {
        if (!part.isEmpty())
            names.append(QString::fromLocal8Bit(part));
    }
    return names.join(u'.');
}

} // namespace tessel::x11
