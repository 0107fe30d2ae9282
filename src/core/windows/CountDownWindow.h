#pragma once
// The small window that counts the seconds down before a take starts.
#include "core/recording/CountDown.h"
#include "core/windows/WindowBase.h"

#include <cstdint>
#include <string>

namespace mvk::qvn::core {

class CountDownWindow : public WindowBase, public CountDown {
public:
    // The label that shows the seconds left.
    static constexpr int32_t SecondsLabel = 101;

    CountDownWindow();

    // Loads the layout on first use, shows `seconds` and shows the window (on top of the
    // others when it is a dialog).
    void start(int32_t seconds) override;
    // Shows `text` in place of the seconds.
    void update(const std::string& text) override;
    void hide() override;

private:
    void showSeconds(const std::string& markup);
};

} // namespace mvk::qvn::core
