#pragma once
// Two dialog classes for the tests, built on the dialog server's type library. Every
// ShowDictionaryDialog call they receive is appended to a file beside the program, so that a test
// can see what arrived, in which order, and through which binding, even from another process.

#include <windows.h>

#include <wrl/client.h>

#include <string>
#include <vector>

namespace testdialogs {

// Has IDictionaryDialog beside its dispatch interface.
constexpr CLSID kVtableDialogClsid = {0x146982AC, 0xFFE5, 0x44D5, {0xBA, 0x18, 0xC6, 0x95, 0x91, 0x21, 0xB2, 0x8C}};
// Answers ShowDictionaryDialog only by name, through IDispatch.
constexpr CLSID kDispatchDialogClsid = {0x4300B894, 0x49FF, 0x4E25, {0xB8, 0xEE, 0x52, 0xD6, 0xEF, 0x2A, 0x0F, 0x11}};

// A request whose address contains this text is refused with E_FAIL.
constexpr wchar_t kRefusedMarker[] = L"refuse";
// ... this text: the server answers only after kHangMs (stands for a hung server).
constexpr wchar_t kHangMarker[] = L"hang";
constexpr unsigned kHangMs = 15000;
// ... this text: the server's process ends in the middle of the call (stands for a crash).
constexpr wchar_t kCrashMarker[] = L"crash";
// ... this text: the server answers after kSlowMs (stands for a server that is starting).
constexpr wchar_t kSlowMarker[] = L"slow";
constexpr unsigned kSlowMs = 3000;
// ... this text: the call is answered, but the object's Detach does not return for kHangMs.
constexpr wchar_t kStuckDetachMarker[] = L"stuck";

// One line per call: "<vtable|dispatch> <url> <direction> <browser>", the browser being "empty",
// "window:<handle in hex>" for a browser, or "vt:<type>" for anything else; "<binding> Detach" for
// each Detach.
std::vector<std::string> ReadCalls();
void ClearCalls();

// The class object of one of the two classes.
Microsoft::WRL::ComPtr<IClassFactory> MakeClassObject(const CLSID& clsid);

// Objects alive in this process (server locks included).
long LiveObjects();

}  // namespace testdialogs
