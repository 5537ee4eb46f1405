#pragma once
// The game recall: a third form drawn over the cabinet inside the game window, like the
// settings screen, with the session's summary, the last ten games newest first (their lines as
// small pictures of the reel symbols) and an OK button. It only shows: when it may open is the
// engine's to decide, and which form has the focus is the input router's.

#include <array>
#include <memory>
#include <string>

#include "engine/controls.h"
#include "engine/game_record.h"
#include "grid/align_grid.h"
#include "platform/event_loop.h"
#include "presentation/components/text_line.h"
#include "presentation/control_screen.h"
#include "presentation/game_screen.h"
#include "shell/overlay_stack.h"

namespace fruvana {

class RecallScreen final : public OverlayScreen {
  public:
    // Adds the recall's pictures, session line and table on top of the game window's layers,
    // hidden. Null with the reason in error.
    static std::unique_ptr<RecallScreen> create(GameScreen& screen, EventLoop& loop,
                                                std::string& error);
    ~RecallScreen() override;
    RecallScreen(const RecallScreen&) = delete;
    RecallScreen& operator=(const RecallScreen&) = delete;

    // Shows the games (newest first, at most ten) and the session line over the cabinet.
    void show(const GameRecall& games, const std::string& session);
    void hide() override;
    bool visible() const override;
    // The screen's rectangle in window pixels: exactly the cabinet's.
    Rect area() const override;
    std::string spokenOnOpening() const override;
    // Its OK button, while it is shown.
    std::optional<ControlHit> controlAt(int x, int y) const override;
    void sinkButton(Button button) override;
    void liftButton(Button button) override;

    const AlignGrid& table() const { return *table_; }
    const TextLine& sessionLabel() const { return *session_; }

  private:
    RecallScreen(GameScreen& screen, EventLoop& loop);
    bool build(std::string& error);
    void setUpTable();
    void setPartsVisible(bool visible);

    GameScreen& screen_;
    EventLoop& loop_;
    CabinetOrigin origin_;
    PictureLayer* panel_ = nullptr;
    PictureLayer* ok_ = nullptr;
    PictureLayer* symbols_ = nullptr;
    TextLine* session_ = nullptr;
    AlignGrid* table_ = nullptr;  // owned by its layer in the game window
    Layer* tableLayer_ = nullptr;
    // The ten reel symbols, small, for the table's lines.
    std::array<Picture, 10> smallSymbols_;
};

}  // namespace fruvana
