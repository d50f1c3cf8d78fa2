#pragma once

#include <QString>

#include <array>

namespace veltrano {

// The learner's choices from the tray menu, kept in the program's settings store (section
// "Options"). Read anew wherever they are used, so a change applies with the next entry. A
// stored value that is not one of the choices offered reads as the default.
class Options {
public:
    // Seconds each entry stays on show; 0.3 by default.
    static constexpr std::array<double, 3> entrySecondsOffered{0.3, 1.0, 2.0};
    static double entrySeconds();
    static void setEntrySeconds(double seconds);

    // Whether no entry is shown while a full-screen window is active; on by default.
    static bool pauseWhileFullScreen();
    static void setPauseWhileFullScreen(bool pause);

    // The code of the word set whose meanings are shown (wordsets.h); "en" by default.
    static QString meaningsIn();
    static void setMeaningsIn(const QString& code);

    static QString section();
    static QString entrySecondsKey();
    static QString pauseWhileFullScreenKey();
    static QString meaningsInKey();
};

} // namespace veltrano
