#include "platform/messagebox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>

using namespace platform;

// The real box, shown until its button is clicked. The window manager cuts a title wider
// than its window: a short prompt must not make the box too narrow for its whole title,
// drawn bold, beside a title bar's icon and three buttons (24 pixels each at the least).
TEST(MsgBox, ShowsTheBoxWithItsWholeTitleAndReturnsTheClickedAnswer) {
    const QString title = QStringLiteral("Veltrano Rudoz Arirera and a Longer Title");
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int needed = QFontMetrics(titleFont).horizontalAdvance(title) + 4 * 24;
    QString shownTitle;
    int width = 0;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box && box->isVisible()) {
                shownTitle = box->windowTitle();
                width = box->width();
                icon = box->icon();
                box->button(QMessageBox::Ignore)->click();
            }
        }
    });
    clicker.start(10);
    EXPECT_EQ(MsgBox(QStringLiteral("Disk?"), mb::AbortRetryIgnore | mb::Exclamation, title),
              mb::Ignore);
    EXPECT_EQ(shownTitle, title);
    EXPECT_GE(width, needed);
    EXPECT_EQ(icon, QMessageBox::Warning);
}
