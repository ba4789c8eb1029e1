#pragma once
// Shared by the registrar's tests: the shipped scripts, the identifiers they write, and short
// ways to write down expected operations.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "dialogserver/registrar/PlanScript.h"

namespace dialogserver::registrar {

bool operator==(const Operation& left, const Operation& right);
// GoogleTest prints operations this way when a comparison fails.
void PrintTo(const Operation& operation, std::ostream* stream);

}  // namespace dialogserver::registrar

namespace registrartest {

using dialogserver::registrar::Operation;
using dialogserver::registrar::Replacements;
using dialogserver::registrar::Root;

inline constexpr char16_t kAppId[] = u"{82EF3088-482D-4640-BD64-4961DC1C5CA6}";
inline constexpr char16_t kTypeLibId[] = u"{4724DC76-E1D0-4FCA-A630-A7E701F68CFD}";

// One class of the dialog server as its script registers it.
struct ShippedClass {
    const char* scriptFile;
    std::u16string service;  // "Babylon": the ProgIDs are Vocabra.Dialog.<service>[.1]
    std::u16string clsid;
    bool writesAppId;
};

const std::vector<ShippedClass>& ShippedClasses();

// The text of a script of resources/VocabraHelper, read as UTF-8.
std::u16string ReadShippedScript(const char* fileName);
std::string ReadShippedScriptBytes(const char* fileName);

// The replacements the tests use: a program path with a space in it, and the AppID.
Replacements TestReplacements();

// The plan of `script`; `status` receives PlanScript's result.
std::vector<Operation> Plan(std::u16string_view script,
                            bool registering,
                            bool perUser,
                            std::int32_t& status,
                            const Replacements& replacements = TestReplacements());

Operation CreateKey(Root root, std::u16string key);
Operation SetString(Root root, std::u16string key, std::u16string name, std::u16string data);
Operation DeleteTree(Root root, std::u16string key);
Operation DeleteValue(Root root, std::u16string key, std::u16string name);

}  // namespace registrartest
