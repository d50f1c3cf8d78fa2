#pragma once

#include <QString>

#include <array>

namespace veltrano {

// The sets of meanings a learner can choose, by the language the meanings are in. Each set
// is a folder of modules beside the program; English is the set in data/ itself.
struct WordSet {
    const char* code;   // saved in the settings store
    const char* name;   // the menu's text, UTF-8
    const char* folder; // beside the program
    QString displayName() const { return QString::fromUtf8(name); }
};

inline constexpr std::array<WordSet, 8> wordSets{{
    {"en", "English", "data"},
    {"de", "Deutsch", "data-de"},
    {"fr", "Français", "data-fr"},
    {"es", "Español", "data-es"},
    {"it", "Italiano", "data-it"},
    {"pt", "Português", "data-pt"},
    {"pl", "Polski", "data-pl"},
    {"ru", "Русский", "data-ru"},
}};

} // namespace veltrano
