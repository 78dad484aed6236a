#pragma once
#include <iterator>
#include <string>

// A GSM network as the picture editor offers it: MCC and MNC run together into five digits.
struct TNetworkOperator {
    int code;
    const char* name;
};

// In ascending order of code.
extern const TNetworkOperator kNetworkOperators[235];

// The list item: the code, a comma and the name in double quotes, e.g. 20205,"PANAFON".
std::string NetworkOperatorItem(const TNetworkOperator& op);
