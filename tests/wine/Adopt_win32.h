#pragma once
// A new COM object starts with one reference; its owner takes that one over instead of adding one.

#include <wrl/client.h>

namespace wintest {

template <class Interface>
Microsoft::WRL::ComPtr<Interface> Adopt(Interface* object)
{
    Microsoft::WRL::ComPtr<Interface> owner;
    *owner.GetAddressOf() = object;
    return owner;
}

}  // namespace wintest
