#include "platform/com/com_object.h"

namespace {

std::atomic<int32_t> liveObjects{0};

} // namespace

int32_t LiveComObjects()
{
    return liveObjects.load();
}

void com_detail::CountObject(int delta)
{
    liveObjects += delta;
}
