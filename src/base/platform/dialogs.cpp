#include "base/platform/dialogs.h"

#include <array>

namespace platform::box {

int defaultAnswer(int style)
{
    static constexpr std::array<std::array<int, 3>, 6> answers{{
        {ok, ok, ok},
        {ok, cancel, cancel},
        {abort, retry, ignore},
        {yes, no, cancel},
        {yes, no, no},
        {retry, cancel, cancel},
    }};
    const int buttons = buttonsOf(style) < 6 ? buttonsOf(style) : okOnly;
    const int which = (style & defaultButton3) ? 2 : (style & defaultButton2) ? 1 : 0;
    return answers[static_cast<std::size_t>(buttons)][static_cast<std::size_t>(which)];
}

int closedAnswer(int style)
{
    return buttonsOf(style) == okOnly || buttonsOf(style) > retryCancel ? ok : cancel;
}

} // namespace platform::box
