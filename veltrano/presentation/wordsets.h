#pragma once

#include <QString>

#include <array>

namespace veltrano {

// The sets of meanings a learner can choose, by the language the meanings are in. Each set
// is a folder of modules beside the program; English is the set in data/ itself. A set is
// offered when at least half its entries are translated (tools/vocabulary checks it): the
// French, Spanish, Italian, Portuguese, Polish and Russian ones ship but are not offered.
struct WordSet {
    const char* code;   // saved in the settings store
    const char* name;   // the menu's text, UTF-8
    const char* folder; // beside the program
    QString displayName() const { return QString::fromUtf8(name); }
};

inline constexpr std::array<WordSet, 2> wordSets{{
    {"en", "English", "data"},
    {"de", "Deutsch", "data-de"},
}};

} // namespace veltrano
