#pragma once
// Where the native build shows a request: there is no browser to drive, so a target that can
// show requests implements this beside Target (the lookup tool prints or opens the address).

#include <string>

#include "translate/manager/SupportedDirections.h"
#include "translate/target/DisplaySettings.h"

namespace translate::target {

class RequestDisplay {
public:
    virtual void ShowUrl(const std::u16string& url, const Direction& direction, const DisplaySettings& display) = 0;

protected:
    ~RequestDisplay() = default;
};

}  // namespace translate::target
