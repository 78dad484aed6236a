#include "control/engine_copy.h"

#include "modem/gsm.h"
#include "platform/com/bstr.h"
#include "platform/com/ole_error.h"

std::unique_ptr<TGSM> MakeEngineCopy(ICelvane* control)
{
    if (!control)
        return nullptr;
    int32_t equipment = 0;
    OleCheck(control->get_Equipment(&equipment));
    Bstr sca;
    OleCheck(control->get_SCA(sca.Out()));
    auto copy = std::make_unique<TGSM>();
    copy->SetEquipment(static_cast<TGSMEquipment>(equipment));
    copy->SetSCA(sca.Narrow());
    return copy;
}
