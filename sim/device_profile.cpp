#include "sim/device_profile.h"

#include <iterator>

namespace sim {

namespace {

// The fourteen models, in the order of the engine's model table. The PIN flow, +WIND, the
// service centre field, the formats and the rate follow that table; identities and value lists
// are what such devices typically report.
constexpr TDeviceProfile kProfiles[] = {
    {"A1", "SIEMENS", "A1", "REVISION 01.10", TPinFlow::Query, false, true, kFormatPdu, true,
     19200, "(0-2),(0-3),(0,2),(0-2),(0,1)", "^SMSO", false},
    {"M1", "SIEMENS", "M1", "REVISION 02.00", TPinFlow::Query, false, false, kFormatPdu, true,
     19200, "(0-2),(0-3),(0,2),(0-2),(0,1)", nullptr, false},
    {"M20", "SIEMENS", "M20", "REVISION 03.20", TPinFlow::Query, false, true,
     kFormatPdu | kFormatText, false, 19200, "(0-3),(0-3),(0,2,3),(0-2),(0,1)", "^SMSO", false},
    {"GM12", "ERICSSON", "GM12", "R4A/013", TPinFlow::Query, false, true, kFormatPdu, false, 9600,
     "(0-3),(0-3),(0,2),(0,1),(0)", nullptr, false},
    {"Nokia6210", "Nokia Mobile Phones", "Nokia 6210", "V 05.36", TPinFlow::Handset, false, true,
     kFormatPdu | kFormatText, false, 115200, "(0-2),(0-3),(0,2),(0-1),(0)", nullptr, false},
    {"Nokia6650", "Nokia", "Nokia 6650",
     "Nokia 6650\nNHM-1\n(c) Nokia\nV 4.42", TPinFlow::Handset, false, true,
     kFormatPdu | kFormatText, false, 115200, "(0-2),(0-3),(0,2),(0-2),(0,1)", nullptr, true},
    {"Nokia9110", "Nokia Mobile Phones", "Nokia 9110", "V 05.21", TPinFlow::Handset, false, false,
     kFormatText, true, 19200, "(0-2),(0-2),(0),(0),(0)", nullptr, false},
    {"M35", "SIEMENS", "M35", "REVISION 04.11", TPinFlow::Query, false, true,
     kFormatPdu | kFormatText, false, 19200, "(0-3),(0-3),(0,2,3),(0-2),(0,1)", "^SMSO", false},
    {"S25", "SIEMENS", "S25", "REVISION 05.02", TPinFlow::Query, false, true,
     kFormatPdu | kFormatText, false, 19200, "(0-3),(0-3),(0,2,3),(0-2),(0,1)", "^SMSO", false},
    {"T260", "Motorola CE, Copyright 2000", "T260", "R4512", TPinFlow::Handset, false, true,
     kFormatPdu, false, 57600, "(0-2),(0-3),(0-3),(0-2),(0,1)", nullptr, false},
    {"WaveCom", "WAVECOM MODEM", "900P", "540_09gg.WMOCN", TPinFlow::Query, true, false, kFormatPdu,
     false, 9600, "(0-3),(0-3),(0-3),(0-2),(0-1)", nullptr, false},
    {"TC35", "SIEMENS", "TC35", "REVISION 03.02", TPinFlow::Query, false, true,
     kFormatPdu | kFormatText, false, 19200, "(0-3),(0-3),(0,2,3),(0-2),(0,1)", "^SMSO", false},
    {"Fasttrack", "WAVECOM MODEM", "MULTIBAND  900E  1800", "641b09gg.Q2406B", TPinFlow::Query,
     true, true, kFormatPdu | kFormatText, false, 19200, "(0-3),(0-3),(0-3),(0-2),(0-1)", nullptr,
     false},
    {"ZText", "Z-Text", "Z-Text GSM", "1.21", TPinFlow::Query, false, true,
     kFormatPdu | kFormatText, false, 2400, "(0-2),(0-3),(0,2),(0-2),(0,1)", nullptr, false},
};
static_assert(std::size(kProfiles) == 14);

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20))
            return false;
    return true;
}

}  // namespace

const TDeviceProfile* FindProfile(std::string_view shortName)
{
    for (const TDeviceProfile& profile : kProfiles)
        if (SameNameIgnoringCase(profile.shortName, shortName))
            return &profile;
    return nullptr;
}

const TDeviceProfile* Profiles(size_t& count)
{
    count = std::size(kProfiles);
    return kProfiles;
}

}  // namespace sim
