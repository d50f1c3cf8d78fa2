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

    // The order entries come in: the file's (the default), or each entry once per pass in an
    // order drawn afresh for every pass. Stored as the menu's text.
    enum class Order { InTurn, Shuffled };
    static constexpr std::array<Order, 2> ordersOffered{Order::InTurn, Order::Shuffled};
    static QString orderText(Order order);
    static Order order();
    static void setOrder(Order order);

    static QString section();
    static QString entrySecondsKey();
    static QString pauseWhileFullScreenKey();
    static QString meaningsInKey();
    static QString orderKey();
};

} // namespace veltrano
