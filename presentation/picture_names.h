#pragma once
// The names of the game's pictures (as the asset catalogue knows them, from the files in
// assets/game, assets/settings and assets/recall) and of the layers of the game window. Every
// other file names a picture or a layer through these constants, so a name is spelt in one place.

#include <array>
#include <string_view>

namespace fruvana {

// Pictures of the cabinet (assets/game).
namespace pictures {
inline constexpr std::string_view kBackgroundTile = "background_tile";
inline constexpr std::string_view kCabinet = "cabinet";
inline constexpr std::string_view kIntro = "intro";
// The ten symbols one above the other, and the two blurred frames of a reel starting to turn.
inline constexpr std::string_view kReelStrip = "reel_strip";
inline constexpr std::string_view kReelBlur1 = "reel_blur_1";
inline constexpr std::string_view kReelBlur2 = "reel_blur_2";
// A reel before its first symbol is drawn.
inline constexpr std::string_view kReel = "reel";
inline constexpr std::string_view kLever = "lever";
inline constexpr std::string_view kHelpButton = "help_button";
inline constexpr std::string_view kExitButton = "exit_button";
inline constexpr std::string_view kBetDownButton = "bet_down_button";
inline constexpr std::string_view kBetUpButton = "bet_up_button";
inline constexpr std::string_view kCoinButton = "coin_button";
inline constexpr std::string_view kCollectButton = "collect_button";
inline constexpr std::string_view kSettingsButton = "settings_button";
inline constexpr std::string_view kAutoplayButton = "autoplay_button";
// The ten digits 0 to 9 side by side that the meters are drawn from.
inline constexpr std::string_view kDigits = "digits";
inline constexpr std::string_view kLampRed = "lamp_red";
inline constexpr std::string_view kLampGreen = "lamp_green";
inline constexpr std::string_view kLampRedShaped = "lamp_red_shaped";
inline constexpr std::string_view kLampGreenShaped = "lamp_green_shaped";
}  // namespace pictures

// Pictures of the settings screen (assets/settings).
namespace settings_pictures {
inline constexpr std::string_view kPanel = "panel";
inline constexpr std::string_view kOkButton = "ok_button";
inline constexpr std::string_view kResetButton = "reset_button";
inline constexpr std::string_view kSwitchOn = "switch_on";
inline constexpr std::string_view kSwitchOff = "switch_off";
inline constexpr std::string_view kRecallButton = "recall_button";
inline constexpr std::string_view kPreferencesButton = "preferences_button";
}  // namespace settings_pictures

// Pictures of the game recall (assets/recall); its OK button is the settings screen's.
namespace recall_pictures {
// The panel behind the table, in the settings screen's finish.
inline constexpr std::string_view kPanel = "panel";
}  // namespace recall_pictures

// Pictures of the preferences screen and the reality check (assets/preferences).
namespace preferences_pictures {
inline constexpr std::string_view kPanel = "panel";
inline constexpr std::string_view kRealityCheck = "reality_check";
}  // namespace preferences_pictures

// Layers of the game window. A button's or the lever's layer has its picture's name.
namespace layers {
inline constexpr std::string_view kBackground = "background";
inline constexpr std::string_view kCabinet = pictures::kCabinet;
inline constexpr std::string_view kIntro = pictures::kIntro;
inline constexpr std::string_view kLever = pictures::kLever;
inline constexpr std::array<std::string_view, 3> kReels{"reel1", "reel2", "reel3"};
inline constexpr std::array<std::string_view, 3> kLamps{"lamp1", "lamp2", "lamp3"};
// In the order of the Meter values: credit, win, bet, then the four prizes.
inline constexpr std::array<std::string_view, 7> kMeters{"credit", "win",    "bet",   "prize1",
                                                         "prize2", "prize3", "prize4"};
inline constexpr std::string_view kMessageLine = "message_line";
inline constexpr std::string_view kIntroLine = "intro_line";
// The settings screen's and the recall's layers: their pictures' names and the parts below,
// each behind its screen's prefix, so a point finds them apart from the cabinet's.
inline constexpr std::string_view kSettingsPrefix = "settings.";
inline constexpr std::string_view kRecallPrefix = "recall.";
inline constexpr std::string_view kPreferencesPrefix = "preferences.";
inline constexpr std::string_view kRealityCheckPrefix = "reality_check.";
inline constexpr std::array<std::string_view, 5> kSwitches{"switch1", "switch2", "switch3",
                                                           "switch4", "switch5"};
inline constexpr std::string_view kAccountLine = "account";
inline constexpr std::string_view kStatisticsTable = "statistics";
inline constexpr std::string_view kRecallPanel = "panel";
inline constexpr std::string_view kSessionLine = "session";
inline constexpr std::string_view kRecallTable = "table";
inline constexpr std::string_view kRecallSymbols = "symbols";
}  // namespace layers

}  // namespace fruvana
