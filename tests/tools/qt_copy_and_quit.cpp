// SPDX-License-Identifier: GPL-3.0-or-later
// qt_copy_and_quit: a Qt program that shows a window, copies, and quits at once, never returning
// to its event loop: what it copied can only be read while Qt hands its clipboard over to the
// clipboard manager (SAVE_TARGETS) as the program ends. Options: --text TEXT, or --png FILE.
// Prints "copied" once the copy is made; Qt's own warnings go to standard error.
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QRasterWindow>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    auto* data = new QMimeData;
    const qsizetype text = args.indexOf(QStringLiteral("--text"));
    const qsizetype png = args.indexOf(QStringLiteral("--png"));
    if (text > 0 && text + 1 < args.size()) {
        data->setText(args.at(text + 1));
    } else if (png > 0 && png + 1 < args.size()) {
        QFile file(args.at(png + 1));
        if (!file.open(QIODevice::ReadOnly))
            return 2;
        data->setData(QStringLiteral("image/png"), file.readAll());
    } else {
        std::fputs("qt_copy_and_quit: --text TEXT or --png FILE\n", stderr);
        return 2;
    }
    // A window, as programs have: its first events give Qt the server time that a selection
    // owner needs, and that Qt needs before it hands a clipboard over.
    QRasterWindow window;
    window.resize(200, 100);
    window.show();
    QElapsedTimer shown;
    shown.start();
    while (!window.isExposed() && !shown.hasExpired(5000))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QGuiApplication::clipboard()->setMimeData(data);
    std::puts("copied");
    std::fflush(stdout);
    return 0;
}
