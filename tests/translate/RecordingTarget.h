#pragma once
// A target that records the requests shown on it (native build).

#include <vector>

#include "translate/target/RequestDisplayTarget.h"

namespace testsupport {

class RecordingTarget final : public translate::target::RequestDisplayTarget {
public:
    struct Request {
        std::u16string url;
        translate::Direction direction;
        translate::target::DisplaySettings display;
    };

    void ShowUrl(const std::u16string& url,
                 const translate::Direction& direction,
                 const translate::target::DisplaySettings& display) override
    {
        requests.push_back({url, direction, display});
    }

    std::vector<Request> requests;
};

}  // namespace testsupport
