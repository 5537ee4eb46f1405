#pragma once
// The reality check: a small panel over the middle of the cabinet with how long the session
// has lasted, its games and its net, and two buttons, Keep playing and Stop (save and quit).

#include <functional>
#include <memory>
#include <string>

#include "platform/event_loop.h"
#include "presentation/game_screen.h"
#include "shell/form_panel.h"
#include "shell/overlay_stack.h"

namespace fruvana {

class RealityCheckPanel final : public FormScreen {
  public:
    static std::unique_ptr<RealityCheckPanel> create(GameScreen& screen, EventLoop& loop,
                                                     std::string& error);

    // Shows the panel with the check's words, the focus on Keep playing.
    void show(std::string_view text);
    void hide() override;
    bool visible() const override { return panel_->visible(); }
    Rect area() const override { return panel_->area(); }
    std::optional<ControlHit> controlAt(int x, int y) const override {
        return panel_->controlAt(x, y);
    }
    void move(FormMove move) override;
    void click(int item, bool back) override;
    bool capture(const Input&) override { return false; }
    // The question and the focused button; after a move, the focused button.
    std::string spokenOnOpening() const override;
    std::string spokenAfterMove() const override { return panel_->itemText(panel_->focus()); }

    // The player's answer: true to stop, false to keep playing.
    std::function<void(bool stop)> onAnswer;

    const FormPanel& panel() const { return *panel_; }

  private:
    explicit RealityCheckPanel(EventLoop& loop) : loop_(loop) {}
    void answer(int item);

    EventLoop& loop_;
    std::unique_ptr<FormPanel> panel_;
};

}  // namespace fruvana
