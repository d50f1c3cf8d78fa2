#pragma once

#include <QString>

namespace veltrano {

// Which module holds which letter, as the shipped word sets and the main window have it:
// 4 is A ... 19 is P, then 20 Q - R, 21 S, 22 T - U, 23 V - W, 24 X - Z, and 25 New Words.
class ModuleLetters {
public:
    static bool isModule(int number);
    // The module of word's first letter; leading punctuation is passed over and accents do
    // not count (élan is an E word). A word that starts with anything else than a letter of
    // A to Z (a digit, Ø, Cyrillic) goes into New Words.
    static int moduleFor(QStringView word);
    // The module's caption in the main window: "A", "Q - R", "New Words".
    static QString name(int number);
};

} // namespace veltrano
