#pragma once
// The four dialog classes the server offers: their identifiers, the service each serves, and
// whether a class may be aggregated.

#include <windows.h>

#include <array>

namespace dialogserver {

enum class DialogFamily { Babylon, Multilex, Lingvo, Google };

struct DialogClass {
    DialogFamily family;
    const wchar_t* name;  // "Babylon": the ProgID is "Vocabra.Dialog." + name
    CLSID clsid;
    IID dualInterface;               // the class's own dispatch interface
    const char16_t* propertiesFile;  // in the locale folder
    unsigned informationPage;        // string id of the information page's address
    unsigned registryScript;         // REGISTRY resource id
    bool aggregatable;
};

// In the order the class objects are registered: Babylon, Google, Lingvo, Multilex.
const std::array<DialogClass, 4>& DialogClasses();

// {82EF3088-482D-4640-BD64-4961DC1C5CA6}
constexpr GUID kServerAppId = {0x82EF3088, 0x482D, 0x4640, {0xBD, 0x64, 0x49, 0x61, 0xDC, 0x1C, 0x5C, 0xA6}};
constexpr unsigned kAppIdRegistryScript = 101;

}  // namespace dialogserver
