#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

namespace trapwell::dialogs {

// What the component's dialogs share, so they look alike side by side: their buttons'
// font (the text areas use the application's), and the frame of a fixed-size modal dialog,
// which a user closes but never minimises or maximises.

// Named fonts may be missing here; the system then picks a sans-serif face.
inline QFont namedFont(const char* family, int points, bool bold = false) {
    QFont font(QString::fromLatin1(family), points, bold ? QFont::Bold : QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

inline QFont buttonFont() {
    return namedFont("Tahoma", 8);
}

inline Qt::WindowFlags modalDialogFlags() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

// Captions are laid out for the classic dialog font; a wider stand-in font is made smaller
// rather than cut off.
inline void shrinkToFit(QWidget* widget, const QString& caption, int room) {
    QFont font = widget->font();
    const QString text = QString(caption).remove(u'&');
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    widget->setFont(font);
}

} // namespace trapwell::dialogs
