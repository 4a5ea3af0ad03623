// SPDX-License-Identifier: GPL-3.0-or-later
// An X11 application to paste into: a window titled by the first argument with one text field,
// which prints its whole text on standard output, one line per change, so that a test reads
// what it received while it keeps running.
#include <QApplication>
#include <QLineEdit>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QLineEdit field;
    field.setWindowTitle(app.arguments().value(1, QStringLiteral("x11_text_receiver")));
    QObject::connect(&field, &QLineEdit::textChanged, [](const QString& text) {
        std::fprintf(stdout, "%s\n", text.toUtf8().constData());
        std::fflush(stdout);
    });
    field.resize(400, 40);
    field.show();
    return app.exec();
}
