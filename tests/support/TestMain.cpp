// The tests' entry point: runs a child role when asked to, the GoogleTest suite otherwise.
#include <cstring>
#include <map>
#include <string>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <objbase.h>
#endif

#include "tests/support/TestSupport.h"

namespace testsupport {
namespace {
std::map<std::string, ChildRole>& Roles()
{
    static std::map<std::string, ChildRole> roles;
    return roles;
}
}  // namespace

ChildRoleRegistration::ChildRoleRegistration(const char* name, ChildRole role)
{
    Roles()[name] = role;
}
}  // namespace testsupport

int main(int argc, char** argv)
{
#ifdef _WIN32
    // The programs run in a single-threaded apartment, and so do their tests: the XML documents and
    // browser objects are COM objects.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
#endif
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) {
        auto found = testsupport::Roles().find(argv[2]);
        if (found == testsupport::Roles().end())
            return 125;
        return found->second(std::vector<std::string>(argv + 3, argv + argc));
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
