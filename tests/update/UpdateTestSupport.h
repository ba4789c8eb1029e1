#pragma once
// What the update tests share: a profile whose check time and interval are removed afterwards,
// and a server that takes the request and never answers.

#include "foundation/config/Settings.h"
#include "tests/support/IsolatedProfile.h"
#include "tests/support/LocalHttpServer.h"

namespace updatetest {

class UpdateSettingsTest : public testsupport::IsolatedProfileTest {
protected:
    ~UpdateSettingsTest() override
    {
        Settings settings;
        settings.key.DeleteValue(u"lastCheckForUpdateTime");
        settings.key.DeleteValue(u"checkForUpdateInterval");
    }
};

inline testsupport::HttpReply SilentReply()
{
    testsupport::HttpReply reply;
    reply.ending = testsupport::HttpReply::Ending::NeverReply;
    return reply;
}

}  // namespace updatetest
