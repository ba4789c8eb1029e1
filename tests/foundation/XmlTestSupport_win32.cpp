#include "tests/foundation/XmlTestSupport.h"

#include <objbase.h>

namespace xmltest {

Apartment::Apartment() : m_entered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

Apartment::~Apartment()
{
    if (m_entered)
        CoUninitialize();
}

}  // namespace xmltest
