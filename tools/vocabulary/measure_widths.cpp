// Prints, for every line read on standard input (UTF-8), the width in pixels that the line
// takes in the display strip's list: the font the strip's window sets on its list ("MS Sans
// Serif", 12 point, normal weight, sans-serif style hint), measured with QFontMetrics on the
// offscreen platform. One output line per input line, in input order: the width, then
// "U+XXXX" for each character the font really drawn with lacks (a substitute glyph could be
// wider than measured). Used by generate_modules.py and check_word_sets.py.

#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>

#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QFont font(QStringLiteral("MS Sans Serif"), 12, QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    const QFontMetrics metrics(font);
    // The family the requested one resolves to on this system.
    const QFontMetrics used(QFont(QFontInfo(font).family(), font.pointSize()));
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const QString text = QString::fromStdString(line);
        std::printf("%d", metrics.horizontalAdvance(text));
        for (const char32_t c : text.toUcs4())
            if (!used.inFontUcs4(c))
                std::printf(" U+%04X", unsigned(c));
        std::printf("\n");
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
