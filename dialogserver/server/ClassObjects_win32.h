#pragma once
// The class objects of the four dialog classes, registered with COM while the server runs.

#include <windows.h>

#include <vector>

namespace dialogserver {

class ClassObjects {
public:
    // Registers them (Register).
    ClassObjects();
    // Revokes what was registered.
    ~ClassObjects();
    ClassObjects(const ClassObjects&) = delete;
    ClassObjects& operator=(const ClassObjects&) = delete;

    // CoRegisterClassObject for each class not registered yet (local server, multiple use) in the
    // classes' order, stopping at the first failure; Result() tells how it went.
    HRESULT Register();
    HRESULT Result() const { return m_result; }
    // CoRevokeClassObject for each, stopping at the first failure; its result.
    HRESULT Revoke();

private:
    HRESULT m_result = S_OK;
    std::vector<DWORD> m_cookies;
};

}  // namespace dialogserver
