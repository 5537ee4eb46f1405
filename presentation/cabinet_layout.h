#pragma once
// Where everything stands on the cabinet and on the settings panel, as offsets from the
// cabinet's top-left corner, with the sizes of the pictures. The asset generator draws the
// cabinet for these places and the layout puts the pictures there, so both read this table.

#include <array>

namespace fruvana::layout {

struct Offset {
    int x = 0;
    int y = 0;
};

struct Extent {
    int w = 0;
    int h = 0;
};

inline constexpr Extent kCabinet{800, 600};
inline constexpr int kTile = 150;

inline constexpr Extent kReel{122, 122};
inline constexpr Extent kBigButton{63, 63};
inline constexpr Extent kSmallButton{41, 41};
inline constexpr Extent kWideMeter{91, 18};
inline constexpr Extent kBetMeter{26, 18};
inline constexpr Extent kPrizeMeter{52, 18};
inline constexpr Extent kLamp{93, 15};
inline constexpr Extent kIntro{400, 300};
inline constexpr Extent kMessageLine{429, 29};
inline constexpr Extent kIntroLine{545, 25};

inline constexpr Offset kIntroAt{200, 150};
inline constexpr Offset kLeverAt{737, 391};
inline constexpr std::array<Offset, 3> kReelsAt{{{304, 369}, {446, 369}, {588, 369}}};
inline constexpr Offset kHelpAt{80, 285};
inline constexpr Offset kExitAt{180, 285};
inline constexpr Offset kBetDownAt{51, 456};
inline constexpr Offset kBetUpAt{95, 456};
inline constexpr Offset kBetMeterAt{77, 394};
inline constexpr Offset kCreditMeterAt{158, 394};
inline constexpr Offset kWinMeterAt{158, 464};
inline constexpr std::array<Offset, 4> kPrizeMetersAt{
    {{645, 86}, {645, 156}, {645, 226}, {645, 296}}};
inline constexpr std::array<Offset, 3> kLampsAt{{{320, 519}, {462, 519}, {604, 519}}};
inline constexpr Offset kCoinAt{730, 61};
inline constexpr Offset kCollectAt{740, 146};
inline constexpr Offset kSettingsAt{740, 216};
inline constexpr Offset kAutoplayAt{740, 286};
inline constexpr Offset kIntroLineAt{127, 460};
inline constexpr Offset kMessageLineAt{293, 566};

// Hit circles of the round faces, in the picture's own pixels.
inline constexpr int kBigFaceCentre = 26;
inline constexpr int kBigFaceRadius = 26;
inline constexpr int kSmallFaceCentre = 16;
inline constexpr int kSmallFaceRadius = 16;

// The settings panel, relative to its own top-left corner (laid over the cabinet).
inline constexpr Offset kOkAt{368, 508};
inline constexpr Offset kResetAt{468, 489};
inline constexpr Extent kSwitch{20, 20};
inline constexpr std::array<Offset, 5> kSwitchesAt{
    {{84, 150}, {84, 220}, {84, 290}, {84, 360}, {84, 430}}};
inline constexpr Offset kAccountAt{656, 500};
inline constexpr Extent kAccount{101, 21};
inline constexpr Offset kStatisticsAt{352, 141};
inline constexpr Extent kStatistics{406, 312};
// The small button that opens the game recall, under the account.
inline constexpr Offset kRecallButtonAt{560, 536};
// The settings screen's way to the preferences, in its title band.
inline constexpr Offset kPreferencesButtonAt{322, 9};

// The game recall, relative to its own top-left corner (laid over the cabinet like the
// settings panel, its OK button where theirs is): the session line under the title band, then
// the table of the last ten games, a header row and ten rows.
inline constexpr Offset kRecallSessionAt{28, 66};
inline constexpr Extent kRecallSession{744, 24};
inline constexpr Offset kRecallTableAt{28, 104};
inline constexpr Extent kRecallTable{744, 374};
inline constexpr int kRecallRowHeight = 34;
inline constexpr int kRecallSymbolSize = 24;

}  // namespace fruvana::layout
