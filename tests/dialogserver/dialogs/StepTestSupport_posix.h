#pragma once
// What the page step tests share: an information page with every element the dialogs look for,
// and a host that shows it.

#include "tests/dialogserver/dialogs/AnswerPage_posix.h"
#include "tests/dialogserver/dialogs/FakeHost.h"
#include "tests/dialogserver/dialogs/HtmlPage_posix.h"

namespace dialogtest {

inline constexpr char kInformationPage[] = R"(<html><head><title>Dictionary</title></head><body>
<div id="progress">Looking the word up...</div>
<iframe id="translation" style="display: none"></iframe>
<iframe id="tracker"></iframe>
<div id="content" style="display: none"><p>old answer</p></div>
</body></html>)";

// The window.onerror handler every answer page gets.
inline constexpr char16_t kSuppressErrors[] = u"window.onerror = function () { return true; };";

// A host whose browser shows `page` as its top document.
struct HostShowing : FakeHost {
    explicit HostShowing(const HtmlPage& page)
    {
        openInformationPage = [&page] { return page.Document(); };
    }
};

}  // namespace dialogtest
