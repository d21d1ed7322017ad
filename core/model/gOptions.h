#pragma once
// The account's 21 options by their place in gOptions (and in the profile's
// OptionBits). The places are stored, so they never move.
#include <array>
#include <cstddef>

enum class Option : int {
    FloatingWindow = 0,       // show the floating window
    HideFloatingWithMain = 1, // hide the floating window while the main window shows
    BalloonOnMinimise = 2,    // a balloon after minimising
    CloseMinimises = 3,       // the close button minimises
    StartWithSystem = 4,      // run at sign-on (the "Run" value)
    Reserved5 = 5,            // not shown; keeps its stored value
    OfferClipboard = 6,       // offer clipboard text for a new entry
    QuickPreview = 7,         // the home page previews entries
    DraftAutoSave = 8,        // auto-save drafts while writing
    PasswordOnlySignIn = 9,   // the sign-in asks the password only
    AutoSignIn = 10,          // sign in by itself when the account has no password
    LockWhenMinimised = 11,   // lock after a time-out once minimised
    TodayClassesAtStart = 12, // today's classes after sign-in
    ClassReminders = 13,      // remind of classes
    // 14 to 20 are not shown and keep their stored values.
    Reserved14 = 14,
    Reserved15 = 15,
    Reserved16 = 16,
    Reserved17 = 17,
    Reserved18 = 18,
    Reserved19 = 19,
    Reserved20 = 20,
};

inline constexpr std::size_t kOptionCount = 21;
// The last option the settings page shows.
inline constexpr Option kLastShownOption = Option::ClassReminders;

constexpr std::size_t optionIndex(Option o) {
    return static_cast<std::size_t>(o);
}

extern std::array<bool, kOptionCount> gOptions;

// The option by name, to read or to set.
inline bool& gOption(Option o) {
    return gOptions[optionIndex(o)];
}
