#include "link/baud_rate.h"

#include <iterator>

const int32_t kBaudRates[15] = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000,
};
static_assert(std::size(kBaudRates) == br256000 + 1);

bool Int2BaudRate(int32_t rate, TBaudrate& index)
{
    for (size_t i = 0; i < std::size(kBaudRates); ++i) {
        if (kBaudRates[i] == rate) {
            index = static_cast<TBaudrate>(i);
            return true;
        }
    }
    return false;
}

int32_t BaudRate2Int(TBaudrate index)
{
    return index < std::size(kBaudRates) ? kBaudRates[index] : 0;
}
