// Where each control of the dialogs stands and how big it is, in pixels at 96 DPI: a slip in
// one of the numbers moves a control for every user.

#include "dialogs/frmeml.h"
#include "dialogs/frmerror.h"

#include "platform/tests/support/golden.h"

#include <QAbstractButton>
#include <QGroupBox>

namespace {

// Each control, depth first, with its caption and its place in its parent; Qt's own parts of a
// control (scroll bars, viewports) left out.
QByteArray layout(const QWidget& dialog) {
    QString out = QStringLiteral("%1 %2x%3\n")
                      .arg(dialog.windowTitle())
                      .arg(dialog.width())
                      .arg(dialog.height());
    for (const QWidget* w : dialog.findChildren<QWidget*>()) {
        if (w->objectName().startsWith(u"qt_") ||
            w->parentWidget()->objectName().startsWith(u"qt_"))
            continue;
        QString caption;
        if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            caption = button->text();
        else if (const auto* group = qobject_cast<const QGroupBox*>(w))
            caption = group->title();
        const QRect r = w->geometry();
        out += QStringLiteral("%1 \"%2\" %3,%4 %5x%6\n")
                   .arg(QString::fromLatin1(w->metaObject()->className()), caption)
                   .arg(r.x())
                   .arg(r.y())
                   .arg(r.width())
                   .arg(r.height());
    }
    return out.toUtf8();
}

} // namespace

TEST(DialogLayout, EveryControlHasItsPlace) {
    EXPECT_GOLDEN(layout(trapwell::dialogs::frmEml()), "frmeml-layout.txt");
    trapwell::dialogs::frmError& error = trapwell::dialogs::frmError::instance();
    error.load();
    EXPECT_GOLDEN(layout(error), "frmerror-layout.txt");
    trapwell::dialogs::frmError::unloadInstance();
}
