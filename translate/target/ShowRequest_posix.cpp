#include "translate/target/ShowRequest.h"

#include "translate/manager/TranslateException.h"
#include "translate/target/RequestDisplay.h"

namespace translate::target {

void ShowRequest(const std::u16string& url, const Direction& direction, Target& target, const DisplaySettings& display)
{
    auto* requestDisplay = dynamic_cast<RequestDisplay*>(&target);
    if (!requestDisplay)
        throw TranslateException(u"Cannot navigate");
    requestDisplay->ShowUrl(url, direction, display);
}

}  // namespace translate::target
