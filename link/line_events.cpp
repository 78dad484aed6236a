#include "link/line_events.h"

#include <iterator>

namespace {

constexpr uint32_t kEventBits[] = {
    kEvBreak,    // evBreak
    kEvCts,      // evCts
    kEvDsr,      // evDsr
    kEvErr,      // evError
    kEvRing,     // evRing
    kEvRlsd,     // evRlsd
    kEvRxChar,   // evRxChar
    kEvRxFlag,   // evRxFlag
    kEvTxEmpty,  // evTxEmpty
};
static_assert(std::size(kEventBits) == evTxEmpty + 1);

}  // namespace

uint32_t PlatformEventMask(TCommEventTypes events)
{
    uint32_t mask = 0;
    for (size_t member = 0; member < std::size(kEventBits); ++member)
        if (events & SetOf(member))
            mask |= kEventBits[member];
    return mask;
}
