#include "tests/foundation/XmlTestSupport.h"

namespace xmltest {

// libxml2 needs no per-thread set-up.
Apartment::Apartment() = default;
Apartment::~Apartment() = default;

}  // namespace xmltest
