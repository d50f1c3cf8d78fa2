// Prints, for every line read on standard input (UTF-8), the width in pixels that the line
// takes in the display strip's list: the font the strip's window sets on its list ("MS Sans
// Serif", 12 point, normal weight, sans-serif style hint), measured with QFontMetrics on the
// offscreen platform. One number per input line, in input order. Used by generate_modules.py.

#include <QFont>
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
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::printf("%d\n", metrics.horizontalAdvance(QString::fromStdString(line)));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
