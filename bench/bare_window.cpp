// SPDX-License-Identifier: MIT
// The floor under the program's start-up: a 210 x 690 window holding as many
// plain widgets as the program's window shows at start, painted once.
#include "platform/FirstFrameExit.h"

#include <QApplication>
#include <QWidget>

namespace {

// The program's window holds 32 widgets of its own and 8 swatches on page 1.
constexpr int widgetCount = 40;

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(210, 690);
    window.setWindowTitle(QStringLiteral("Reference"));
    for (int i = 0; i < widgetCount; ++i) {
        auto *child = new QWidget(&window);
        child->setGeometry(7, 3 + (i % 16) * 43, 127, 40);
        child->setAutoFillBackground(true);
        QPalette palette = child->palette();
        palette.setColor(QPalette::Window, QColor::fromHsv((i * 9) % 360, 120, 220));
        child->setPalette(palette);
    }
    FirstFrameExit::installIfRequested(&window);
    window.show();
    return app.exec();
}
